// One general-ledger row of an account, made by the ledger collection for
// the chosen months, and the list of them: grouped by account in the
// aggregation's order, within an account in the host ledger's order.
#pragma once

#include <cstdint>
#include <deque>

#include "aggregate/ledger_texts.h"

namespace stmtlink {

struct LedgerLine {
  std::int32_t code = 0;              // the account whose ledger this is (stored form)
  std::int32_t entryNo = 0;           // the row's number, printed by the report
  char dateText[31] = {};             // era date text, at most 30 bytes
  char subAccountName[31] = {};       // the account's own sub-account on this row
  char counterAccountName[31] = {};   // counter account, or 諸口 for several
  char counterSubAccountName[31] = {};
  char description[61] = {};          // at most 60 bytes
  std::int64_t amount = 0;            // 1/10,000 yen, signed by the normal side
  std::int64_t balance = 0;           // running balance after this row
};

// A LedgerLine as the list keeps it: the texts as numbers of its table.
struct PackedLedgerLine {
  std::int32_t code = 0;
  std::int32_t entryNo = 0;
  LedgerTexts::Id texts[5] = {}; // date, sub-account, counter, counter sub-account, description
  std::int64_t amount = 0;
  std::int64_t balance = 0;
};

// The ledger lines of a run. A large ledger has millions of lines whose
// texts repeat (dates, account names, descriptions), so a line is kept as
// its numbers and five text numbers of one shared text table: some 48 bytes
// instead of a 216-byte record. A line read back is the record appended,
// byte for byte (each text field as it was, zero-filled after its text).
class LedgerLineList {
 public:
  class const_iterator {
   public:
    LedgerLine operator*() const { return list_->Unpack(*at_); }
    // The account of the line, without unpacking its texts.
    std::int32_t code() const { return at_->code; }
    const_iterator& operator++() {
      ++at_;
      return *this;
    }
    friend bool operator==(const const_iterator& a, const const_iterator& b) {
      return a.at_ == b.at_;
    }

   private:
    friend class LedgerLineList;
    using At = std::deque<PackedLedgerLine>::const_iterator;
    const_iterator(const LedgerLineList* list, At at) : list_(list), at_(at) {}
    const LedgerLineList* list_;
    At at_;
  };

  // Appends a copy of the line; false (and nothing appended) when memory
  // runs out.
  bool Append(const LedgerLine& line);
  void Clear();
  bool empty() const { return lines_.empty(); }
  std::size_t size() const { return lines_.size(); }
  const_iterator begin() const { return const_iterator(this, lines_.begin()); }
  const_iterator end() const { return const_iterator(this, lines_.end()); }

 private:
  LedgerLine Unpack(const PackedLedgerLine& packed) const;

  std::deque<PackedLedgerLine> lines_;
  LedgerTexts texts_;
};

} // namespace stmtlink

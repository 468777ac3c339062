// One general-ledger row of an account, made by the ledger collection for
// the chosen months, and the list of them: grouped by account in the
// aggregation's order, within an account in the host ledger's order.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>
#include <vector>

#include "aggregate/ledger_texts.h"
#include "platform/large_pages.h"

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
  // Lines sit in blocks of 2 MiB, appended to without moving what is
  // there: a ledger of millions of lines is neither copied when it grows
  // nor made of millions of small allocations, and its memory comes in
  // huge pages (large_pages.h).
  static constexpr std::size_t kBlockLines = kHugePageBytes / sizeof(PackedLedgerLine);

 public:
  // The text fields of a line, in PackedLedgerLine::texts.
  enum TextField { kDateText, kSubAccountName, kCounterAccountName, kCounterSubAccountName,
                   kDescription };

  class const_iterator {
   public:
    LedgerLine operator*() const { return list_->Unpack(packed()); }
    // The line as the list keeps it, and one of its texts (the field's text
    // up to its first zero byte), without unpacking the others.
    const PackedLedgerLine& packed() const {
      return list_->blocks_[at_ / kBlockLines][at_ % kBlockLines];
    }
    std::string_view text(TextField field) const {
      return list_->texts_.Text(packed().texts[field]);
    }
    // The account of the line.
    std::int32_t code() const { return packed().code; }
    const_iterator& operator++() {
      ++at_;
      return *this;
    }
    friend bool operator==(const const_iterator& a, const const_iterator& b) {
      return a.at_ == b.at_;
    }

   private:
    friend class LedgerLineList;
    const_iterator(const LedgerLineList* list, std::size_t at) : list_(list), at_(at) {}
    const LedgerLineList* list_;
    std::size_t at_;
  };

  // Appends a copy of the line; false (and nothing appended) when memory
  // runs out.
  bool Append(const LedgerLine& line);
  void Clear();
  bool empty() const { return size_ == 0; }
  std::size_t size() const { return size_; }
  const_iterator begin() const { return const_iterator(this, 0); }
  const_iterator end() const { return const_iterator(this, size_); }

 private:
  LedgerLine Unpack(const PackedLedgerLine& packed) const;

  std::vector<LargeVector<PackedLedgerLine>> blocks_; // each holding at most kBlockLines
  std::size_t size_ = 0;
  LedgerTexts texts_;
};

} // namespace stmtlink

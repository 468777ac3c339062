// The general ledger of one data set over one range, built from the
// journal store (journal_store.h) once and shared by the ledger cursors: the
// program opens the ledger of every account in turn, and going through the
// journal once per account would cost accounts x lines.
//
// A ledger row is a journal line dated within the range whose month
// position the range's conditions accept and that names the account on
// either side: its main code when the account is a main account, the exact
// code when it is a sub-account. The account that takes a consumption tax
// (input_tax for the debit tax, output_tax for the credit tax) also gets the
// lines that carry that tax. Rows come in the store's ledger order. The side
// is 2 when the account stands on the debit side (named there or taking the
// debit tax), 1 on the credit side, 3 on both.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

#include "host/host_records.h"
#include "host/substitute/journal_store.h"

namespace stmtlink {

// The month positions (bit n for position n, 0-31) that a condition chain
// accepts: entries on field 17 with operator 1 (equal), 2 (not equal), 4 (at
// least) or 6 (at most), joined by their link (1 and, 2 or; "and" binds
// first; 0 ends the chain). No chain accepts every position. False for any
// other condition.
bool MonthPositionsOf(const StFINDINFO* find, std::uint32_t* positions);

struct LedgerRange {
  std::int64_t data_no = 0;
  std::int64_t first_date = 0;
  std::int64_t last_date = 0;
  std::uint32_t positions = ~0u; // the month positions accepted (MonthPositionsOf)
  std::int64_t input_tax = 0;  // account code taking the debit tax; 0 none
  std::int64_t output_tax = 0; // account code taking the credit tax; 0 none
  friend bool operator==(const LedgerRange&, const LedgerRange&) = default;
};

// The accounts that take the consumption tax in the first amount set: the
// first main account (in master order) of nature 0x80880810 for the debit
// tax, of 0x80484010 for the credit tax; 0 none.
struct TaxAccountCodes {
  std::int64_t input = 0, output = 0;
};

struct LedgerRowRef {
  std::uint32_t line = 0; // index into the journal store
  std::uint8_t side = 0;
};

class LedgerIndex {
 public:
  // The index of the range over the journal's lines (a pass over the
  // lines dated within it). Keeping it for the ledger cursors that follow
  // is its owner's (substitute_home.h).
  static std::shared_ptr<const LedgerIndex> Build(const LedgerRange& range,
                                                  std::shared_ptr<const JournalStore> journal);
  // The rows of the account with this code, in ledger order.
  std::vector<LedgerRowRef> RowsOf(std::int64_t code) const;

  const JournalStore& journal() const { return *journal_; }

 private:
  using LineList = std::vector<std::uint32_t>;

  LedgerIndex(const LedgerRange& range, std::shared_ptr<const JournalStore> journal)
      : range_(range), journal_(std::move(journal)) {}
  void IndexLines();
  void IndexLine(std::uint32_t index);
  std::uint8_t SideOf(const JournalLine& line, std::int64_t code) const;

  const LedgerRange range_;
  const std::shared_ptr<const JournalStore> journal_;
  std::unordered_map<std::int64_t, LineList> by_main_; // main code -> row lines
  std::unordered_map<std::int64_t, LineList> by_sub_;  // sub-account code -> row lines
  LineList debit_tax_;                                 // row lines with a debit tax
  LineList credit_tax_;                                // row lines with a credit tax
};

} // namespace stmtlink

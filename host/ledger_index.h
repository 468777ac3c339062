// The general ledger of one data set over one date range, read from the
// journal in a single pass and shared by the ledger cursors: the program
// opens the ledger of every account in turn, and reading the journal once
// per account would cost accounts x lines.
//
// A ledger row is a journal line (slot 1-14, dated within the range) that
// names the account on either side: its main code when the account is a
// main account, the exact code when it is a sub-account. The account that
// takes a consumption tax (input_tax for the debit tax, output_tax for the
// credit tax) also gets the lines that carry that tax. Rows come in date,
// entry identifier and line order. The side is 2 when the account stands on
// the debit side (named there or taking the debit tax), 1 on the credit
// side, 3 on both. The counterpart marker is (debit multiplicity << 4) |
// credit multiplicity of the line's entry: 0 no account on that side, 1 one
// code, 2 several. Interim closing adjustments (slot 14) dated on the
// range's last day are rows only for the interim closing.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

#include "host/books_db.h"
#include "host/journal_lines.h"

namespace stmtlink {

struct LedgerRange {
  std::int64_t data_no = 0;
  std::int64_t first_date = 0;
  std::int64_t last_date = 0;
  bool interim = false;
  std::int64_t input_tax = 0;  // account code taking the debit tax; 0 none
  std::int64_t output_tax = 0; // account code taking the credit tax; 0 none
  friend bool operator==(const LedgerRange&, const LedgerRange&) = default;
};

struct LedgerRowRef {
  std::uint32_t line = 0; // index into LedgerIndex::line()
  std::uint8_t side = 0;
};

class LedgerIndex {
 public:
  // The index of the range, from the cache when the books have not changed
  // since it was built. Null with *error set when the books cannot be read.
  static std::shared_ptr<const LedgerIndex> Get(BooksDb& db, const LedgerRange& range,
                                                std::string* error);
  // The rows of the account with this code, in ledger order.
  std::vector<LedgerRowRef> RowsOf(std::int64_t code) const;

  const JournalLine& line(std::uint32_t index) const { return lines_[index]; }
  std::uint8_t marker(std::uint32_t index) const { return markers_[index]; }

 private:
  using LineList = std::vector<std::uint32_t>;

  explicit LedgerIndex(const LedgerRange& range) : range_(range) {}
  bool Read(BooksDb& db, std::string* error);
  void MarkEntry(std::size_t begin, std::size_t end);
  void IndexLine(std::uint32_t index);
  std::uint8_t SideOf(const JournalLine& line, std::int64_t code) const;

  const LedgerRange range_;
  std::vector<JournalLine> lines_; // every line of the range, in ledger order
  std::vector<std::uint8_t> markers_;
  std::unordered_map<std::int64_t, LineList> by_main_; // main code -> row lines
  std::unordered_map<std::int64_t, LineList> by_sub_;  // sub-account code -> row lines
  LineList debit_tax_;                                 // row lines with a debit tax
  LineList credit_tax_;                                // row lines with a credit tax
};

} // namespace stmtlink

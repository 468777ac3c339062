// The journal as the import hands it on: whole entries, each a run of lines
// with one entry id, checked and written by an EntrySink. The readers of
// the journal formats (journal_csv, hledger_csv) turn records into entries.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "tools/books/account_finder.h"
#include "tools/books/import_problems.h"

namespace stmtlink {

constexpr int kOpeningSlot = 0; // a journal line carried into the year
constexpr int kYearEndSlot = 13;
constexpr int kInterimSlot = 14;

struct JournalRow {
  std::int64_t entry_no = 0;
  std::int64_t date = 0;
  int slot = 0; // 0 opening, 1-12 month position, 13 year-end, 14 interim
  std::int64_t debit_code = 0, debit_amount = 0, debit_tax = 0;
  std::int64_t credit_code = 0, credit_amount = 0, credit_tax = 0;
  std::string description;
  long source_line = 0; // record line in the file, for messages
  // An amount of the line could not be read (already a problem): the
  // entry's balance is not checked, since its sums mean nothing.
  bool unreadable = false;
};

struct FiscalPeriod {
  std::int64_t start = 0, end = 0; // yyyymmdd, both inside the period
  bool Contains(std::int64_t date) const { return date >= start && date <= end; }
  // The month position of a date inside the period: 1 the first month.
  int MonthPosition(std::int64_t date) const;
  // Twelve months from the first day of date's month.
  static FiscalPeriod YearFrom(std::int64_t date);
};

class EntrySink {
 public:
  virtual ~EntrySink() = default;
  // The period the dates are checked against; readers may ask it to be set
  // from the first line when no period was given.
  virtual const FiscalPeriod& period() const = 0;
  virtual void SetPeriodFrom(std::int64_t first_date) = 0;
  // One whole entry (lines in order). entry_id 0: the next free one. The
  // sink checks the balance and the dates, adding problems with file and
  // lines, and writes a good entry unless problems were seen before.
  virtual void Entry(const std::string& file, std::int64_t entry_id,
                     std::vector<JournalRow>& lines) = 0;
};

} // namespace stmtlink

// Reading the books' journal for the ledger and journal cursors: the lines
// of one data set in date, entry and line order, and the fields that the
// ledger row and the journal line records share.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "host/books_db.h"
#include "host/ledger_records.h"

namespace stmtlink {

constexpr std::int64_t kAccountCodeUnit = 10000; // code = main x 10,000 + sub
constexpr std::uint32_t kInputTaxNature = 0x80880810;  // takes the debit tax (first set)
constexpr std::uint32_t kOutputTaxNature = 0x80484010; // takes the credit tax (first set)

// One row of journal_line as the cursors use it. Description is CP932.
struct JournalLine {
  std::int64_t entry_id = 0;
  std::int64_t entry_no = 0;
  std::int64_t line_no = 0;
  std::int64_t date = 0;
  std::int64_t slot = 0;
  std::int64_t debit_code = 0;
  std::int64_t debit_amount = 0;
  std::int64_t debit_tax = 0;
  std::int64_t credit_code = 0;
  std::int64_t credit_amount = 0;
  std::int64_t credit_tax = 0;
  std::string description;
};

// The columns that ReadJournalLine expects, in its order.
extern const char kJournalLineColumns[];
JournalLine ReadJournalLine(const BooksStatement& row);

// The data_no of the data set whose data ID is data_id (CP932, as the
// program passes it): 0, or the host's code for no such data set
// (kHostErrorNoDataSet) or unreadable books (kHostErrorBooks).
long FindDataNo(BooksDb& db, const std::string& data_id, std::int64_t* data_no, std::string* error);

// The value that a condition chain asks of one field with operator 1
// (equal): nullopt for no chain (everything), false in *ok for a condition
// the substitute does not understand. Two conditions that ask for different
// values ask for none: -1, which no code or identifier of the books takes.
std::optional<std::int64_t> WantedValue(const StFINDINFO* find, std::int32_t field, bool* ok);

// The record fields that come straight from the line (the description cut
// to 60 bytes without splitting a double-byte character); numbers that do
// not fit 32 bits are clamped.
void FillJournalFields(const JournalLine& line, StMOTOCHOINFO* out);
void FillJournalFields(const JournalLine& line, StSWKTINFO* out);

} // namespace stmtlink

// The journal as a CSV file, one line of an entry a record:
//   entry          the entry's number; records in a row with the same number
//                  (or an empty one) are the lines of one compound entry
//   id             optional: the host's entry id (the export writes it)
//   date           2025-04-01, 2025/4/1 or 20250401, inside the period
//   slot           empty: the month of the date; year-end, interim, opening
//                  (a balance carried into the year), or 1 to 14 as stored
//   debit, credit  the account of each side: code (1120, 1120-1), name
//                  (普通預金) or main/sub names; empty: none on that side
//   debit_amount, debit_tax, credit_amount, credit_tax
//                  yen, without and of consumption tax
//   description    the entry's text (Shift_JIS-writable)
// An entry balances when its debits, tax included, equal its credits.
#pragma once

#include <ostream>
#include <string>

#include "host/books_db.h"
#include "tools/books/account_finder.h"
#include "tools/books/csv_file.h"
#include "tools/books/journal_entries.h"

namespace stmtlink {

// Reads every record into entries for the sink; problems as they come.
void ReadJournalCsv(CsvFile& file, const AccountFinder& accounts, EntrySink* sink,
                    ImportProblems* problems);

// True when the header record names the columns of this format.
bool LooksLikeJournalCsv(const CsvRecord& header);

// Writes the journal of data set data_no in the order of the books (entry
// id, line) as the CSV above; false with *error set on a read failure.
bool WriteJournalCsv(BooksDb& db, std::int64_t data_no, const FiscalPeriod& period,
                     std::ostream& out, std::string* error);

} // namespace stmtlink

// The rules that books of sound types must still keep before any figure is
// taken from them, checked when they are opened (after the types,
// books_check.h). Each one broken would give a report that looks complete
// and is wrong: a journal line that no statement counts, a ledger that no
// longer adds up to the balance sheet, a balance sheet that does not
// balance.
//
// journal_line, read once in one scan:
//   - every fixed column of its type, as books_check.h holds every table:
//     an integer column an integer (or a real with no fraction, which
//     reads back as the same integer), a text column anything but a blob,
//     never NULL;
//   - date: a real calendar date within its data set's period, and in an
//     era of table era (the ledger writes its dates in eras);
//   - slot: 1 to 14; an ordinary line (1-12) in the month position of its
//     date; a year-end adjustment (13) in the period's last month; an
//     interim adjustment (14) only in books with an interim closing, and in
//     the sixth month;
//   - debit_code and credit_code, when not 0, name an account of the data
//     set (its main account is in the chart);
//   - every entry (data set, entry_id): its debits equal its credits, tax
//     included.
// opening_balance: every code names an account of its data set.
// account: no code twice in a data set.
// Months follow the host's accounting months: a period that ends before
// the end of a calendar month closes each month on that day.
#pragma once

#include <string>

struct sqlite3;

namespace stmtlink {

// True when the books keep every rule above; otherwise false with *cause
// set to the first fault, with its table, row and column ("cannot be used:
// table journal_line, row 17, column date: 20250231 is not a date"), or
// with the SQLite error when the books could not be read.
bool CheckBooksConsistency(sqlite3* db, std::string* cause);

} // namespace stmtlink

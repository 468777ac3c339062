// The check of the books when they are opened. People load their own books
// into the fixed schema (host/substitute/books_schema.h) and tools outside the program
// write them, so the program never trusts a books file: before anything is
// read from it, the file must be a readable SQLite database that is not
// locked past a short wait, with every fixed table and column, and every
// value of a fixed column of its type (integer or text, never NULL), and
// keeping the rules of books_consistency.h (dates, month positions, entries
// that balance, account codes once).
// Otherwise the run is refused once, with a sentence that names the file and
// the cause, instead of success with wrong figures or a flood of host errors.
#pragma once

#include <string>

#include "host/substitute/books_db.h"

namespace stmtlink {

// True when the books file at path passes every check above; otherwise
// false with *error set, e.g. "the books /h/books.db are damaged: table
// journal_line, row 17, column debit_amount holds text where an integer
// belongs".
// `journal_lines` false leaves the rules of the journal's lines out.
bool CheckBooksFile(const std::string& path, std::string* error,
                    int busy_timeout_ms = BooksDb::kDefaultBusyTimeoutMs, bool journal_lines = true);

// The two checks below are what the substitute's extras answer the
// program with (substitute_extras.h).
//
// CheckBooksFile on <host home>/books.db, all but the rules of the
// journal's lines: those are checked by the run's one reading of the
// journal (CheckCurrentJournal), once the run knows what it reads.
bool CheckCurrentBooksFile(std::string* error);

// Reads the journal of the current books once (journal_pass.h): false
// with *error worded as CheckBooksFile words it when a line breaks a rule
// or the books cannot be read. The reading is kept for the host calls
// that follow (the account sums and, with keep_ledger_lines, the ledger
// and journal cursors of the data set whose ID is data_id, CP932).
bool CheckCurrentJournal(const std::string& data_id, bool keep_ledger_lines, std::string* error);

} // namespace stmtlink

// The books database (<home>/books.db): the host's data format. People load
// their own books into it and tools outside the program read it, so the
// tables and columns below are fixed: more may be added, none renamed.
// Texts are UTF-8, amounts integers in 1/10,000 yen, dates yyyymmdd.
#pragma once

#include <string>

struct sqlite3;

namespace stmtlink {

// The statements that create every table and index (IF NOT EXISTS).
const char* BooksSchemaSql();
// Runs BooksSchemaSql on db; false with *error set on failure.
bool CreateBooksSchema(sqlite3* db, std::string* error);

} // namespace stmtlink

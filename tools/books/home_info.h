// A readable account of a host home: its data sets and the user's selection,
// in UTF-8, for the books tool's "info" command.
#pragma once

#include <ostream>
#include <string>

namespace stmtlink {

// false with *error set when the home has no readable books.db.
bool WriteHomeInfo(const std::string& home, std::ostream& out, std::string* error);

} // namespace stmtlink

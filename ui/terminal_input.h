// Reading the user's answers on a terminal.
#pragma once

#include <cstdio>
#include <string>

namespace stmtlink {

// One line of input without its line feed; false at the end of input with
// nothing read.
bool ReadInputLine(std::FILE* in, std::string* line);

} // namespace stmtlink

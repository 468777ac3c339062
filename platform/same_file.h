// Whether two Linux paths name one file, for refusing to write over a file
// the program reads. Symbolic links are followed and hard links are seen
// through; a file that does not exist yet is the same as another path when
// both resolve to the same folder and name.
#pragma once

#include <string>

namespace stmtlink {

bool IsSameFile(const std::string& linux_a, const std::string& linux_b);

} // namespace stmtlink

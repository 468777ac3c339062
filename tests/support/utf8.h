// Narrow literals are CP932 in this tree; a test that needs UTF-8 text (for
// the books, host.ini or a Linux file name) writes it as u8"..." and takes it
// through U8.
#pragma once

#include <string>

namespace stmtlink::testing {

inline std::string U8(const char8_t* text) { return std::string(reinterpret_cast<const char*>(text)); }

} // namespace stmtlink::testing

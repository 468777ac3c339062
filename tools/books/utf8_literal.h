#pragma once
// The books tool's texts are UTF-8, as the books store them: u8"..."
// literals stay UTF-8 whatever the execution character set (CP932 here),
// read as char text.

namespace stmtlink {

inline const char* U(const char8_t* text) { return reinterpret_cast<const char*>(text); }

} // namespace stmtlink

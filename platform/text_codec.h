// Conversion between the program's text (code page 932 bytes) and UTF-8,
// which appears only at the edges: the terminal, the books database, Linux
// file names and the Qt front end. Uses iconv's "CP932" (not "SHIFT_JIS",
// which maps 0x5C and 0x7E to the yen sign and overline).
#pragma once

#include <string>
#include <string_view>

namespace stmtlink {

// Strict conversions: false (and *out untouched) when the input holds a
// sequence that has no counterpart in the other encoding.
bool Cp932ToUtf8(std::string_view cp932, std::string* out);
bool Utf8ToCp932(std::string_view utf8, std::string* out);

// Lenient conversions for display and logging: an unconvertible byte or
// character becomes '?'.
std::string ToUtf8(std::string_view cp932);
std::string ToCp932(std::string_view utf8);

} // namespace stmtlink

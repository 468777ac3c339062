// Texts of the report's statement lines: labels cleaned of brackets, spaces
// and the manufacturing marker, and amounts in whole yen.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace stmtlink {

// The label with every occurrence of " ", "　", "【", "】", "《", "》", "（",
// "）", "［", "］" and "(製)" removed, tried in that order at each position.
// The scan goes character by character: a double-byte character is one
// unit, so its trail byte never starts a match (the byte scan this replaces
// could take the trail byte 0x81 and a following "@" for a full-width
// space). Reads at most the text before the first zero byte.
std::string CleanLabel(std::string_view text);
// The same, appended to *out (no allocation once *out has room).
void AppendCleanLabel(std::string* out, std::string_view text);

// Whether `text` contains `part` starting at a character boundary.
bool ContainsText(std::string_view text, std::string_view part);

// The amount in 1/10,000 yen as whole yen, truncated toward zero, in
// decimal: a minus sign when negative, no separators, no leading zeros.
std::string AmountText(std::int64_t value);
// The same for a whole number of yen.
std::string DecimalText(std::int64_t value);

// An AccountLine name field (fixed bytes, zero-terminated when shorter) as
// text; never reads past the field.
template <std::size_t N>
std::string_view FieldText(const char (&field)[N]) {
  std::size_t n = 0;
  while (n < N && field[n] != '\0') ++n;
  return std::string_view(field, n);
}

} // namespace stmtlink

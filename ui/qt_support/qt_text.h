// The program's texts (CP932 bytes) as Qt shows them, and back.
#pragma once

#include <QString>

#include <string>
#include <string_view>

namespace stmtlink {

// Lenient both ways: what has no counterpart becomes '?', so a text never
// gets lost and a typed character that CP932 cannot hold is refused by the
// program's own checks (a '?' is not allowed in a path).
QString FromCp932(std::string_view cp932);
std::string ToCp932Text(const QString& text);

// The character index in the Qt string of a byte offset into the CP932 text
// (a double-byte character is one character in both).
int CharIndexOfByte(std::string_view cp932, int byte_offset);

// The mnemonic letter of a label ("月度(&S)" -> 'S'); 0 when none.
QChar MnemonicOf(const QString& text);

} // namespace stmtlink

#pragma once
// The two kinds of character that Windows path parsing looks at byte by
// byte: drive letters and the separators "\" and "/". Both are ASCII, so a
// byte that is one of them is never part of a double-byte character's lead.

namespace stmtlink {

inline bool IsAsciiLetter(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }
inline bool IsSeparator(char c) { return c == '\\' || c == '/'; }

} // namespace stmtlink

// Splitting an output path into drive, folder and file parts. Paths are
// CP932; every search treats a double-byte character as one unit, so the
// trail byte 0x5C of "表" or "ソ" is never taken for a backslash.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace stmtlink {

// Paths are at most 260 bytes; working buffers hold 261.
constexpr std::size_t kPathBufferSize = 261;

// The text up to and including the last backslash; empty when there is none.
std::string FolderPart(std::string_view path);
// The text after the last backslash; the whole text when there is none.
std::string FilePart(std::string_view path);
// The text up to and including the last colon; empty when there is none.
std::string DrivePart(std::string_view path);
// The text after the last colon; the whole text when there is none.
std::string AfterDrivePart(std::string_view path);

// True when the byte at index is the first or second byte of a double-byte
// character of s (a lead byte followed by a trail byte).
bool IsInDoubleByteChar(std::string_view s, std::size_t index);

// Makes *s end in a backslash, as a buffer of buffer_size bytes (terminator
// included) allows: false when *s is empty or there is no room. A string
// ending in a double-byte character always gets one, so "表" (95 5C) is
// never mistaken for a string that already ends in a backslash.
bool AppendSeparator(std::string* s, std::size_t buffer_size);

// Index of the last / first single-byte character c of s; npos when none.
std::size_t FindLastChar(std::string_view s, char c);
std::size_t FindFirstChar(std::string_view s, char c, std::size_t from = 0);
// Index of the first backslash that is directly followed by another
// backslash, at or after `from`; npos when none.
std::size_t FindDoubledBackslash(std::string_view s, std::size_t from = 0);

} // namespace stmtlink

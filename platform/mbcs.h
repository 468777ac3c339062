// The C runtime's multibyte (code page 932) helpers. Lead bytes are
// 0x81-0x9F and 0xE0-0xFC, trail bytes 0x40-0x7E and 0x80-0xFC. Every scan
// treats a double-byte character as one unit, so a trail byte 0x5C (as in
// "表" 95 5C or "ソ" 83 5C) is never taken for a backslash.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

// Nonzero when the low byte of c can start / end a double-byte character
// (the higher bits are ignored: 0x181 is a lead byte).
int _ismbblead(unsigned int c);
int _ismbbtrail(unsigned int c);
// -1 when `current` is the lead / trail byte of a double-byte character of
// the string starting at `start`, else 0 (the runtime's convention). As the
// runtime does, the walk from `start` pairs every lead byte with the byte
// after it whatever that byte is: a lead byte followed by an invalid trail
// byte or by the terminator still gives -1 for `current` at the lead byte
// (_ismbslead) and for `current` at the byte after it, the terminator
// included (_ismbstrail). `current` past the terminator, or before `start`,
// gives 0. Unlike these two, the scans below pair a lead byte only with a
// valid trail byte.
int _ismbslead(const unsigned char* start, const unsigned char* current);
int _ismbstrail(const unsigned char* start, const unsigned char* current);
// Last / first occurrence of character c (single- or double-byte) as a whole
// character; null when there is none.
const unsigned char* _mbsrchr(const unsigned char* s, unsigned int c);
const unsigned char* _mbschr(const unsigned char* s, unsigned int c);
unsigned char* _mbsrchr(unsigned char* s, unsigned int c);
unsigned char* _mbschr(unsigned char* s, unsigned int c);

namespace stmtlink {

// Byte length of the longest prefix of s that is at most max_bytes long and
// does not end inside a double-byte character.
std::size_t MbcsFitLength(std::string_view s, std::size_t max_bytes);
// s cut to at most max_bytes bytes without splitting a double-byte character.
std::string MbcsTruncate(std::string_view s, std::size_t max_bytes);
// Copies src into dst[dst_size] (always terminated when dst_size > 0), cut by
// MbcsTruncate to dst_size - 1 bytes. Returns the number of bytes copied.
std::size_t MbcsCopy(char* dst, std::size_t dst_size, std::string_view src);
// True when the last character of s is a double-byte character.
bool MbcsEndsWithDoubleByte(std::string_view s);
// True when s ends in a backslash that is a character of its own (not the
// trail byte of "表" or "ソ").
bool MbcsEndsWithBackslash(std::string_view s);

// Length (1 or 2) of the character starting at s[i]. A lead byte counts as
// a double-byte character only when a trail byte follows; a stray lead byte
// stands alone, so it can never swallow the separator after it.
std::size_t MbcsCharLength(std::string_view s, std::size_t i);
// Index of the first single-byte character c at or after `from` (which need
// not be a character start); npos when there is none.
std::size_t MbcsFind(std::string_view s, char c, std::size_t from = 0);
// Equal when single-byte characters match without regard to ASCII case and
// double-byte characters match exactly (a trail byte 0x61 is not an "a").
bool MbcsEqualsIgnoreAsciiCase(std::string_view a, std::string_view b);

} // namespace stmtlink

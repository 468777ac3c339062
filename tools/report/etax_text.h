// The characters an e-Tax file may hold. e-Tax reads Shift_JIS and keeps
// only JIS X 0208 (and half-width ASCII): a character of Windows' own
// additions to Shift_JIS (the NEC row 13 with ①, Ⅰ, ㈱; the IBM extensions
// with 髙 and 﨑; the user area) or a half-width katakana is turned into
// 「?」 without a word, so a name holding one is refused before anything is
// written, naming the character and where it stands.
#pragma once

#include <string>
#include <string_view>

namespace stmtlink::report {

struct TextFault {
  std::string character;  // UTF-8, or the bytes in hexadecimal when they name no character
  unsigned code_point = 0;
  std::string kind;       // Japanese: IBM 拡張文字, NEC 特殊文字 …
  std::size_t position = 0; // the character's place in its text, from 1
};

// A name as a field: the half-width comma (a field separator) becomes 「，」
// and the double quote (e-Tax files take no quotes) 「”」.
std::string EtaxFieldText(std::string_view utf8);

// utf8 in code page 932 bytes when every character is JIS X 0208 or
// printable ASCII; false with *fault otherwise.
bool EtaxEncode(std::string_view utf8, std::string* cp932, TextFault* fault);

// The same rule on bytes read from a file: false with *fault at the first
// character outside it (or a byte sequence that is no character).
bool EtaxBytesAllowed(std::string_view cp932, TextFault* fault);

// The refusal in words: 「髙」（U+9AD9、IBM 拡張文字）… at where, the fault's
// place in text.
std::string TextFaultMessage(const TextFault& fault, const std::string& where, const std::string& text);

} // namespace stmtlink::report

#include "tools/report/quoted_text.h"

namespace stmtlink::report {

std::string Quoted(std::string_view text, std::size_t max_characters) {
  std::string out;
  std::size_t characters = 0;
  for (std::size_t i = 0; i < text.size();) {
    const unsigned char lead = static_cast<unsigned char>(text[i]);
    // The length of the character from its first byte; a stray
    // continuation byte counts as one.
    std::size_t length = lead < 0xC0 ? 1 : lead < 0xE0 ? 2 : lead < 0xF0 ? 3 : 4;
    if (i + length > text.size()) length = text.size() - i;
    if (characters == max_characters) return out + "…";
    if (lead < 0x20 || lead == 0x7F) out += ' ';
    else out.append(text.substr(i, length));
    ++characters;
    i += length;
  }
  return out;
}

} // namespace stmtlink::report

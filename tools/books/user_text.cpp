#include "tools/books/user_text.h"

#include "tools/books/books_language.h"

#include <cstdio>

#include "tools/books/book_values.h"

namespace stmtlink {
namespace {

bool IsControl(unsigned char c) { return c < 0x20 || c == 0x7F; }

std::string CodeOf(unsigned char c) {
  char text[8];
  std::snprintf(text, sizeof text, "U+%04X", c);
  return text;
}

std::string ControlWhy(unsigned char c) {
  const std::string name = c == '\t'   ? Say(" (a tab)", u8" (タブ)")
                           : c == '\n' ? Say(" (a line break)", u8" (改行)")
                           : c == '\r' ? Say(" (a carriage return)", u8" (復帰)")
                                       : std::string();
  return Say("holds a control character, which the report cannot carry: {0}{1}",
             u8"決算書に書けない制御文字を含みます: {0}{1}", {CodeOf(c), name});
}

} // namespace

std::string TextForMessage(std::string_view utf8) {
  std::string out;
  std::size_t characters = 0;
  for (std::size_t i = 0; i < utf8.size(); ++i) {
    const unsigned char c = static_cast<unsigned char>(utf8[i]);
    const bool starts_character = (c & 0xC0) != 0x80;
    if (starts_character && characters++ == kMessageTextLength) {
      out += "\xE2\x80\xA6"; // …
      break;
    }
    if (IsControl(c))
      out += "<" + CodeOf(c) + ">";
    else
      out += static_cast<char>(c);
  }
  return out;
}

bool FitsReportText(std::string_view utf8, std::string* why) {
  for (char c : utf8)
    if (IsControl(static_cast<unsigned char>(c))) {
      *why = ControlWhy(static_cast<unsigned char>(c));
      return false;
    }
  std::string character;
  if (FitsShiftJis(utf8, &character)) return true;
  *why = Say("cannot be written in Shift_JIS: {0}", u8"Shift_JIS で書けません: {0}", {character});
  return false;
}

bool FitsNotesText(std::string_view utf8, std::string* why) {
  for (std::size_t i = 0; i < utf8.size(); ++i) {
    const unsigned char c = static_cast<unsigned char>(utf8[i]);
    if (c == '\r' && i + 1 < utf8.size() && utf8[i + 1] == '\n') {
      ++i; // a line of the notes ends
      continue;
    }
    if (c == '\r' || c == '\n') {
      *why = Say("holds a lone line break ({0}), which the report cannot carry; the notes' lines "
                 "end with CR LF",
                 u8"決算書に書けない単独の改行 ({0}) を含みます。注記の行は CR LF で終わります",
                 {CodeOf(c)});
      return false;
    }
    if (IsControl(c)) {
      *why = ControlWhy(c);
      return false;
    }
  }
  std::string character;
  if (FitsShiftJis(utf8, &character)) return true;
  *why = Say("cannot be written in Shift_JIS: {0}", u8"Shift_JIS で書けません: {0}", {character});
  return false;
}

DescriptionCleaning CleanDescription(std::string* text, std::string* why) {
  std::string& t = *text;
  std::size_t at = 0;
  while (at < t.size() && !IsControl(static_cast<unsigned char>(t[at]))) ++at;
  if (at == t.size()) return DescriptionCleaning::kUnchanged;
  // From the first control character on, the text is rewritten in place.
  std::size_t out = at;
  for (std::size_t i = at; i < t.size();) {
    const unsigned char c = static_cast<unsigned char>(t[i]);
    if (!IsControl(c)) {
      t[out++] = t[i++];
      continue;
    }
    if (c != '\r' && c != '\n' && c != '\t') {
      *why = ControlWhy(c);
      return DescriptionCleaning::kRefused;
    }
    while (i < t.size() && (t[i] == '\r' || t[i] == '\n' || t[i] == '\t')) ++i;
    t[out++] = ' ';
  }
  t.resize(out);
  return DescriptionCleaning::kJoined;
}

void ChangedLines::Add(long line) {
  if (shown_.size() < kMaxShown) shown_.push_back(line);
  ++count_;
}

std::string ChangedLines::Text() const {
  std::string text;
  for (std::size_t i = 0; i < shown_.size(); ++i)
    text += (i == 0 ? "" : i + 1 == shown_.size() && count_ == shown_.size() ? Say(" and ", u8"、") : ", ") +
            std::to_string(shown_[i]);
  if (count_ > shown_.size())
    text += Say(" and {0} more", u8" ほか {0} 行", {std::to_string(count_ - shown_.size())});
  return text;
}

std::string_view WithoutOuterSpaces(std::string_view text) {
  static constexpr std::string_view kWide = "\xE3\x80\x80"; // U+3000
  for (;;) {
    if (!text.empty() && text.front() == ' ')
      text.remove_prefix(1);
    else if (!text.empty() && text.back() == ' ')
      text.remove_suffix(1);
    else if (text.substr(0, kWide.size()) == kWide)
      text.remove_prefix(kWide.size());
    else if (text.size() >= kWide.size() && text.substr(text.size() - kWide.size()) == kWide)
      text.remove_suffix(kWide.size());
    else
      return text;
  }
}

} // namespace stmtlink

#include "ui/message_text.h"

#include "platform/text_codec.h"

namespace stmtlink {

const char* IconWord(UINT flags) {
  switch (flags & MB_ICONMASK) {
    case MB_ICONHAND:
      return "error";
    case MB_ICONQUESTION:
      return "question";
    case MB_ICONEXCLAMATION:
      return "exclamation";
    case MB_ICONASTERISK:
      return "information";
    default:
      return "";
  }
}

std::string FormatMessageBox(const std::string& text_cp932, const std::string& caption_cp932,
                             UINT flags) {
  std::string out = ToUtf8(caption_cp932);
  const char* icon = IconWord(flags);
  if (*icon != '\0') out += std::string(" [") + icon + "]";
  out += ' ';
  for (char c : ToUtf8(text_cp932)) {
    out.push_back(c);
    if (c == '\n') out += "  ";
  }
  out.push_back('\n');
  return out;
}

} // namespace stmtlink

#include "ui/console_front_end.h"

#include "platform/text_codec.h"
#include "ui/message_text.h"
#include "ui/terminal_input.h"

namespace stmtlink {

int ConsoleFrontEnd::ShowMessageBox(HWND, const std::string& text, const std::string& caption,
                                    UINT flags) {
  std::fputs(FormatMessageBox(text, caption, flags).c_str(), out_);
  TerminalEntry entry;
  UINT type = flags & MB_TYPEMASK;
  if (type == MB_YESNO || type == MB_OKCANCEL) {
    // The program's texts are in the code page; the terminal reads UTF-8.
    const std::string prompt =
        ToUtf8(type == MB_YESNO ? "  はい=y／いいえ=n: " : "  OK=o／キャンセル=c: ");
    for (;;) {
      std::fputs(prompt.c_str(), out_);
      std::fflush(out_);
      const bool read = ReadTerminalEntry(in_, out_, &entry);
      if (!read || entry.key == TerminalKey::kEscape) {
        if (!read) std::fputs("\n", out_);
        return type == MB_YESNO ? IDNO : IDCANCEL;
      }
      const std::string& line = entry.line;
      char c = line.empty() ? '\0' : static_cast<char>(line[0] | 0x20);
      if (type == MB_YESNO && c == 'y') return IDYES;
      if (type == MB_YESNO && c == 'n') return IDNO;
      if (type == MB_OKCANCEL && c == 'o') return IDOK;
      if (type == MB_OKCANCEL && c == 'c') return IDCANCEL;
    }
  }
  std::fputs(ToUtf8("  [Enter] で続行 ").c_str(), out_);
  std::fflush(out_);
  ReadTerminalEntry(in_, out_, &entry);
  return IDOK;
}

} // namespace stmtlink

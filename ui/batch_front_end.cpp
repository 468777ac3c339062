#include "ui/batch_front_end.h"

#include "ui/message_text.h"

namespace stmtlink {

int BatchFrontEnd::ShowMessageBox(HWND, const std::string& text, const std::string& caption,
                                  UINT flags) {
  std::string printed = FormatMessageBox(text, caption, flags);
  int answer = IDOK;
  if ((flags & MB_TYPEMASK) == MB_YESNO) {
    answer = answer_yes_ ? IDYES : IDNO;
    printed += answer_yes_ ? "  -> yes\n" : "  -> no\n";
  } else if ((flags & MB_TYPEMASK) == MB_OKCANCEL) {
    answer = answer_yes_ ? IDOK : IDCANCEL;
  }
  std::fputs(printed.c_str(), out_);
  std::fflush(out_);
  return answer;
}

} // namespace stmtlink

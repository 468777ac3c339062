#include "ui/batch_front_end.h"

#include <unistd.h>

#include "ui/message_text.h"

namespace stmtlink {

BatchFrontEnd::BatchFrontEnd(bool answer_yes, std::FILE* out)
    : answer_yes_(answer_yes), out_(out), dialogs_(out) {
  if (isatty(fileno(out))) progress_window_ = std::make_unique<ConsoleProgressWindow>(out);
}

ProgressWindowPort* BatchFrontEnd::ProgressWindow() {
  return progress_window_ ? progress_window_.get() : FrontEndPort::ProgressWindow();
}

int BatchFrontEnd::ShowMessageBox(HWND, const std::string& text, const std::string& caption,
                                  UINT flags) {
  std::string printed = FormatMessageBox(text, caption, flags);
  int answer = IDOK;
  if ((flags & MB_TYPEMASK) == MB_YESNO) {
    answer = answer_yes_ ? IDYES : IDNO;
    printed += answer_yes_ ? "  -> yes\n" : "  -> no\n";
    if (!answer_yes_) dialogs_.NoteDeclinedQuestion();
  } else if ((flags & MB_TYPEMASK) == MB_OKCANCEL) {
    answer = answer_yes_ ? IDOK : IDCANCEL;
  }
  std::fputs(printed.c_str(), out_);
  std::fflush(out_);
  return answer;
}

} // namespace stmtlink

// The one port through which the program talks to its user: message boxes,
// the progress window (progress_window_port.h) and the conditions and
// save-file dialogs (dialog_port.h). The dialog and progress logic stay free of
// any toolkit; a front end (ui/: batch, console, qt) draws them.
// Texts cross the port as CP932 bytes; a front end converts them for its
// display.
#pragma once

#include <string>

#include "platform/dialog_port.h"
#include "platform/progress_window_port.h"
#include "platform/win_types.h"

namespace stmtlink {

class FrontEndPort {
 public:
  virtual ~FrontEndPort() = default;

  // Shows a message box and returns the button pressed (IDOK, IDYES, IDNO,
  // IDCANCEL). flags: MB_OK or MB_YESNO with an MB_ICON* icon.
  virtual int ShowMessageBox(HWND owner, const std::string& text, const std::string& caption,
                             UINT flags) = 0;

  // The framework's wait cursor over the program's windows while the run
  // works without a message loop: on (busy) or back to the normal cursor.
  // Calls come in pairs; a front end without a pointer ignores them.
  virtual void ShowWaitCursor(bool /*busy*/) {}

  // The front end's progress window and dialogs; never null.
  virtual ProgressWindowPort* ProgressWindow() { return &no_progress_window_; }
  virtual DialogPort* Dialogs() { return &no_dialogs_; }

 private:
  ProgressWindowPort no_progress_window_;
  DialogPort no_dialogs_;
};

// The front end in use (not owned). Until one is installed, message boxes go
// to a batch front end that answers No and prints to standard error.
FrontEndPort* CurrentFrontEnd();
void SetFrontEnd(FrontEndPort* front_end);

} // namespace stmtlink

// The system's message box, shown through the current front end.
int MessageBox(HWND owner, const char* text, const char* caption, UINT flags);

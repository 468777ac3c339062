// The one port through which the program talks to its user: message boxes
// now; the modal dialog, the save-file dialog and the progress window join
// it as those windows are built. The dialog and progress logic stay free of
// any toolkit; a front end (ui/: batch, console, qt) draws them.
// Texts cross the port as CP932 bytes; a front end converts them for its
// display.
#pragma once

#include <string>

#include "platform/win_types.h"

namespace stmtlink {

class FrontEndPort {
 public:
  virtual ~FrontEndPort() = default;

  // Shows a message box and returns the button pressed (IDOK, IDYES, IDNO,
  // IDCANCEL). flags: MB_OK or MB_YESNO with an MB_ICON* icon.
  virtual int ShowMessageBox(HWND owner, const std::string& text, const std::string& caption,
                             UINT flags) = 0;
};

// The front end in use (not owned). Until one is installed, message boxes go
// to a batch front end that answers No and prints to standard error.
FrontEndPort* CurrentFrontEnd();
void SetFrontEnd(FrontEndPort* front_end);

} // namespace stmtlink

// The system's message box, shown through the current front end.
int MessageBox(HWND owner, const char* text, const char* caption, UINT flags);

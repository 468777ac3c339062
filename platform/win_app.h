// The dialog framework's application object, reduced to what the program
// uses: the two hooks InitInstance and ExitInstance, and the framework's run
// of them. A program with no main window leaves its message loop at once, so
// RunApplication calls InitInstance, then ExitInstance exactly once.
#pragma once

#include <string>

#include "platform/win_types.h"

namespace stmtlink {

class CWinApp {
 public:
  virtual ~CWinApp() = default;

  // The command line without the program name.
  std::string m_lpCmdLine;

  // Start-up; false ends the program without entering the message loop.
  virtual BOOL InitInstance() { return TRUE; }
  // Clean-up; the result is the framework's exit status.
  virtual int ExitInstance() { return 0; }
};

// Runs the application's hooks as the framework does and returns the
// framework's exit status (ExitInstance's result).
int RunApplication(CWinApp* app);

} // namespace stmtlink

// The console front end: message boxes as prompts on a terminal. A message
// waits for Enter; a question asks for y or n until it gets one, and Esc
// answers No (Cancel), as on a message box. Input that ends (end of file)
// answers No, so a closed terminal never says Yes.
#pragma once

#include <cstdio>

#include "platform/front_end_port.h"
#include "ui/console_dialogs.h"
#include "ui/console_progress_window.h"

namespace stmtlink {

class ConsoleFrontEnd : public FrontEndPort {
 public:
  ConsoleFrontEnd(std::FILE* in = stdin, std::FILE* out = stderr) : in_(in), out_(out) {}

  int ShowMessageBox(HWND owner, const std::string& text, const std::string& caption,
                     UINT flags) override;
  DialogPort* Dialogs() override { return &dialogs_; }
  // The dialogs' values from the command line (console_dialogs.h).
  ConsoleDialogs& console_dialogs() { return dialogs_; }
  ProgressWindowPort* ProgressWindow() override { return &progress_window_; }

 private:
  std::FILE* in_;
  std::FILE* out_;
  ConsoleDialogs dialogs_{in_, out_};
  ConsoleProgressWindow progress_window_{out_};
};

} // namespace stmtlink

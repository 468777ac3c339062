// The batch front end: no user. Every message is printed to standard error
// with its caption and icon; every Yes/No question gets the answer given on
// the command line (No unless --answer yes), and the answer is printed too.
// On a terminal the progress window is the console's one-line bar on
// standard error; written to a file or a pipe, the run shows no progress,
// so logs hold only the messages.
#pragma once

#include <cstdio>
#include <memory>

#include "platform/front_end_port.h"
#include "ui/batch_dialogs.h"
#include "ui/console_progress_window.h"

namespace stmtlink {

class BatchFrontEnd : public FrontEndPort {
 public:
  explicit BatchFrontEnd(bool answer_yes, std::FILE* out = stderr);

  int ShowMessageBox(HWND owner, const std::string& text, const std::string& caption,
                     UINT flags) override;
  DialogPort* Dialogs() override { return &dialogs_; }
  // The dialogs' input from the command line (batch_dialogs.h).
  BatchDialogs& batch_dialogs() { return dialogs_; }
  ProgressWindowPort* ProgressWindow() override;

 private:
  bool answer_yes_;
  std::FILE* out_;
  BatchDialogs dialogs_;
  std::unique_ptr<ConsoleProgressWindow> progress_window_; // null off a terminal
};

} // namespace stmtlink

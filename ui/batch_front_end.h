// The batch front end: no user. Every message is printed to standard error
// with its caption and icon; every Yes/No question gets the answer given on
// the command line (No unless --answer yes), and the answer is printed too.
#pragma once

#include <cstdio>

#include "platform/front_end_port.h"
#include "ui/batch_dialogs.h"

namespace stmtlink {

class BatchFrontEnd : public FrontEndPort {
 public:
  explicit BatchFrontEnd(bool answer_yes, std::FILE* out = stderr)
      : answer_yes_(answer_yes), out_(out), dialogs_(out) {}

  int ShowMessageBox(HWND owner, const std::string& text, const std::string& caption,
                     UINT flags) override;
  DialogPort* Dialogs() override { return &dialogs_; }
  // The dialogs' input from the command line (batch_dialogs.h).
  BatchDialogs& batch_dialogs() { return dialogs_; }

 private:
  bool answer_yes_;
  std::FILE* out_;
  BatchDialogs dialogs_;
};

} // namespace stmtlink

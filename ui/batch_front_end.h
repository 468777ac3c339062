// The batch front end: no user. Every message is printed to standard error
// with its caption and icon; every Yes/No question gets the answer given on
// the command line (No unless --answer yes), and the answer is printed too.
#pragma once

#include <cstdio>

#include "platform/front_end_port.h"

namespace stmtlink {

class BatchFrontEnd : public FrontEndPort {
 public:
  explicit BatchFrontEnd(bool answer_yes, std::FILE* out = stderr)
      : answer_yes_(answer_yes), out_(out) {}

  int ShowMessageBox(HWND owner, const std::string& text, const std::string& caption,
                     UINT flags) override;

 private:
  bool answer_yes_;
  std::FILE* out_;
};

} // namespace stmtlink

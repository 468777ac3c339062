// The batch front end's dialogs: no user. A modal dialog is initialised,
// then gets the input given on the command line, control by control (values
// left out keep what the dialog's initialisation gave; input to a disabled
// control is reported and dropped), typically ending with a press of its
// Execute button. A dialog still open after that (a check failed, or a
// question was answered No) ends as abandoned, which the conditions dialog
// takes as a cancel. The save-file dialog is always cancelled.
#pragma once

#include <cstdio>
#include <vector>

#include "platform/dialog_port.h"

namespace stmtlink {

class BatchDialogs : public DialogPort {
 public:
  explicit BatchDialogs(std::FILE* out = stderr) : out_(out) {}

  void SetInput(std::vector<ControlInput> input) { input_ = std::move(input); }
  // A Yes/No question was answered No while a dialog is open, so that the
  // hint after a refused path can say whether --answer yes would help.
  void NoteDeclinedQuestion() { declined_ = true; }

  int RunModal(DialogLogic& logic) override;
  bool GetSaveFileName(const SaveFileRequest& request, std::string* path) override;

 private:
  std::FILE* out_;
  std::vector<ControlInput> input_;
  bool declined_ = false;
};

} // namespace stmtlink

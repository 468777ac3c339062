// A front end for the dialog tests: records message boxes as
// RecordingFrontEnd does, and runs a modal dialog over the port's own
// control state with a script in place of a user. The save-file dialog is
// recorded and answers with save_answer (cancelled when unset).
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "platform/dialog_port.h"
#include "tests/support/recording_front_end.h"

namespace stmtlink::testing {

class ScriptedDialogs : public DialogPort {
 public:
  // Runs after OnInitDialog when the dialog is still open.
  std::function<void(ScriptedDialogs&, DialogLogic&)> script;
  std::vector<SaveFileRequest> save_requests;
  std::optional<std::string> save_answer;
  bool opened = false; // the dialog was still open after OnInitDialog

  int RunModal(DialogLogic& logic) override {
    opened = StartModal(logic);
    if (opened && script) script(*this, logic);
    return FinishModal(logic);
  }
  bool GetSaveFileName(const SaveFileRequest& request, std::string* path) override {
    save_requests.push_back(request);
    if (!save_answer) return false;
    *path = *save_answer;
    return true;
  }
  void Key(DialogLogic& logic, UINT key, bool shift = false) {
    KeyMessage message;
    message.key = key;
    message.shift = shift;
    PressKey(logic, message);
  }
};

class DialogFrontEnd : public RecordingFrontEnd {
 public:
  DialogPort* Dialogs() override { return &dialogs; }
  ScriptedDialogs dialogs;

  // The texts of the message boxes shown so far, in order.
  std::vector<std::string> Texts() const {
    std::vector<std::string> texts;
    for (const RecordedMessage& m : messages) texts.push_back(m.text);
    return texts;
  }
};

} // namespace stmtlink::testing

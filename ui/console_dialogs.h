// The console front end's dialogs: a modal dialog as a form on a terminal.
// The form is drawn from the dialog's template, a line for each row of
// controls, every control the user can reach numbered in tab order:
//
//   決算書 - 集計条件
//   事業所名 ： 株式会社テスト
//   集計期間 ： 1[ 4] 月度(S) ～ 2[ 3] 月度(E)
//   ...
//
// Commands (one a line): N focuses control N and presses it (a button,
// radio or check box) or asks for its text (an edit); N=TEXT types TEXT
// into edit N; =TEXT types into the focused edit; an empty line is Enter,
// "f12" F12, "tab" Tab, "esc" Esc. The real F12 and Esc keys act at once
// (terminal_input.h). Keys reach the dialog's own keyboard handling first.
// The end of input is Esc. The hints and prompts are in Japanese, as the
// form is. A text an edit cannot take whole (letters in a digits-only
// edit, more than its limit) is refused with a note, never cut or
// filtered. A caption written as statics stacked at one place is drawn as
// one text. The save-file dialog asks for a path, relative to the folder it
// starts in; an empty answer or Esc cancels; its folder must exist, the
// file need not.
#pragma once

#include <cstdio>
#include <string>
#include <vector>

#include "platform/dialog_port.h"
#include "ui/terminal_input.h"

namespace stmtlink {

class ConsoleDialogs : public DialogPort {
 public:
  ConsoleDialogs(std::FILE* in, std::FILE* out) : in_(in), out_(out) {}

  // Values given on the command line, typed into the dialog after its own
  // initialisation and before the form is first drawn, as a user would type
  // them; buttons are left to the user. A value its control cannot take
  // (a disabled control) is noted under the form and dropped.
  void SetPresets(std::vector<ControlInput> presets) { presets_ = std::move(presets); }

  int RunModal(DialogLogic& logic) override;
  bool GetSaveFileName(const SaveFileRequest& request, std::string* path) override;

 private:
  void DrawForm();
  // How one control looks in the form.
  std::string Piece(const ControlTemplate& control);
  // Carries out one entry (a command line or a key); false when it was not
  // understood.
  bool Command(DialogLogic& logic, const TerminalEntry& entry);
  // The control numbered n in the form; null when there is none.
  const ControlTemplate* Numbered(int n) const;
  int NumberOf(int id) const;
  // Types UTF-8 text into an edit; false (with a note) when it cannot.
  bool TypeUtf8(int id, const std::string& text);
  // One line or key of input; false at end of input.
  bool ReadEntry(TerminalEntry* entry);

  void ApplyPresets(DialogLogic& logic);

  std::FILE* in_;
  std::FILE* out_;
  std::vector<ControlInput> presets_;
};

} // namespace stmtlink

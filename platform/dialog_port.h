// The front end's side of the program's modal dialogs and of the save-file
// dialog. The dialog logic (dialog/) decides every check, message, focus
// change and result; a front end only shows the controls, hands the user's
// input to the logic and does what the logic asks of the window.
//
// A modal run, as the dialog framework does it:
//   int result = CurrentFrontEnd()->Dialogs()->RunModal(logic);
// RunModal builds the controls from logic.Template(), calls OnInitDialog
// (which may already end the dialog), puts the focus on the first control
// in tab order when OnInitDialog answers TRUE, then passes the user's keys
// (PressKey) and clicks (Click) to the logic until it calls EndDialog.
//
// The window operations below have a working default: the port keeps every
// control's text, check state, enabling, text limit and selection itself,
// so a front end that draws from this state (batch, console) overrides
// RunModal only, and a test can drive the logic over the port as it is.
// The default RunModal has no user: the dialog is initialised and, still
// open, ended with the logic's AbandonResult (never a confirmation).
#pragma once

#include <cstddef>
#include <map>
#include <string>
#include <utility>

#include "platform/win_types.h"

namespace stmtlink {

// Window messages and virtual keys that the dialogs look at.
constexpr UINT WM_KEYDOWN = 0x0100;
constexpr UINT WM_KEYUP = 0x0101;
constexpr UINT WM_SYSKEYDOWN = 0x0104;
constexpr UINT VK_TAB = 0x09;
constexpr UINT VK_RETURN = 0x0D;
constexpr UINT VK_ESCAPE = 0x1B;
constexpr UINT VK_F12 = 0x7B;

constexpr int BST_UNCHECKED = 0;
constexpr int BST_CHECKED = 1;

// The ID of controls that the program never addresses (labels).
constexpr int IDC_STATIC = -1;

// Save-file dialog options.
constexpr DWORD OFN_HIDEREADONLY = 0x0004;
constexpr DWORD OFN_NOCHANGEDIR = 0x0008;
constexpr DWORD OFN_PATHMUSTEXIST = 0x0800;
constexpr DWORD OFN_FILEMUSTEXIST = 0x1000;

// A dialog resource: the controls in tab order, positions in dialog units.
enum class ControlKind { kStatic, kEdit, kPushButton, kAutoRadio, kAutoCheckBox, kGroupBox };

// Control styles the front ends honour.
constexpr UINT kStyleGroup = 0x01;      // starts a group (of radios)
constexpr UINT kStyleTabStop = 0x02;    // reached by Tab, may get the first focus
constexpr UINT kStyleNumber = 0x04;     // edit: digits only
constexpr UINT kStyleRight = 0x08;      // edit: right-aligned
constexpr UINT kStyleAutoScroll = 0x10; // edit: scrolls horizontally
constexpr UINT kStyleStaticEdge = 0x20; // edit: sunken edge

struct ControlTemplate {
  int id;
  ControlKind kind;
  const char* text; // CP932
  int x, y, cx, cy;
  UINT style;
};

struct DialogTemplate {
  UINT resource_id;
  const char* caption;   // CP932
  const char* font_name; // CP932
  int point_size;
  int cx, cy;
  const ControlTemplate* controls;
  std::size_t control_count;
};

// A key as the window receives it, with the modifier keys held.
struct KeyMessage {
  UINT message = WM_KEYDOWN;
  UINT key = 0;
  bool shift = false;
  bool ctrl = false;
  bool alt = false;
};

// The system's save-file dialog. Texts are CP932; filter in the framework's
// "Name (*.ext)|*.ext||" form.
struct SaveFileRequest {
  HWND owner = 0;
  std::string title;
  std::string filter;
  std::string default_extension;
  std::string file_name;
  std::string initial_folder;
  DWORD flags = 0;
};

// One thing a user does to a control, for a front end that replays input.
struct ControlInput {
  enum class Action {
    kType,     // an edit's text replaced by typing (limit and digits-only apply)
    kClick,    // a button, radio or check box clicked
    kSetCheck, // a check box brought to the given state (clicked when it differs)
  };
  int id = 0;
  Action action = Action::kClick;
  std::string text; // kType, CP932
  int check = 0;    // kSetCheck
};

// The logic of a modal dialog as its window sees it.
class DialogLogic {
 public:
  virtual ~DialogLogic() = default;
  virtual const DialogTemplate& Template() const = 0;
  // The window and its controls exist. TRUE: the window puts the focus on
  // the first control in tab order.
  virtual BOOL OnInitDialog() = 0;
  // A button was pressed (its ID), Enter reached no button (IDOK), or Esc or
  // the close box (IDCANCEL).
  virtual void OnCommand(int id) = 0;
  // Sees every key first; TRUE when handled (no default handling follows).
  virtual BOOL PreTranslateMessage(const KeyMessage& message) = 0;
  // The result with which a front end ends the dialog when no user is left
  // to end it (batch after its input, a closed terminal).
  virtual int AbandonResult() const = 0;
};

class DialogPort {
 public:
  virtual ~DialogPort() = default;

  // Runs the dialog modally and returns the result given to EndDialog.
  virtual int RunModal(DialogLogic& logic);

  // The dialog window, owner of the dialog's message boxes.
  virtual HWND Window() { return kDefaultWindow; }
  virtual void EndDialog(int result);

  virtual void SetItemText(int id, const std::string& text);
  virtual std::string GetItemText(int id);
  virtual void CheckItem(int id, int state);
  virtual int IsItemChecked(int id);
  virtual void EnableItem(int id, BOOL enable);
  virtual BOOL IsItemEnabled(int id);
  virtual void SetFocus(int id);
  // The control with the focus; 0 when none.
  virtual int GetFocus();
  // Selects characters [start, end) of an edit (end -1: to the end) and
  // scrolls the caret into view.
  virtual void SetSel(int id, int start, int end);
  // The most characters the user can type into an edit (0: no limit).
  virtual void LimitText(int id, int max_chars);

  // The save-file dialog: true with the chosen full path, false when the
  // user cancelled. Default: cancelled.
  virtual bool GetSaveFileName(const SaveFileRequest& request, std::string* path);

  // The window's state, for front ends that draw it and for tests.
  bool ended() const { return ended_; }
  int result() const { return result_; }
  // The selection of an edit as [start, end) in bytes; (0, 0) by default.
  std::pair<int, int> Selection(int id) const;
  int TextLimit(int id) const;
  const DialogTemplate* CurrentTemplate() const { return template_; }
  const ControlTemplate* FindControl(int id) const;

  // What a user does, passed to the logic as the window would. Input to a
  // disabled or unknown control is ignored (false).
  bool Type(int id, const std::string& text);
  bool Click(DialogLogic& logic, int id);
  bool SetCheckByUser(DialogLogic& logic, int id, int state);
  bool Apply(DialogLogic& logic, const ControlInput& input);
  // The key goes to PreTranslateMessage, then to the default handling:
  // Enter clicks the focused push button (else IDOK), Esc is IDCANCEL, Tab
  // moves to the next enabled control in tab order.
  void PressKey(DialogLogic& logic, const KeyMessage& message);

 protected:
  static constexpr HWND kDefaultWindow = 0x10082;

  // The first half of a modal run: controls from the template, then
  // OnInitDialog and the first focus. False when the dialog already ended.
  bool StartModal(DialogLogic& logic);
  // The second half: a dialog still open is ended with AbandonResult; the
  // result.
  int FinishModal(DialogLogic& logic);

 private:
  struct ControlState {
    std::string text;
    int check = 0;
    bool enabled = true;
    int limit = 0;
    int sel_start = 0;
    int sel_end = 0;
  };
  ControlState& State(int id) { return controls_[id]; }
  void FocusNextTabStop();

  const DialogTemplate* template_ = nullptr;
  std::map<int, ControlState> controls_;
  int focus_ = 0;
  bool ended_ = false;
  int result_ = 0;
};

} // namespace stmtlink

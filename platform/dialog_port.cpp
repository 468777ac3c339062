#include "platform/dialog_port.h"

#include "platform/mbcs.h"

namespace stmtlink {

int DialogPort::RunModal(DialogLogic& logic) {
  // No user: whatever OnInitDialog left open is abandoned.
  StartModal(logic);
  return FinishModal(logic);
}

bool DialogPort::StartModal(DialogLogic& logic) {
  template_ = &logic.Template();
  controls_.clear();
  focus_ = 0;
  ended_ = false;
  result_ = 0;
  for (std::size_t i = 0; i < template_->control_count; ++i) {
    const ControlTemplate& c = template_->controls[i];
    if (c.id != IDC_STATIC) State(c.id).text = c.text;
  }
  BOOL focus_first = logic.OnInitDialog();
  if (ended_) return false;
  if (focus_first) {
    // As the dialog manager does: the first enabled tab stop, an edit with
    // its text selected.
    focus_ = 0;
    FocusNextTabStop();
  }
  return true;
}

int DialogPort::FinishModal(DialogLogic& logic) {
  if (!ended_) EndDialog(logic.AbandonResult());
  return result_;
}

void DialogPort::EndDialog(int result) {
  if (ended_) return; // the first result stands, as with the framework
  ended_ = true;
  result_ = result;
}

void DialogPort::SetItemText(int id, const std::string& text) {
  ControlState& state = State(id);
  state.text = text;
  // Windows drops the selection when the text is replaced.
  state.sel_start = state.sel_end = 0;
}

std::string DialogPort::GetItemText(int id) {
  auto it = controls_.find(id);
  return it == controls_.end() ? std::string() : it->second.text;
}

void DialogPort::CheckItem(int id, int state) { State(id).check = state; }

int DialogPort::IsItemChecked(int id) {
  auto it = controls_.find(id);
  return it == controls_.end() ? 0 : it->second.check;
}

void DialogPort::EnableItem(int id, BOOL enable) { State(id).enabled = enable != FALSE; }

BOOL DialogPort::IsItemEnabled(int id) {
  auto it = controls_.find(id);
  return it == controls_.end() || it->second.enabled ? TRUE : FALSE;
}

void DialogPort::SetFocus(int id) { focus_ = id; }

int DialogPort::GetFocus() { return focus_; }

void DialogPort::SetSel(int id, int start, int end) {
  ControlState& state = State(id);
  const int size = static_cast<int>(state.text.size());
  if (end < 0 || end > size) end = size;
  if (start < 0 || start > end) start = end;
  state.sel_start = start;
  state.sel_end = end;
}

void DialogPort::LimitText(int id, int max_chars) { State(id).limit = max_chars > 0 ? max_chars : 0; }

bool DialogPort::GetSaveFileName(const SaveFileRequest&, std::string*) { return false; }

std::pair<int, int> DialogPort::Selection(int id) const {
  auto it = controls_.find(id);
  if (it == controls_.end()) return {0, 0};
  return {it->second.sel_start, it->second.sel_end};
}

int DialogPort::TextLimit(int id) const {
  auto it = controls_.find(id);
  return it == controls_.end() ? 0 : it->second.limit;
}

const ControlTemplate* DialogPort::FindControl(int id) const {
  if (template_ == nullptr || id == IDC_STATIC) return nullptr;
  for (std::size_t i = 0; i < template_->control_count; ++i)
    if (template_->controls[i].id == id) return &template_->controls[i];
  return nullptr;
}

bool DialogPort::Type(int id, const std::string& text) {
  const ControlTemplate* control = FindControl(id);
  if (control == nullptr || control->kind != ControlKind::kEdit || !IsItemEnabled(id)) return false;
  std::string typed;
  if (control->style & kStyleNumber) {
    // A digits-only edit refuses every other key.
    for (char c : text)
      if (c >= '0' && c <= '9') typed.push_back(c);
  } else {
    typed = text;
  }
  // The limit counts bytes of the code page; a double-byte character that
  // does not fit whole is refused whole.
  const int limit = TextLimit(id);
  if (limit > 0) typed = MbcsTruncate(typed, static_cast<std::size_t>(limit));
  SetItemText(id, typed);
  return true;
}

bool DialogPort::Click(DialogLogic& logic, int id) {
  const ControlTemplate* control = FindControl(id);
  if (control == nullptr || !IsItemEnabled(id)) return false;
  switch (control->kind) {
    case ControlKind::kAutoRadio: {
      // Checks this radio and clears the others of its group (from the
      // radio that starts the group up to the next group start).
      std::size_t first = static_cast<std::size_t>(control - template_->controls);
      while (first > 0 && !(template_->controls[first].style & kStyleGroup)) --first;
      for (std::size_t i = first; i < template_->control_count; ++i) {
        const ControlTemplate& c = template_->controls[i];
        if (i != first && (c.style & kStyleGroup)) break;
        if (c.kind == ControlKind::kAutoRadio) CheckItem(c.id, c.id == id ? BST_CHECKED : BST_UNCHECKED);
      }
      SetFocus(id);
      return true;
    }
    case ControlKind::kAutoCheckBox:
      CheckItem(id, IsItemChecked(id) == BST_CHECKED ? BST_UNCHECKED : BST_CHECKED);
      SetFocus(id);
      return true;
    case ControlKind::kPushButton:
      // A clicked push button takes the focus, then its command is sent.
      SetFocus(id);
      logic.OnCommand(id);
      return true;
    default:
      return false;
  }
}

bool DialogPort::SetCheckByUser(DialogLogic& logic, int id, int state) {
  const ControlTemplate* control = FindControl(id);
  if (control == nullptr || control->kind != ControlKind::kAutoCheckBox) return false;
  if ((IsItemChecked(id) == BST_CHECKED) == (state != 0)) return IsItemEnabled(id) != FALSE;
  return Click(logic, id);
}

bool DialogPort::Apply(DialogLogic& logic, const ControlInput& input) {
  switch (input.action) {
    case ControlInput::Action::kType:
      return Type(input.id, input.text);
    case ControlInput::Action::kClick:
      return Click(logic, input.id);
    case ControlInput::Action::kSetCheck:
      return SetCheckByUser(logic, input.id, input.check);
  }
  return false;
}

void DialogPort::PressKey(DialogLogic& logic, const KeyMessage& message) {
  if (ended_ || logic.PreTranslateMessage(message)) return;
  if (message.message != WM_KEYDOWN && message.message != WM_SYSKEYDOWN) return;
  switch (message.key) {
    case VK_RETURN: {
      // The dialog manager: Enter on a push button presses it; anywhere
      // else it is the default button's command, IDOK when there is none.
      const ControlTemplate* focused = FindControl(focus_);
      if (focused != nullptr && focused->kind == ControlKind::kPushButton && IsItemEnabled(focus_))
        logic.OnCommand(focus_);
      else
        logic.OnCommand(IDOK);
      return;
    }
    case VK_ESCAPE:
      logic.OnCommand(IDCANCEL);
      return;
    case VK_TAB:
      FocusNextTabStop();
      return;
    default:
      return;
  }
}

void DialogPort::FocusNextTabStop() {
  if (template_ == nullptr || template_->control_count == 0) return;
  const std::size_t n = template_->control_count;
  std::size_t start = 0;
  for (std::size_t i = 0; i < n; ++i)
    if (focus_ != 0 && template_->controls[i].id == focus_) start = i + 1;
  for (std::size_t k = 0; k < n; ++k) {
    const ControlTemplate& c = template_->controls[(start + k) % n];
    if (!(c.style & kStyleTabStop) || c.id == IDC_STATIC || !IsItemEnabled(c.id)) continue;
    SetFocus(c.id);
    if (c.kind == ControlKind::kEdit) SetSel(c.id, 0, -1);
    return;
  }
}

} // namespace stmtlink

#include "ui/console_dialogs.h"

#include <algorithm>
#include <cstdlib>
#include <vector>

#include "platform/mbcs.h"
#include "platform/text_codec.h"
#include "platform/win_api.h"


namespace stmtlink {
namespace {

// Controls whose tops lie this close (dialog units) share a line.
constexpr int kRowTolerance = 3;

bool Reachable(const ControlTemplate& c) {
  return c.id != IDC_STATIC && c.kind != ControlKind::kStatic && c.kind != ControlKind::kGroupBox;
}

// A label as the terminal shows it: the mnemonic marker dropped.
std::string Label(const std::string& cp932) {
  std::string out;
  for (std::size_t i = 0; i < cp932.size(); i += MbcsCharLength(cp932, i)) {
    if (cp932[i] == '&' && MbcsCharLength(cp932, i) == 1) continue;
    out.append(cp932, i, MbcsCharLength(cp932, i));
  }
  return ToUtf8(out);
}

std::string Lower(std::string s) {
  for (char& c : s)
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  return s;
}

bool IsWholeNumber(const std::string& s) {
  return !s.empty() && s.size() < 4 && std::all_of(s.begin(), s.end(), [](char c) { return c >= '0' && c <= '9'; });
}

// A path that names its own root: "X:..." or "\\..." or "\...".
bool IsRooted(const std::string& path) {
  return (path.size() >= 2 && path[1] == ':') || (!path.empty() && path[0] == '\\');
}

} // namespace

bool ConsoleDialogs::ReadEntry(TerminalEntry* entry) { return ReadTerminalEntry(in_, out_, entry); }

const ControlTemplate* ConsoleDialogs::Numbered(int n) const {
  const DialogTemplate* t = CurrentTemplate();
  int number = 0;
  for (std::size_t i = 0; t != nullptr && i < t->control_count; ++i)
    if (Reachable(t->controls[i]) && ++number == n) return &t->controls[i];
  return nullptr;
}

int ConsoleDialogs::NumberOf(int id) const {
  const DialogTemplate* t = CurrentTemplate();
  int number = 0;
  for (std::size_t i = 0; t != nullptr && i < t->control_count; ++i) {
    if (!Reachable(t->controls[i])) continue;
    ++number;
    if (t->controls[i].id == id) return number;
  }
  return 0;
}

std::string ConsoleDialogs::Piece(const ControlTemplate& c) {
  const std::string text = c.id == IDC_STATIC ? Label(c.text) : Label(GetItemText(c.id));
  const int n = NumberOf(c.id);
  // Appended, not "a" + b: g++ 12 at -O3 sees a false overlap in that form.
  std::string mark = GetFocus() == c.id ? ">" : "";
  if (n > 0) mark += std::to_string(n);
  std::string piece;
  switch (c.kind) {
    case ControlKind::kStatic:
      piece = text;
      break;
    case ControlKind::kGroupBox:
      piece = "-- " + text + " --";
      break;
    case ControlKind::kEdit:
      piece = mark + "[" + text + "]";
      break;
    case ControlKind::kAutoRadio:
      piece = mark + (IsItemChecked(c.id) == BST_CHECKED ? "(*) " : "( ) ") + text;
      break;
    case ControlKind::kAutoCheckBox:
      piece = mark + (IsItemChecked(c.id) == BST_CHECKED ? "[x] " : "[ ] ") + text;
      break;
    case ControlKind::kPushButton:
      piece = mark + "<" + text + ">";
      break;
  }
  if (IsItemEnabled(c.id) == FALSE) piece += "(disabled)";
  return piece;
}

void ConsoleDialogs::DrawForm() {
  const DialogTemplate* t = CurrentTemplate();
  if (t == nullptr) return;
  // Rows: controls whose tops lie close together, each row left to right.
  std::vector<const ControlTemplate*> by_top;
  for (std::size_t i = 0; i < t->control_count; ++i) by_top.push_back(&t->controls[i]);
  std::stable_sort(by_top.begin(), by_top.end(),
                   [](const ControlTemplate* a, const ControlTemplate* b) { return a->y < b->y; });
  std::vector<std::vector<const ControlTemplate*>> rows;
  for (const ControlTemplate* c : by_top) {
    if (rows.empty() || c->y - rows.back().front()->y > kRowTolerance) rows.emplace_back();
    rows.back().push_back(c);
  }

  std::string form = "\n== " + ToUtf8(t->caption) + " ==\n";
  for (auto& row : rows) {
    std::stable_sort(row.begin(), row.end(),
                     [](const ControlTemplate* a, const ControlTemplate* b) { return a->x < b->x; });
    for (std::size_t k = 0; k < row.size(); ++k) {
      if (k > 0) form += " ";
      form += Piece(*row[k]);
    }
    form += "\n";
  }
  form += "N: press or edit control N   N=TEXT: type into edit N   keys: Enter, F12 (or f12), Esc (or esc), tab\n> ";
  std::fputs(form.c_str(), out_);
  std::fflush(out_);
}

bool ConsoleDialogs::TypeUtf8(int id, const std::string& text) {
  std::string cp932;
  if (!Utf8ToCp932(text, &cp932)) {
    std::fputs("  that text has characters Shift_JIS cannot hold\n", out_);
    return false;
  }
  if (!Type(id, cp932)) {
    std::fputs("  that control takes no text now\n", out_);
    return false;
  }
  SetFocus(id);
  return true;
}

bool ConsoleDialogs::Command(DialogLogic& logic, const TerminalEntry& entry) {
  const std::string& line = entry.line;
  const std::string word = Lower(line);
  KeyMessage key;
  if (entry.key == TerminalKey::kF12) key.key = VK_F12;
  else if (entry.key == TerminalKey::kEscape) key.key = VK_ESCAPE;
  else if (line.empty()) key.key = VK_RETURN;
  else if (word == "f12") key.key = VK_F12;
  else if (word == "tab") key.key = VK_TAB;
  else if (word == "esc") key.key = VK_ESCAPE;
  if (key.key != 0) {
    PressKey(logic, key);
    return true;
  }
  if (line[0] == '=') return TypeUtf8(GetFocus(), line.substr(1));

  std::size_t equals = line.find('=');
  std::string number = line.substr(0, equals);
  if (!IsWholeNumber(number)) return false;
  const ControlTemplate* control = Numbered(std::atoi(number.c_str()));
  if (control == nullptr) return false;
  if (equals != std::string::npos) return TypeUtf8(control->id, line.substr(equals + 1));
  if (control->kind != ControlKind::kEdit) {
    if (!Click(logic, control->id)) std::fputs("  that control is disabled\n", out_);
    return true;
  }
  if (IsItemEnabled(control->id) == FALSE) {
    std::fputs("  that control is disabled\n", out_);
    return true;
  }
  SetFocus(control->id);
  SetSel(control->id, 0, -1);
  std::fprintf(out_, "  new text for %d: ", NumberOf(control->id));
  std::fflush(out_);
  // A key instead of a text leaves the edit as it was.
  TerminalEntry text;
  if (ReadEntry(&text) && text.key == TerminalKey::kNone) TypeUtf8(control->id, text.line);
  return true;
}

int ConsoleDialogs::RunModal(DialogLogic& logic) {
  if (StartModal(logic)) {
    TerminalEntry entry;
    while (!ended()) {
      DrawForm();
      if (!ReadEntry(&entry)) {
        // The terminal is gone: Esc, as a user leaving would press.
        std::fputs("\n", out_);
        PressKey(logic, KeyMessage{WM_KEYDOWN, VK_ESCAPE});
        break;
      }
      if (!Command(logic, entry)) std::fputs("  not understood\n", out_);
    }
  }
  return FinishModal(logic);
}

bool ConsoleDialogs::GetSaveFileName(const SaveFileRequest& request, std::string* path) {
  for (;;) {
    std::fprintf(out_, "\n== %s ==\n  folder: %s\n  file:   %s\n  path (empty cancels): ",
                 ToUtf8(request.title).c_str(), ToUtf8(request.initial_folder).c_str(),
                 ToUtf8(request.file_name).c_str());
    std::fflush(out_);
    TerminalEntry entry;
    std::string typed;
    if (!ReadEntry(&entry) || entry.key == TerminalKey::kEscape || (entry.key == TerminalKey::kNone && entry.line.empty()))
      return false;
    if (entry.key != TerminalKey::kNone) continue;
    if (!Utf8ToCp932(entry.line, &typed)) {
      std::fputs("  that path has characters Shift_JIS cannot hold\n", out_);
      continue;
    }
    std::string chosen = IsRooted(typed) ? typed : request.initial_folder + typed;
    // The default extension goes on a name that has none, as the system
    // dialog does.
    const unsigned char* start = reinterpret_cast<const unsigned char*>(chosen.c_str());
    const unsigned char* last_separator = _mbsrchr(start, '\\');
    const std::size_t name_at = last_separator != nullptr ? static_cast<std::size_t>(last_separator - start) + 1 : 0;
    const std::string folder = chosen.substr(0, name_at);
    if (!request.default_extension.empty() && _mbschr(start + name_at, '.') == nullptr)
      chosen += "." + request.default_extension;
    if ((request.flags & OFN_PATHMUSTEXIST) && !folder.empty() && _access(folder.c_str(), 0) != 0) {
      std::fputs("  that folder does not exist\n", out_);
      continue;
    }
    if ((request.flags & OFN_FILEMUSTEXIST) && _access(chosen.c_str(), 0) != 0) {
      std::fputs("  that file does not exist (this dialog picks an existing file)\n", out_);
      continue;
    }
    *path = chosen;
    return true;
  }
}

} // namespace stmtlink

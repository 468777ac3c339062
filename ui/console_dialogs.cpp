#include "ui/console_dialogs.h"

#include <algorithm>
#include <cstdlib>
#include <map>
#include <vector>

#include "platform/mbcs.h"
#include "platform/text_codec.h"
#include "platform/win_api.h"
#include "platform/win_path.h"


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

// A program text (this file's literals are in the code page) as the
// terminal shows it.
std::string U(const char* cp932) { return ToUtf8(cp932); }

// A static that continues the caption above it: a line of one caption
// written as several statics stacked at the same place and width (the
// equity caption has three), so the form shows them as one text.
bool ContinuesCaption(const ControlTemplate& above, const ControlTemplate& c) {
  return above.kind == ControlKind::kStatic && c.kind == ControlKind::kStatic && above.x == c.x &&
         above.cx == c.cx && c.y > above.y && c.y <= above.y + above.cy;
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
  if (IsItemEnabled(c.id) == FALSE) piece += U("(無効)");
  return piece;
}

void ConsoleDialogs::DrawForm() {
  const DialogTemplate* t = CurrentTemplate();
  if (t == nullptr) return;
  // Rows: controls whose tops lie close together, each row left to right.
  // A caption of stacked statics is drawn once, whole, where it starts.
  std::vector<const ControlTemplate*> by_top;
  std::map<const ControlTemplate*, std::string> captions;
  const ControlTemplate* caption_head = nullptr;
  const ControlTemplate* caption_last = nullptr;
  for (std::size_t i = 0; i < t->control_count; ++i) {
    const ControlTemplate& c = t->controls[i];
    if (caption_last != nullptr && ContinuesCaption(*caption_last, c)) {
      captions[caption_head] += Piece(c);
      caption_last = &c;
      continue;
    }
    by_top.push_back(&c);
    caption_head = caption_last = c.kind == ControlKind::kStatic ? &c : nullptr;
    if (caption_head != nullptr) captions[caption_head] = Piece(c);
  }
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
      auto caption = captions.find(row[k]);
      form += caption != captions.end() ? caption->second : Piece(*row[k]);
    }
    form += "\n";
  }
  form += U("番号: その欄を押す・入力する　番号=文字: その欄に入力　=文字: いまの欄に入力　"
            "キー: Enter、F12 (f12)、Esc (esc)、tab\n> ");
  std::fputs(form.c_str(), out_);
  std::fflush(out_);
}

bool ConsoleDialogs::TypeUtf8(int id, const std::string& text) {
  std::string cp932;
  if (!Utf8ToCp932(text, &cp932)) {
    std::fputs(U("  Shift_JIS で表せない文字があるため、入力しませんでした\n").c_str(), out_);
    return false;
  }
  // The edit would drop what it refuses key by key; typed as a whole line,
  // the user is told instead, and the field keeps its text.
  const ControlTemplate* control = FindControl(id);
  const int limit = TextLimit(id);
  const std::string number = std::to_string(NumberOf(id));
  const std::string not_typed = U("「") + text + U("」は入力しませんでした）\n");
  if (control != nullptr && (control->style & kStyleNumber) &&
      !std::all_of(cp932.begin(), cp932.end(), [](char c) { return c >= '0' && c <= '9'; })) {
    std::fputs(("  " + number + U(" には数字だけを入力できます（") + not_typed).c_str(), out_);
    return false;
  }
  if (control != nullptr && limit > 0 && cp932.size() > static_cast<std::size_t>(limit)) {
    std::fputs(("  " + number + U(" には半角 ") + std::to_string(limit) + U(" 文字までしか入りません（") +
                not_typed).c_str(), out_);
    return false;
  }
  if (!Type(id, cp932)) {
    std::fputs(U("  その欄にはいま入力できません\n").c_str(), out_);
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
  // A text the edit refuses was still understood: TypeUtf8 has said why,
  // and that is the one message.
  if (line[0] == '=') {
    TypeUtf8(GetFocus(), line.substr(1));
    return true;
  }

  std::size_t equals = line.find('=');
  std::string number = line.substr(0, equals);
  if (!IsWholeNumber(number)) return false;
  const ControlTemplate* control = Numbered(std::atoi(number.c_str()));
  if (control == nullptr) return false;
  if (equals != std::string::npos) {
    TypeUtf8(control->id, line.substr(equals + 1));
    return true;
  }
  if (control->kind != ControlKind::kEdit) {
    if (!Click(logic, control->id)) std::fputs(U("  その欄は無効です\n").c_str(), out_);
    return true;
  }
  if (IsItemEnabled(control->id) == FALSE) {
    std::fputs(U("  その欄は無効です\n").c_str(), out_);
    return true;
  }
  SetFocus(control->id);
  SetSel(control->id, 0, -1);
  std::fputs(("  " + std::to_string(NumberOf(control->id)) + U(" の新しい内容: ")).c_str(), out_);
  std::fflush(out_);
  // A key instead of a text leaves the edit as it was.
  TerminalEntry text;
  if (ReadEntry(&text) && text.key == TerminalKey::kNone) TypeUtf8(control->id, text.line);
  return true;
}

void ConsoleDialogs::ApplyPresets(DialogLogic& logic) {
  // Typed in before the form is shown, the values leave the first focus
  // where the dialog's initialisation put it.
  const int first_focus = GetFocus();
  for (const ControlInput& input : presets_) {
    if (ended()) return;
    const ControlTemplate* control = FindControl(input.id);
    if (control != nullptr && control->kind == ControlKind::kPushButton) continue;
    if (!Apply(logic, input)) {
      const int n = NumberOf(input.id);
      std::fputs((U("  コマンドラインの値を入れられない欄があります（") +
                  (n > 0 ? std::to_string(n) : std::to_string(input.id)) + U(" は無効です）\n"))
                     .c_str(),
                 out_);
    }
  }
  if (!ended() && first_focus != 0) SetFocus(first_focus);
}

int ConsoleDialogs::RunModal(DialogLogic& logic) {
  if (StartModal(logic)) {
    ApplyPresets(logic);
    TerminalEntry entry;
    while (!ended()) {
      DrawForm();
      if (!ReadEntry(&entry)) {
        // The terminal is gone: Esc, as a user leaving would press.
        std::fputs("\n", out_);
        PressKey(logic, KeyMessage{WM_KEYDOWN, VK_ESCAPE});
        break;
      }
      if (!Command(logic, entry)) std::fputs(U("  入力を読み取れません（欄の番号か、番号=文字で入力してください）\n").c_str(), out_);
    }
  }
  return FinishModal(logic);
}

bool ConsoleDialogs::GetSaveFileName(const SaveFileRequest& request, std::string* path) {
  for (;;) {
    std::fputs(("\n== " + ToUtf8(request.title) + " ==\n" + U("  フォルダ: ") +
                ToUtf8(request.initial_folder) + "\n" + U("  ファイル名: ") + ToUtf8(request.file_name) +
                "\n" + U("  パス（空欄で取消）: ")).c_str(), out_);
    std::fflush(out_);
    TerminalEntry entry;
    std::string typed;
    if (!ReadEntry(&entry) || entry.key == TerminalKey::kEscape || (entry.key == TerminalKey::kNone && entry.line.empty()))
      return false;
    if (entry.key != TerminalKey::kNone) continue;
    std::string chosen;
    if (IsLinuxStylePath(entry.line)) {
      // A Linux path, absolute or taken against the folder shown, becomes
      // its Windows form on Z: or on the mapped drive that holds it.
      std::string base;
      if (!WindowsToLinuxPath(request.initial_folder, &base)) base.clear();
      if (!TypedLinuxPathToWindows(entry.line, base, &chosen)) {
        std::fputs(U("  そのパスはこのプログラムの出力先にできません\n").c_str(), out_);
        continue;
      }
    } else {
      if (!Utf8ToCp932(entry.line, &typed)) {
        std::fputs(U("  Shift_JIS で表せない文字があります\n").c_str(), out_);
        continue;
      }
      chosen = IsRooted(typed) ? typed : request.initial_folder + typed;
    }
    // The default extension goes on a name that has none, as the system
    // dialog does.
    const unsigned char* start = reinterpret_cast<const unsigned char*>(chosen.c_str());
    const unsigned char* last_separator = _mbsrchr(start, '\\');
    const std::size_t name_at = last_separator != nullptr ? static_cast<std::size_t>(last_separator - start) + 1 : 0;
    const std::string folder = chosen.substr(0, name_at);
    if (!request.default_extension.empty() && _mbschr(start + name_at, '.') == nullptr)
      chosen += "." + request.default_extension;
    if ((request.flags & OFN_PATHMUSTEXIST) && !folder.empty() && _access(folder.c_str(), 0) != 0) {
      std::fputs(U("  そのフォルダは存在しません\n").c_str(), out_);
      continue;
    }
    // The file-must-exist flag is not applied: this dialog names the file
    // to write, which does not exist on a first run; the dialog asks before
    // it replaces one. The folder must exist, as the flag says.
    *path = chosen;
    return true;
  }
}

} // namespace stmtlink

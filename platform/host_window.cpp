#include "platform/host_window.h"

#include <map>
#include <memory>
#include <string>

#include "platform/env.h"
#include "platform/host_home.h"

namespace {

// Opens, appends and closes per line, so that every line already reported
// is on disk whatever happens to the program afterwards.
bool AppendLine(const std::string& line) {
  std::unique_ptr<stmtlink::WritableFile> file =
      stmtlink::Env::Current()->NewAppendableFile(stmtlink::HostHomeFile("host-window.log"));
  if (file == nullptr) return false;
  bool ok = file->Append(line + "\n");
  return file->Close() && ok;
}

// Which windows the program disabled: EnableWindow answers with the earlier
// state, as Windows does.
std::map<HWND, bool>& DisabledWindows() {
  static std::map<HWND, bool> disabled;
  return disabled;
}

} // namespace

BOOL EnableWindow(HWND window, BOOL enable) {
  AppendLine("EnableWindow " + std::to_string(window) + (enable ? " TRUE" : " FALSE"));
  bool& disabled = DisabledWindows()[window];
  BOOL was_disabled = disabled ? TRUE : FALSE;
  disabled = !enable;
  return was_disabled;
}

BOOL SetForegroundWindow(HWND window) {
  return AppendLine("SetForegroundWindow " + std::to_string(window)) ? TRUE : FALSE;
}

BOOL PostMessage(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
  return AppendLine("PostMessage " + std::to_string(window) + " msg=" + std::to_string(message) +
                    " wParam=" + std::to_string(wparam) + " lParam=" + std::to_string(lparam))
             ? TRUE
             : FALSE;
}

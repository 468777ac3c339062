// GetPrivateProfileString over IniFile and the file-system seam.
#include <string>
#include <string_view>

#include "platform/env.h"
#include "platform/ini_file.h"
#include "platform/mbcs.h"
#include "platform/win_api.h"
#include "platform/win_path.h"

namespace {

// Windows looks for a profile named without any folder in the Windows
// folder, not in the current one.
std::string ProfilePath(std::string_view file_name) {
  if (stmtlink::MbcsFind(file_name, '\\') == std::string_view::npos &&
      stmtlink::MbcsFind(file_name, '/') == std::string_view::npos &&
      stmtlink::MbcsFind(file_name, ':') == std::string_view::npos)
    return "C:\\Windows\\" + std::string(file_name);
  return std::string(file_name);
}

bool ReadValue(const char* section, const char* key, const char* file_name, std::string* value) {
  if (section == nullptr || key == nullptr || file_name == nullptr || file_name[0] == '\0')
    return false;
  std::string linux_path, content;
  if (!stmtlink::WindowsToLinuxPath(ProfilePath(file_name), &linux_path) ||
      !stmtlink::ReadFileUpTo(stmtlink::Env::Current(), linux_path, stmtlink::kMaxProfileBytes,
                              &content))
    return false;
  return stmtlink::IniFile::Parse(content).Get(section, key, value);
}

} // namespace

DWORD GetPrivateProfileString(const char* section, const char* key, const char* default_value,
                              char* buf, DWORD size, const char* file_name) {
  if (buf == nullptr || size == 0) return 0;
  std::string value;
  if (!ReadValue(section, key, file_name, &value)) {
    // Windows drops the trailing blanks of the default.
    std::string_view fallback = default_value != nullptr ? default_value : "";
    while (!fallback.empty() && fallback.back() == ' ') fallback.remove_suffix(1);
    value = fallback;
  }
  return static_cast<DWORD>(stmtlink::MbcsCopy(buf, size, value));
}

#include "dialog/path_checks.h"

#include <string>

#include "dialog/path_parts.h"
#include "dialog/remembered_conditions.h"
#include "platform/host_home.h"
#include "platform/mbcs.h"
#include "platform/same_file.h"
#include "platform/win_api.h"
#include "platform/win_path.h"

namespace stmtlink {
namespace {

constexpr std::size_t npos = std::string_view::npos;

bool StartsAsNetworkPath(std::string_view path) {
  return path.size() >= 2 && path[0] == '\\' && path[1] == '\\';
}

bool IsForbidden(char c) {
  switch (c) {
    case '/': case ':': case ',': case ';': case '*':
    case '?': case '"': case '>': case '<': case '|':
      return true;
    default:
      return false;
  }
}

} // namespace

bool IsValidPathText(std::string_view path) {
  std::string_view checked;
  if (StartsAsNetworkPath(path)) {
    if (FindDoubledBackslash(path, 3) != npos) return false;
    checked = path.substr(2);
  } else {
    if (FindDoubledBackslash(path) != npos) return false;
    std::size_t colon = FindFirstChar(path, ':');
    checked = colon == npos ? path : path.substr(colon + 1);
  }
  for (std::size_t i = 0; i < checked.size(); i += MbcsCharLength(checked, i))
    if (MbcsCharLength(checked, i) == 1 && IsForbidden(checked[i])) return false;
  return true;
}

bool IsValidDrive(std::string_view path) {
  if (StartsAsNetworkPath(path)) {
    // "\\server\share\...": the share is everything before the backslash
    // that ends the share name; no such backslash, no share.
    std::string share;
    std::size_t server_end = FindFirstChar(path, '\\', 3);
    if (server_end != npos) {
      std::size_t share_end = FindFirstChar(path, '\\', server_end + 1);
      if (share_end != npos) share.assign(path.substr(0, share_end));
    }
    return !share.empty() && _access(share.c_str(), 6) == 0;
  }
  if (FindDoubledBackslash(path) != npos) return false;
  return !path.empty() && IsUsableDriveLetter(path[0], 6);
}

bool IsUsableDriveLetter(char letter, int access_mode) {
  char upper;
  if (letter >= 'A' && letter <= 'Z') upper = letter;
  else if (letter >= 'a' && letter <= 'z') upper = static_cast<char>(letter - 'a' + 'A');
  else return false;
  const char root[] = {upper, ':', '\\', '\0'};
  switch (GetDriveType(root)) {
    case DRIVE_UNKNOWN:
      return false;
    case DRIVE_NO_ROOT_DIR:
      return true;
    case DRIVE_REMOVABLE:
    case DRIVE_FIXED:
    case DRIVE_REMOTE:
      return _access(root, access_mode) == 0;
    case DRIVE_CDROM:
    case DRIVE_RAMDISK:
      return false;
    default:
      return true;
  }
}

bool NamesProgramInput(std::string_view path) {
  std::string target;
  if (!WindowsToLinuxPath(path, &target)) return false;
  std::string settings;
  const std::string settings_file = SettingsFilePath();
  if (!settings_file.empty() && !WindowsToLinuxPath(settings_file, &settings)) settings.clear();
  for (const std::string& input : {HostHomeFile("books.db"), HostHomeFile("host.ini"), settings})
    if (!input.empty() && IsSameFile(target, input)) return true;
  return false;
}

} // namespace stmtlink

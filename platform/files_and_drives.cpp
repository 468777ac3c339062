// GetDriveType, CreateDirectory, RemoveDirectory, GetTempPath and
// GetModuleFileName over the drive map and the file-system seam.
#include <string>
#include <string_view>

#include "platform/drive_map.h"
#include "platform/env.h"
#include "platform/mbcs.h"
#include "platform/path_chars.h"
#include "platform/same_file.h"
#include "platform/win_api.h"
#include "platform/win_path.h"

namespace {

constexpr std::size_t npos = std::string_view::npos;

using stmtlink::IsAsciiLetter;
using stmtlink::IsSeparator;

std::size_t FindSeparator(std::string_view s, std::size_t from) {
  std::size_t a = stmtlink::MbcsFind(s, '\\', from);
  std::size_t b = stmtlink::MbcsFind(s, '/', from);
  return a < b ? a : b;
}

// The root of the current folder: "C:\" or "\\server\share\".
bool CurrentRoot(std::string* root) {
  std::string linux_cwd, cwd;
  if (!stmtlink::Env::Current()->GetCurrentDir(&linux_cwd) ||
      !stmtlink::LinuxToWindowsPath(linux_cwd, &cwd))
    return false;
  const char* rest = PathSkipRoot(cwd.c_str());
  if (rest == nullptr) return false;
  root->assign(cwd.c_str(), static_cast<std::size_t>(rest - cwd.c_str()));
  return true;
}

// Whether the Linux path is the folder of a drive or share root (which
// Windows never removes).
bool IsMountRoot(const std::string& linux_path) {
  std::string windows_path;
  if (!stmtlink::LinuxToWindowsPath(linux_path, &windows_path)) return false;
  const char* rest = PathSkipRoot(windows_path.c_str());
  return rest != nullptr && *rest == '\0';
}

// Characters Windows refuses in a file or folder name: the wildcards and the
// other reserved marks, and control characters. Trail bytes are skipped.
bool HasCharacterWindowsRefuses(std::string_view path) {
  for (std::size_t i = 0; i < path.size(); i += stmtlink::MbcsCharLength(path, i)) {
    unsigned char c = static_cast<unsigned char>(path[i]);
    if (c < 0x20 || c == '?' || c == '*' || c == '"' || c == '<' || c == '>' || c == '|')
      return true;
  }
  return false;
}

// Whether the Linux folder is the process's current folder, which Windows
// keeps open and therefore never removes.
bool IsCurrentFolder(const std::string& linux_path) {
  std::string cwd;
  return stmtlink::Env::Current()->GetCurrentDir(&cwd) && stmtlink::IsSameFile(cwd, linux_path);
}

} // namespace

UINT GetDriveType(const char* root) {
  std::string current;
  std::string_view r = root != nullptr ? root : "";
  // No root, or "\" alone, names the root of the current folder.
  if (root == nullptr || r == "\\" || r == "/") {
    if (!CurrentRoot(&current)) return DRIVE_NO_ROOT_DIR;
    r = current;
  }
  const stmtlink::DriveMap& map = stmtlink::CurrentDriveMap();
  if (r.size() >= 2 && IsSeparator(r[0]) && IsSeparator(r[1])) {
    // "\\server\share" with at most one separator after the share.
    std::size_t server_end = FindSeparator(r, 2);
    if (server_end == npos || server_end == 2) return DRIVE_NO_ROOT_DIR;
    std::size_t share_end = FindSeparator(r, server_end + 1);
    if (share_end == server_end + 1) return DRIVE_NO_ROOT_DIR;
    if (share_end != npos && share_end + 1 != r.size()) return DRIVE_NO_ROOT_DIR;
    std::string_view server = r.substr(2, server_end - 2);
    std::string_view share = r.substr(server_end + 1, share_end == npos ? npos : share_end - server_end - 1);
    const stmtlink::DriveMount* mount = map.FindShare(server, share);
    return mount != nullptr ? mount->type : DRIVE_NO_ROOT_DIR;
  }
  // "C:\" or "C:"; a folder below a root is no root at all.
  if ((r.size() == 2 || (r.size() == 3 && IsSeparator(r[2]))) && IsAsciiLetter(r[0]) && r[1] == ':') {
    const stmtlink::DriveMount* mount = map.FindDrive(r[0]);
    return mount != nullptr ? mount->type : DRIVE_NO_ROOT_DIR;
  }
  return DRIVE_NO_ROOT_DIR;
}

BOOL CreateDirectory(const char* path, void* /*security_attributes*/) {
  std::string linux_path;
  if (path == nullptr || HasCharacterWindowsRefuses(path) ||
      !stmtlink::WindowsToLinuxPath(path, &linux_path))
    return FALSE;
  return stmtlink::Env::Current()->CreateDir(linux_path) ? TRUE : FALSE;
}

BOOL RemoveDirectory(const char* path) {
  std::string linux_path;
  if (path == nullptr || !stmtlink::WindowsToLinuxPath(path, &linux_path)) return FALSE;
  if (IsMountRoot(linux_path) || IsCurrentFolder(linux_path)) return FALSE;
  return stmtlink::Env::Current()->RemoveDir(linux_path) ? TRUE : FALSE;
}

DWORD GetTempPath(DWORD size, char* buf) {
  std::string path;
  if (!stmtlink::LinuxToWindowsPath(stmtlink::Env::Current()->TempDir(), &path)) return 0;
  if (!stmtlink::MbcsEndsWithBackslash(path)) path.push_back('\\');
  if (buf == nullptr || size <= path.size()) return static_cast<DWORD>(path.size() + 1);
  path.copy(buf, path.size());
  buf[path.size()] = '\0';
  return static_cast<DWORD>(path.size());
}

DWORD GetModuleFileName(HMODULE module, char* buf, DWORD size) {
  // Only the program itself is a module here; a failed call leaves the
  // buffer as it was, as Windows does.
  std::string linux_path, path;
  if (module != 0 || !stmtlink::Env::Current()->GetExecutablePath(&linux_path) ||
      !stmtlink::LinuxToWindowsPath(linux_path, &path)) {
    SetLastError(ERROR_MOD_NOT_FOUND);
    return 0;
  }
  if (size == 0) {
    SetLastError(ERROR_INSUFFICIENT_BUFFER);
    return 0;
  }
  if (buf == nullptr) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return 0;
  }
  std::size_t copied = stmtlink::MbcsCopy(buf, size, path);
  if (copied < path.size()) {
    // A cut path returns the buffer's size, so that a caller can tell it
    // from a path that fitted.
    SetLastError(ERROR_INSUFFICIENT_BUFFER);
    return size;
  }
  SetLastError(ERROR_SUCCESS);
  return static_cast<DWORD>(copied);
}

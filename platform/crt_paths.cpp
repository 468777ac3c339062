// _getcwd, _chdir, _access and _splitpath over the path translation.
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <string>
#include <string_view>

#include "platform/env.h"
#include "platform/mbcs.h"
#include "platform/path_chars.h"
#include "platform/win_api.h"
#include "platform/win_path.h"

namespace {

using stmtlink::IsAsciiLetter;

} // namespace

char* _getcwd(char* buf, int size) {
  std::string linux_cwd;
  std::string cwd;
  if (!stmtlink::Env::Current()->GetCurrentDir(&linux_cwd) ||
      !stmtlink::LinuxToWindowsPath(linux_cwd, &cwd)) {
    errno = ENOENT;
    return nullptr;
  }
  if (buf == nullptr) {
    // As the runtime does: a buffer of at least `size` bytes from malloc,
    // released by the caller with free().
    std::size_t bytes = cwd.size() + 1;
    if (size > 0 && static_cast<std::size_t>(size) > bytes) bytes = static_cast<std::size_t>(size);
    buf = static_cast<char*>(std::malloc(bytes));
    if (buf == nullptr) {
      errno = ENOMEM;
      return nullptr;
    }
  } else if (size <= 0 || cwd.size() + 1 > static_cast<std::size_t>(size)) {
    errno = ERANGE;
    return nullptr;
  }
  std::memcpy(buf, cwd.c_str(), cwd.size() + 1);
  return buf;
}

int _chdir(const char* path) {
  std::string linux_path;
  if (path == nullptr || !stmtlink::WindowsToLinuxPath(path, &linux_path)) return -1;
  return stmtlink::Env::Current()->ChangeDir(linux_path) ? 0 : -1;
}

int _access(const char* path, int mode) {
  std::string linux_path;
  if (path == nullptr || !stmtlink::WindowsToLinuxPath(path, &linux_path)) return -1;
  stmtlink::Env* env = stmtlink::Env::Current();
  if (!env->Access(linux_path, mode)) return -1;
  stmtlink::FileStatus status;
  if (stmtlink::EndsWithSeparator(path) && !(env->Stat(linux_path, &status) && status.is_directory))
    return -1;
  return 0;
}

void _splitpath(const char* path, char* drive, char* dir, char* fname, char* ext) {
  std::string_view p = path != nullptr ? path : "";
  std::string_view drive_part;
  if (p.size() >= 2 && IsAsciiLetter(p[0]) && p[1] == ':') {
    drive_part = p.substr(0, 2);
    p.remove_prefix(2);
  }
  // The last separator ends the directory, the last dot after it starts the
  // extension; both only as whole characters.
  std::size_t last_separator = std::string_view::npos;
  std::size_t last_dot = std::string_view::npos;
  for (std::size_t i = 0; i < p.size(); i += stmtlink::MbcsCharLength(p, i)) {
    if (stmtlink::MbcsCharLength(p, i) != 1) continue;
    if (p[i] == '\\' || p[i] == '/') last_separator = i;
    else if (p[i] == '.') last_dot = i;
  }
  std::size_t name_start = last_separator == std::string_view::npos ? 0 : last_separator + 1;
  std::string_view dir_part = p.substr(0, name_start);
  std::string_view name_part = p.substr(name_start);
  std::string_view ext_part;
  if (last_dot != std::string_view::npos && last_dot >= name_start) {
    name_part = p.substr(name_start, last_dot - name_start);
    ext_part = p.substr(last_dot);
  }
  // Parts longer than their buffers are cut, as the runtime does, but never
  // inside a double-byte character.
  stmtlink::MbcsCopy(drive, _MAX_DRIVE, drive_part);
  stmtlink::MbcsCopy(dir, _MAX_DIR, dir_part);
  stmtlink::MbcsCopy(fname, _MAX_FNAME, name_part);
  stmtlink::MbcsCopy(ext, _MAX_EXT, ext_part);
}

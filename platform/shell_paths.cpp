// The shell's path functions: PathFileExists, PathSkipRoot, PathStripToRoot.
// Like the shell, these know only the backslash as a separator, and find it
// double-byte aware.
#include <cstring>
#include <string>
#include <string_view>

#include "platform/env.h"
#include "platform/mbcs.h"
#include "platform/win_api.h"
#include "platform/win_path.h"

namespace {

constexpr std::size_t npos = std::string_view::npos;

bool IsDriveRootStart(std::string_view p) {
  // The shell takes any single-byte character before the colon.
  return p.size() >= 2 && !_ismbblead(static_cast<unsigned char>(p[0])) && p[1] == ':';
}

// The shell's idea of a root: "\", "X:\" with any single-byte character X,
// "\\", "\\server" and "\\server\share" (no backslash after the share,
// none right after the server).
bool IsShellRoot(std::string_view p) {
  if (p.empty()) return false;
  if (p == "\\") return true;
  if (p.size() == 3 && IsDriveRootStart(p) && p[2] == '\\') return true;
  if (p.size() >= 2 && p[0] == '\\' && p[1] == '\\') {
    int backslashes = 0;
    for (std::size_t i = 2; i < p.size(); i += stmtlink::MbcsCharLength(p, i)) {
      if (p[i] != '\\') continue;
      if (++backslashes > 1 || i + 1 == p.size()) return false;
    }
    return true;
  }
  return false;
}

// Drops the last name and its backslash, keeping the root's backslash of
// "C:\" and "\"; false when there was nothing to drop.
bool RemoveFileSpec(char* path) {
  std::string_view p(path);
  std::size_t cut = 0;
  for (std::size_t i = 0; i < p.size(); i += stmtlink::MbcsCharLength(p, i)) {
    if (p[i] == '\\') {
      cut = i;
    } else if (p[i] == ':') {
      if (i + 1 < p.size() && p[i + 1] == '\\') ++i;
      cut = i + 1;
    }
  }
  if (cut == p.size()) return false;
  // "\a" keeps "\", "\\a" keeps "\\"; a lone "\" cannot lose more.
  if ((cut == 0 && p[0] == '\\') || (cut == 1 && p[0] == '\\' && p[1] == '\\')) {
    if (cut + 1 == p.size()) return false;
    path[cut + 1] = '\0';
    return true;
  }
  path[cut] = '\0';
  return true;
}

} // namespace

BOOL PathFileExists(const char* path) {
  std::string linux_path;
  if (path == nullptr || !stmtlink::WindowsToLinuxPath(path, &linux_path)) return FALSE;
  stmtlink::FileStatus status;
  if (!stmtlink::Env::Current()->Stat(linux_path, &status)) return FALSE;
  return (status.is_directory || !stmtlink::EndsWithSeparator(path)) ? TRUE : FALSE;
}

const char* PathSkipRoot(const char* path) {
  if (path == nullptr || path[0] == '\0') return nullptr;
  std::string_view p(path);
  if (p.size() >= 2 && p[0] == '\\' && p[1] == '\\') {
    // "\\server\share\rest": the root ends after the share's backslash.
    std::size_t server_end = stmtlink::MbcsFind(p, '\\', 2);
    if (server_end == npos) return nullptr;
    std::size_t share_end = stmtlink::MbcsFind(p, '\\', server_end + 1);
    if (share_end == npos) return nullptr;
    return path + share_end + 1;
  }
  if (p.size() >= 3 && IsDriveRootStart(p) && p[2] == '\\') return path + 3;
  return nullptr;
}

char* PathSkipRoot(char* path) {
  return const_cast<char*>(PathSkipRoot(static_cast<const char*>(path)));
}

BOOL PathStripToRoot(char* path) {
  if (path == nullptr) return FALSE;
  // The shell strips one name at a time until what is left is a root.
  while (!IsShellRoot(path))
    if (!RemoveFileSpec(path)) return FALSE;
  return TRUE;
}

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
  std::string_view p(path);
  if (p.size() >= 2 && p[0] == '\\' && p[1] == '\\') {
    // "\\server\share\x" -> "\\server\share"; "\\server" is a root itself.
    std::size_t server_end = stmtlink::MbcsFind(p, '\\', 2);
    if (server_end != npos) {
      std::size_t share_end = stmtlink::MbcsFind(p, '\\', server_end + 1);
      if (share_end != npos) path[share_end] = '\0';
    }
    return TRUE;
  }
  if (!p.empty() && p[0] == '\\') {
    path[1] = '\0';
    return TRUE;
  }
  if (IsDriveRootStart(p)) {
    // "C:\..." keeps "C:\"; "C:" and "C:name" have no root, and the shell
    // leaves "C:" behind.
    bool rooted = p.size() >= 3 && p[2] == '\\';
    path[rooted ? 3 : 2] = '\0';
    return rooted ? TRUE : FALSE;
  }
  // A relative path has no root: the shell strips it to nothing.
  path[0] = '\0';
  return FALSE;
}

// The shell's path functions: PathFileExists, PathSkipRoot, PathStripToRoot.
// Like the shell, these know only the backslash as a separator, and find it
// double-byte aware.
#include <string>
#include <string_view>

#include "platform/env.h"
#include "platform/mbcs.h"
#include "platform/path_chars.h"
#include "platform/win_api.h"
#include "platform/win_path.h"

namespace {

constexpr std::size_t npos = std::string_view::npos;

bool IsDriveRootStart(std::string_view p) {
  // The shell takes any single-byte character before the colon.
  return p.size() >= 2 && !_ismbblead(static_cast<unsigned char>(p[0])) && p[1] == ':';
}

// Length of the root that PathStripToRoot keeps; npos when the path has
// none. Backslashes are found double-byte aware, so the trail byte 0x5C of
// "表" or "ソ" never ends a server or share name.
std::size_t StripRootLength(std::string_view p) {
  // "X:" with a letter, and its backslash when one follows ("/" does not
  // count).
  if (p.size() >= 2 && stmtlink::IsAsciiLetter(p[0]) && p[1] == ':')
    return (p.size() > 2 && p[2] == '\\') ? 3 : 2;
  if (p.empty() || p[0] != '\\') return npos;
  // "\name": the root of the current drive.
  if (p.size() == 1 || p[1] != '\\') return 1;
  // The long-path prefix is no root to the narrow calls, whatever follows.
  if (p.size() > 2 && p[2] == '?') return npos;
  // "\\server\share": the server, then at most one more name; an empty
  // share keeps no backslash after the server ("\\s\\x" gives "\\s").
  std::size_t server_end = stmtlink::MbcsFind(p, '\\', 2);
  if (server_end == npos) return p.size();
  std::size_t share_end = stmtlink::MbcsFind(p, '\\', server_end + 1);
  if (share_end == npos) share_end = p.size();
  return share_end == server_end + 1 ? server_end : share_end;
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
  const std::size_t root_length = StripRootLength(path);
  if (root_length == npos) {
    path[0] = '\0';
    return FALSE;
  }
  path[root_length] = '\0';
  return TRUE;
}

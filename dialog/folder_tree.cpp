#include "dialog/folder_tree.h"

#include <vector>

#include "dialog/path_parts.h"
#include "platform/mbcs.h"
#include "platform/win_api.h"
#include "platform/win_path.h"

namespace stmtlink {
namespace {

// NormalizeFolder, then a trailing backslash by the byte rules of folder
// creation: false when the folder is empty, longer than a path may be, or
// has no room for the backslash.
bool PrepareFolder(std::string_view folder, std::string* out) {
  if (folder.empty() || folder.size() >= kPathBufferSize) return false;
  std::string path(folder);
  if (!NormalizeFolder(&path) || path.empty()) return false;
  if (IsInDoubleByteChar(path, path.size() - 1) || path.back() != '\\') {
    if (path.size() >= kPathBufferSize - 1) return false;
    path.push_back('\\');
  }
  *out = std::move(path);
  return true;
}

// The root of a prepared folder ("C:\", "\\server\share\") and the rest
// after it; false when the path has no root.
bool SplitRoot(const std::string& path, std::string* root, std::string* rest) {
  const char* after_root = PathSkipRoot(path.c_str());
  if (after_root == nullptr) return false;
  *rest = after_root;
  std::string stripped = path;
  if (!PathStripToRoot(stripped.data())) return false;
  stripped.resize(std::char_traits<char>::length(stripped.c_str()));
  if (!AppendSeparator(&stripped, kPathBufferSize)) return false;
  *root = std::move(stripped);
  return true;
}

// Indexes of the backslashes of s that are characters of their own.
std::vector<std::size_t> BackslashIndexes(std::string_view s) {
  std::vector<std::size_t> found;
  for (std::size_t i = 0; i < s.size(); i += MbcsCharLength(s, i))
    if (s[i] == '\\' && MbcsCharLength(s, i) == 1) found.push_back(i);
  return found;
}

bool IsDirectory(const std::string& path) {
  FileStatus status;
  return WindowsPathStatus(path, &status) && status.is_directory;
}

} // namespace

bool WindowsPathStatus(std::string_view path, FileStatus* status) {
  std::string linux_path;
  if (path.empty() || !WindowsToLinuxPath(path, &linux_path)) return false;
  FileStatus found;
  if (!Env::Current()->Stat(linux_path, &found)) return false;
  // A path ending in a separator names a folder only, as on Windows.
  if (EndsWithSeparator(path) && !found.is_directory) return false;
  if (status != nullptr) *status = found;
  return true;
}

bool NormalizeFolder(std::string* path) {
  char drive[_MAX_DRIVE] = {};
  char dir[_MAX_DIR] = {};
  _splitpath(path->c_str(), drive, dir, nullptr, nullptr);
  std::string folder = std::string(drive) + dir;
  if (folder.empty()) return false;
  if (MbcsEndsWithDoubleByte(folder) || (folder.back() != '\\' && folder.size() < path->size()))
    folder.push_back('\\');
  *path = std::move(folder);
  return true;
}

bool IsExistingFolder(std::string_view path) {
  std::string folder(path);
  NormalizeFolder(&folder); // nothing left: the path as given
  return IsDirectory(folder);
}

bool CreateFolderTree(std::string_view folder) {
  std::string path, root, rest;
  if (!PrepareFolder(folder, &path)) return false;
  // A root alone is never created: it exists or it cannot be made.
  if (!SplitRoot(path, &root, &rest) || rest.empty()) return false;

  std::string last_existing = root;
  for (std::size_t i : BackslashIndexes(rest)) {
    std::string prefix = root + rest.substr(0, i);
    if (!AppendSeparator(&prefix, kPathBufferSize)) return false;
    if (IsExistingFolder(prefix)) {
      last_existing = prefix;
      continue;
    }
    if (!CreateDirectory(prefix.c_str(), nullptr)) {
      RemoveCreatedFolders(prefix, last_existing);
      return false;
    }
  }
  return true;
}

bool RemoveCreatedFolders(std::string_view path, std::string_view stop) {
  std::string folder, stop_folder, root, rest, stop_root, stop_rest;
  if (!PrepareFolder(path, &folder) || !PrepareFolder(stop, &stop_folder)) return false;
  if (!SplitRoot(folder, &root, &rest) || !SplitRoot(stop_folder, &stop_root, &stop_rest)) return false;
  if (!MbcsEqualsIgnoreAsciiCase(root, stop_root)) return false;
  if (rest.size() < stop_rest.size() ||
      !MbcsEqualsIgnoreAsciiCase(std::string_view(rest).substr(0, stop_rest.size()), stop_rest))
    return false;

  std::vector<std::size_t> separators = BackslashIndexes(rest);
  for (auto it = separators.rbegin(); it != separators.rend(); ++it) {
    const std::size_t k = *it;
    if (k < 1) break;
    // The stop folder is reached: it and everything above it stay.
    if (stop_rest.size() >= k &&
        MbcsEqualsIgnoreAsciiCase(std::string_view(stop_rest).substr(0, k),
                                  std::string_view(rest).substr(0, k)))
      break;
    std::string candidate = root + rest.substr(0, k) + "\\";
    if (IsExistingFolder(candidate) && !RemoveDirectory(candidate.c_str())) return false;
  }
  return true;
}

} // namespace stmtlink

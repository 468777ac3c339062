#include "platform/win_path.h"

#include <vector>

#include "platform/drive_map.h"
#include "platform/env.h"
#include "platform/mbcs.h"
#include "platform/path_chars.h"
#include "platform/text_codec.h"

namespace stmtlink {
namespace {

// A resolved Windows path: a mounted root and the names below it (CP932).
struct Location {
  const DriveMount* mount = nullptr;
  std::vector<std::string> names;
};

// Splits at "\" and "/" (whole characters only); empty names are dropped,
// as Windows collapses doubled separators.
std::vector<std::string_view> SplitWindows(std::string_view path) {
  std::vector<std::string_view> names;
  std::size_t start = 0;
  for (std::size_t i = 0; i <= path.size();) {
    std::size_t len = i < path.size() ? MbcsCharLength(path, i) : 1;
    if (i == path.size() || (len == 1 && IsSeparator(path[i]))) {
      if (i > start) names.push_back(path.substr(start, i - start));
      start = i + 1;
    }
    i += len;
  }
  return names;
}

std::vector<std::string_view> SplitLinux(std::string_view path) {
  std::vector<std::string_view> names;
  std::size_t start = 0;
  for (std::size_t i = 0; i <= path.size(); ++i) {
    if (i == path.size() || path[i] == '/') {
      if (i > start) names.push_back(path.substr(start, i - start));
      start = i + 1;
    }
  }
  return names;
}

// Appends one name, resolving "." and ".."; ".." stops at the root, as on
// Windows.
template <typename Name>
void Push(std::vector<Name>* names, std::string_view name) {
  if (name == ".") return;
  if (name == "..") {
    if (!names->empty()) names->pop_back();
    return;
  }
  names->emplace_back(name);
}

// The Windows location of an absolute Linux path.
bool LocateLinux(std::string_view linux_path, Location* out) {
  if (linux_path.empty() || linux_path.front() != '/') return false;
  std::vector<std::string_view> names;
  for (std::string_view name : SplitLinux(linux_path)) Push(&names, name);
  std::string normalized;
  for (std::string_view name : names) normalized.append("/").append(name);
  const DriveMount* mount = CurrentDriveMap().FindByLinuxPath(normalized.empty() ? "/" : normalized);
  if (mount == nullptr) return false;
  std::size_t skip = SplitLinux(mount->linux_root).size();
  Location location;
  location.mount = mount;
  for (std::size_t i = skip; i < names.size(); ++i) {
    // A backslash in a Linux name would read back as a separator.
    if (names[i].find('\\') != std::string_view::npos) return false;
    std::string cp932;
    if (!Utf8ToCp932(names[i], &cp932)) return false;
    location.names.push_back(std::move(cp932));
  }
  *out = std::move(location);
  return true;
}

// Windows drops trailing dots and spaces from every name of a path: "out."
// and "out " name the folder "out", "r.xml." the file "r.xml". "." and ".."
// keep their meaning; a name of dots and spaces only is left as nothing.
std::string_view WindowsName(std::string_view name) {
  if (name == "." || name == "..") return name;
  while (!name.empty() && (name.back() == '.' || name.back() == ' ')) name.remove_suffix(1);
  return name.empty() ? std::string_view(".") : name;
}

bool CurrentLocation(Location* out) {
  std::string cwd;
  return Env::Current()->GetCurrentDir(&cwd) && LocateLinux(cwd, out);
}

bool Usable(const DriveMount* mount) { return mount != nullptr && DriveMap::HasFolder(*mount); }

} // namespace

bool WindowsToLinuxPath(std::string_view windows_path, std::string* linux_path) {
  std::string_view path = windows_path;
  if (path.empty() || path.find('\0') != std::string_view::npos) return false;
  const DriveMap& map = CurrentDriveMap();
  Location location;
  if (path.size() >= 2 && IsSeparator(path[0]) && IsSeparator(path[1])) {
    std::vector<std::string_view> names = SplitWindows(path.substr(2));
    if (names.size() < 2) return false;
    location.mount = map.FindShare(names[0], names[1]);
    if (!Usable(location.mount)) return false;
    // The names below the share follow its name (views into `path`).
    path.remove_prefix(static_cast<std::size_t>(names[1].data() - path.data()) + names[1].size());
  } else if (path.size() >= 2 && IsAsciiLetter(path[0]) && path[1] == ':') {
    const DriveMount* mount = map.FindDrive(path[0]);
    if (!Usable(mount)) return false;
    path.remove_prefix(2);
    // "C:name" is relative to the drive's current folder: ours when the
    // process stands on that drive, its root otherwise (Windows keeps no
    // per-drive folders for a process that never visited the drive).
    if ((path.empty() || !IsSeparator(path[0])) && CurrentLocation(&location) &&
        location.mount == mount) {
      // location already holds the current folder.
    } else {
      location = Location{mount, {}};
    }
  } else {
    if (!CurrentLocation(&location)) return false;
    if (IsSeparator(path[0])) location.names.clear(); // root of the current drive
  }
  for (std::string_view name : SplitWindows(path)) Push(&location.names, WindowsName(name));

  std::string result = location.mount->linux_root;
  for (const std::string& name : location.names) {
    std::string utf8;
    if (!Cp932ToUtf8(name, &utf8)) return false;
    result.append("/").append(utf8);
  }
  if (result.empty()) result.push_back('/');
  *linux_path = std::move(result);
  return true;
}

bool EndsWithSeparator(std::string_view windows_path) {
  return !windows_path.empty() && IsSeparator(windows_path.back()) &&
         !MbcsEndsWithDoubleByte(windows_path);
}

bool LinuxToWindowsPath(std::string_view linux_path, std::string* windows_path) {
  Location location;
  if (!LocateLinux(linux_path, &location)) return false;
  // Roots keep their backslash ("C:\", "\\server\share\"); folders below
  // them have none.
  std::string result = location.mount->root + "\\";
  for (std::size_t i = 0; i < location.names.size(); ++i) {
    if (i > 0) result.push_back('\\');
    result.append(location.names[i]);
  }
  *windows_path = std::move(result);
  return true;
}

bool IsLinuxStylePath(std::string_view path) {
  if (path.find('/') == std::string_view::npos || path.find('\\') != std::string_view::npos)
    return false;
  return !(path.size() >= 2 && IsAsciiLetter(path[0]) && path[1] == ':');
}

bool TypedLinuxPathToWindows(std::string_view typed_path, const std::string& base_dir,
                             std::string* windows_path) {
  if (typed_path.empty()) return false;
  std::string full;
  if (typed_path.front() != '/') {
    if (base_dir.empty()) return false;
    full = base_dir + "/";
  }
  full.append(typed_path);
  std::string result;
  if (!LinuxToWindowsPath(full, &result)) return false;
  // "/tmp/out/" names a folder; its Windows form says so too.
  if (typed_path.back() == '/' && !MbcsEndsWithBackslash(result)) result.push_back('\\');
  *windows_path = std::move(result);
  return true;
}

} // namespace stmtlink

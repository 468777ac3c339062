#include "platform/drive_map.h"

#include <utility>

#include "platform/env.h"
#include "platform/host_home.h"
#include "platform/ini_file.h"
#include "platform/mbcs.h"
#include "platform/path_chars.h"
#include "platform/text_codec.h"

namespace stmtlink {
namespace {

char UpperLetter(char c) { return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c; }
bool IsShareRoot(std::string_view root) { return root.size() > 2 && root[0] == '\\' && root[1] == '\\'; }

std::string_view Trim(std::string_view s) {
  while (!s.empty() && (s.front() == ' ' || s.front() == '\t')) s.remove_prefix(1);
  while (!s.empty() && (s.back() == ' ' || s.back() == '\t')) s.remove_suffix(1);
  return s;
}

bool ParseType(std::string_view name, UINT* type) {
  static const std::pair<const char*, UINT> kTypes[] = {
      {"fixed", DRIVE_FIXED},    {"removable", DRIVE_REMOVABLE}, {"remote", DRIVE_REMOTE},
      {"cdrom", DRIVE_CDROM},    {"ramdisk", DRIVE_RAMDISK},     {"noroot", DRIVE_NO_ROOT_DIR},
      {"unknown", DRIVE_UNKNOWN}};
  for (const auto& [text, value] : kTypes) {
    if (MbcsEqualsIgnoreAsciiCase(name, text)) {
      *type = value;
      return true;
    }
  }
  return false;
}

// Splits "\\server\share" (either separator) into its two names; false when
// either is missing or more follows.
bool SplitShareRoot(std::string_view root, std::string_view* server, std::string_view* share) {
  if (root.size() < 3 || !IsSeparator(root[0]) || !IsSeparator(root[1])) return false;
  std::string_view rest = root.substr(2);
  std::size_t sep = std::string_view::npos;
  for (std::size_t i = 0; i < rest.size(); i += MbcsCharLength(rest, i)) {
    if (!IsSeparator(rest[i]) || MbcsCharLength(rest, i) != 1) continue;
    if (sep != std::string_view::npos) return false;
    sep = i;
  }
  if (sep == std::string_view::npos || sep == 0 || sep + 1 == rest.size()) return false;
  *server = rest.substr(0, sep);
  *share = rest.substr(sep + 1);
  return true;
}

// The mount root for a [Drives] key ("D", "D:", "\\server\share"), CP932.
bool ParseRoot(std::string_view key, std::string* root) {
  if ((key.size() == 1 || (key.size() == 2 && key[1] == ':')) && IsAsciiLetter(key[0])) {
    *root = std::string(1, UpperLetter(key[0])) + ":";
    return true;
  }
  std::string_view server, share;
  if (!SplitShareRoot(key, &server, &share)) return false;
  *root = "\\\\" + std::string(server) + "\\" + std::string(share);
  return true;
}

// One [Drives] entry: "folder" or "folder,type"; false when it is unusable.
bool ParseMount(const std::string& home, std::string_view key_utf8, std::string_view value,
                DriveMount* mount) {
  std::string key;
  if (!Utf8ToCp932(Trim(key_utf8), &key) || !ParseRoot(key, &mount->root)) return false;
  std::string_view folder = value;
  mount->type = DRIVE_FIXED;
  std::size_t comma = value.rfind(',');
  if (comma != std::string_view::npos) {
    if (!ParseType(Trim(value.substr(comma + 1)), &mount->type)) return false;
    folder = value.substr(0, comma);
  }
  folder = Trim(folder);
  mount->linux_root.clear();
  if (!DriveMap::HasFolder(*mount)) return true;
  if (folder.empty()) return false;
  mount->linux_root = folder.front() == '/' ? std::string(folder) : home + "/" + std::string(folder);
  return true;
}

// Whether `path` lies in `root` (normalized; "" is "/").
bool IsUnder(std::string_view path, std::string_view root) {
  if (root.empty()) return !path.empty() && path.front() == '/';
  if (path.substr(0, root.size()) != root) return false;
  return path.size() == root.size() || path[root.size()] == '/';
}

} // namespace

bool DriveMap::HasFolder(const DriveMount& mount) {
  return mount.type != DRIVE_NO_ROOT_DIR && mount.type != DRIVE_UNKNOWN;
}

DriveMap DriveMap::Defaults(const std::string& home) {
  DriveMap map;
  map.Add({"Z:", "", DRIVE_FIXED});
  map.Add({"C:", home + "/drive_c", DRIVE_FIXED});
  return map;
}

DriveMap DriveMap::FromHostHome(const std::string& home) {
  DriveMap map = Defaults(home);
  std::string text;
  if (!ReadFileUpTo(Env::Current(), home + "/host.ini", kMaxProfileBytes, &text)) return map;
  IniFile ini = IniFile::Parse(text);
  for (const std::string& key : ini.Keys("Drives")) {
    std::string value;
    DriveMount mount;
    if (ini.Get("Drives", key, &value) && ParseMount(home, key, value, &mount))
      map.Add(std::move(mount));
  }
  return map;
}

const DriveMount* DriveMap::FindDrive(char letter) const {
  if (!IsAsciiLetter(letter)) return nullptr;
  const std::string root = std::string(1, UpperLetter(letter)) + ":";
  for (const DriveMount& m : mounts_)
    if (m.root == root) return &m;
  return nullptr;
}

const DriveMount* DriveMap::FindShare(std::string_view server, std::string_view share) const {
  for (const DriveMount& m : mounts_) {
    std::string_view s, sh;
    if (IsShareRoot(m.root) && SplitShareRoot(m.root, &s, &sh) &&
        MbcsEqualsIgnoreAsciiCase(s, server) && MbcsEqualsIgnoreAsciiCase(sh, share))
      return &m;
  }
  return nullptr;
}

const DriveMount* DriveMap::FindByLinuxPath(std::string_view linux_path) const {
  const DriveMount* best = nullptr;
  for (int pass = 0; pass < 2; ++pass) { // drive letters first, then shares
    for (const DriveMount& m : mounts_) {
      if (IsShareRoot(m.root) != (pass == 1) || !HasFolder(m)) continue;
      if (!IsUnder(linux_path, m.linux_root)) continue;
      if (best == nullptr || m.linux_root.size() > best->linux_root.size()) best = &m;
    }
  }
  return best;
}

void DriveMap::Add(DriveMount mount) {
  if (mount.root.size() == 2 && mount.root[1] == ':') mount.root[0] = UpperLetter(mount.root[0]);
  while (!mount.linux_root.empty() && mount.linux_root.back() == '/') mount.linux_root.pop_back();
  for (DriveMount& m : mounts_) {
    if (MbcsEqualsIgnoreAsciiCase(m.root, mount.root)) {
      m = std::move(mount);
      return;
    }
  }
  mounts_.push_back(std::move(mount));
}

namespace {

struct DriveMapCache {
  bool valid = false;
  std::string home;
  DriveMap map;
};

DriveMapCache& Cache() {
  static DriveMapCache cache;
  return cache;
}

} // namespace

const DriveMap& CurrentDriveMap() {
  DriveMapCache& cache = Cache();
  if (!cache.valid || cache.home != HostHome()) {
    cache.map = DriveMap::FromHostHome(HostHome());
    cache.home = HostHome();
    cache.valid = true;
  }
  return cache.map;
}

void ReloadDriveMap() { Cache().valid = false; }

} // namespace stmtlink

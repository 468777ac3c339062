// The drives and network shares that Windows paths can name, mapped to Linux
// folders the way Wine's drive folders do:
//   Z:  is "/" (fixed),
//   C:  is <home>/drive_c (fixed),
//   other letters and \\server\share come from the [Drives] section of
//   <home>/host.ini, one line each:
//     D=/media/cdrom,cdrom
//     \\fileserver\share=/srv/share,remote
//   A mapped drive may name its type: fixed, removable, remote, cdrom,
//   ramdisk, noroot, unknown (fixed when left out). A "noroot" or "unknown"
//   drive needs no folder: "E=,noroot".
// A letter with no entry is a drive with no root directory, as on Windows.
// A "noroot" or "unknown" drive never stands for a folder, even when one is
// written. A relative folder is taken under the home. An entry whose type
// name is not one of the above, or that needs a folder and names none, is
// ignored (the drive stays unmapped). An entry may replace Z: or C:.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/win_types.h"

namespace stmtlink {

struct DriveMount {
  std::string root;       // "D:" or "\\SERVER\SHARE" (CP932, as written in host.ini)
  std::string linux_root; // folder it stands for, without trailing slash ("" for "/")
  UINT type = DRIVE_FIXED;
};

class DriveMap {
 public:
  // Z: and C: only, C: at <home>/drive_c.
  static DriveMap Defaults(const std::string& home);
  // Defaults plus the [Drives] section of <home>/host.ini (absent file: defaults).
  static DriveMap FromHostHome(const std::string& home);

  // True when the mount stands for a Linux folder (every type but noroot
  // and unknown).
  static bool HasFolder(const DriveMount& mount);

  // Letter a-z or A-Z; null when the drive is not mapped.
  const DriveMount* FindDrive(char letter) const;
  // Server and share compare without regard to ASCII case; null when unmapped.
  const DriveMount* FindShare(std::string_view server, std::string_view share) const;
  // The mount whose linux_root is the longest prefix of a Linux path (Z: as
  // the last resort); used to present Linux paths as Windows paths. The
  // path must be absolute and normalized (no "//", ".", ".." or trailing
  // slash); a prefix counts only at a component boundary. Of mounts with the
  // same folder the first added wins, a drive letter before a share.
  const DriveMount* FindByLinuxPath(std::string_view linux_path) const;

  // Adds a mount, replacing one of the same root (ASCII case ignored). The
  // letter of a drive root is stored in upper case and linux_root loses its
  // trailing slashes.
  void Add(DriveMount mount);

 private:
  std::vector<DriveMount> mounts_;
};

// The drive map of the current host home, read on first use and read again
// when HostHome() has changed. The reference stays valid until the next
// reload.
const DriveMap& CurrentDriveMap();
// Forgets the cached map (after SetHostHome or a change of host.ini).
void ReloadDriveMap();

} // namespace stmtlink

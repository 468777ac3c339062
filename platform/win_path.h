// Translation between the program's Windows paths (CP932, backslashes,
// drive letters, UNC shares) and Linux paths (UTF-8), over the drive map.
// Separators are recognised double-byte aware: the trail byte 0x5C of "表"
// stays part of the name. Both "\" and "/" separate; "." and ".." are
// resolved. Relative paths and drive-relative paths resolve against the
// current folder. Names compare exactly as Linux stores them.
// "C:name" resolves against the current folder when the process stands on
// C:, else against C:\ (a process keeps no folder for drives it never
// visited). ".." never climbs above a drive root or a share.
#pragma once

#include <string>
#include <string_view>

namespace stmtlink {

// False when the path names an unmapped drive or share, a drive without a
// root folder, or cannot be converted to UTF-8. The result is normalized and
// has no trailing slash ("/" for the root of Z:).
bool WindowsToLinuxPath(std::string_view windows_path, std::string* linux_path);
// The Windows form of an absolute Linux path, under the most specific
// mapped drive (Z: as the last resort): "C:\" and "\\server\share\" for
// roots, no trailing backslash below them. False when not convertible (a
// relative path, a name with no CP932 form or holding a backslash).
bool LinuxToWindowsPath(std::string_view linux_path, std::string* windows_path);

// True when the path ends in a separator (a whole character, "\" or "/"):
// such a path names a folder only, so "C:\file.txt\" does not exist even
// when C:\file.txt does, as on Windows.
bool EndsWithSeparator(std::string_view windows_path);

} // namespace stmtlink

// Translation between the program's Windows paths (CP932, backslashes,
// drive letters, UNC shares) and Linux paths (UTF-8), over the drive map.
// Separators are recognised double-byte aware: the trail byte 0x5C of "表"
// stays part of the name. Both "\" and "/" separate; "." and ".." are
// resolved. Relative paths and drive-relative paths resolve against the
// current folder. Names compare exactly as Linux stores them.
#pragma once

#include <string>
#include <string_view>

namespace stmtlink {

// False when the path names an unmapped drive or share, a drive without a
// root folder, or cannot be converted to UTF-8.
bool WindowsToLinuxPath(std::string_view windows_path, std::string* linux_path);
// The Windows form of an absolute Linux path, under the most specific
// mapped drive (Z: as the last resort). False when not convertible.
bool LinuxToWindowsPath(std::string_view linux_path, std::string* windows_path);

} // namespace stmtlink

// Translation between the program's Windows paths (CP932, backslashes,
// drive letters, UNC shares) and Linux paths (UTF-8), over the drive map.
// Separators are recognised double-byte aware: the trail byte 0x5C of "表"
// stays part of the name. Both "\" and "/" separate; "." and ".." are
// resolved. Trailing dots and spaces of every name are dropped, as Windows
// drops them ("C:\out.\r.xml." and "C:\out \r.xml" are "C:\out\r.xml").
// Relative paths and drive-relative paths resolve against the
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

// True when a path a user typed (UTF-8) is a Linux path, not a Windows one:
// it holds a "/" and no backslash, and starts with no drive letter
// ("/tmp/r.xml", "sub/r.xml", "../r.xml"). A bare name ("r.xml") is not:
// it means the same in both forms.
bool IsLinuxStylePath(std::string_view path);
// The Windows form of a Linux path a user typed (UTF-8), taken against the
// Linux folder base_dir when relative and on the most specific mapped drive
// (Z: as the last resort). A path ending in "/" keeps a trailing backslash.
// False as LinuxToWindowsPath, or when the path is relative and base_dir is
// empty.
bool TypedLinuxPathToWindows(std::string_view typed_path, const std::string& base_dir,
                             std::string* windows_path);

// True when the path ends in a separator (a whole character, "\" or "/"):
// such a path names a folder only, so "C:\file.txt\" does not exist even
// when C:\file.txt does, as on Windows.
bool EndsWithSeparator(std::string_view windows_path);

} // namespace stmtlink

// Folders of an output path: reducing a path to its folder, testing it,
// creating every missing folder from the root down, and removing again the
// folders that a failed creation made. CP932 Windows paths, double-byte
// aware; folder paths here end in a backslash.
#pragma once

#include <string>
#include <string_view>

#include "platform/env.h"

namespace stmtlink {

// Replaces *path by its drive and directory parts with a trailing
// backslash: a path ending in a backslash stays as it is, otherwise its last
// component is dropped. False (and *path untouched) when nothing is left.
bool NormalizeFolder(std::string* path);

// True when the folder of the path (as NormalizeFolder gives it) is an
// existing directory.
bool IsExistingFolder(std::string_view path);

// Creates every missing folder of the folder path, from the root down.
// True when all of them exist afterwards. When one cannot be created, the
// folders this call made are removed again (deepest first) and the deepest
// folder that existed before stays; false.
bool CreateFolderTree(std::string_view folder);

// Removes the empty folders of path from the deepest upwards, up to but not
// including the folder stop (which must be path itself or one of its
// ancestors on the same root, compared without regard to ASCII case; else
// nothing is removed). False when a removal fails.
bool RemoveCreatedFolders(std::string_view path, std::string_view stop);

// The file system's status of a Windows path; false when it does not
// exist or cannot be reached.
bool WindowsPathStatus(std::string_view path, FileStatus* status);

} // namespace stmtlink

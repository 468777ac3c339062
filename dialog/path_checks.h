// The checks an output path must pass before anything is written: its
// characters and its drive or network share. Paths are CP932 Windows paths;
// every scan is double-byte aware.
#pragma once

#include <string_view>

namespace stmtlink {

// False when the path holds a forbidden character (/ : , ; * ? " > < |)
// after its drive, or a doubled backslash (after the two that start a
// network path).
bool IsValidPathText(std::string_view path);

// False when the drive or network share of the path cannot take the file:
// a share must exist with read and write access; a drive letter must pass
// IsUsableDriveLetter.
bool IsValidDrive(std::string_view path);

// True when the letter names a drive that can be written: a drive with no
// root directory passes (nothing to ask yet), a removable, fixed or remote
// drive when its root allows access_mode (the runtime's modes), CD-ROM and
// RAM disk drives and drives of unknown type never, any other type always.
// Anything but a letter A-Z or a-z: false.
bool IsUsableDriveLetter(char letter, int access_mode);

// True when the path names one of the files the program reads: the books
// (books.db), host.ini or the edition's settings file. The report must
// never overwrite them.
bool NamesProgramInput(std::string_view path);

} // namespace stmtlink

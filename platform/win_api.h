// Windows and C runtime calls with their Windows semantics, on top of the
// path translation (win_path.h) and the file-system seam (env.h). All texts
// are CP932 bytes, all paths Windows paths.
#pragma once

#include "platform/win_types.h"

// C runtime.
// The current folder as a Windows path into buf[size]; null when it does not
// fit (size includes the terminator). A drive root reads "C:\", any other
// folder has no trailing backslash. A null buf gets a malloc'ed buffer of at
// least size bytes, which the caller frees, as the runtime does.
char* _getcwd(char* buf, int size);
// 0 on success, -1 when the folder does not exist or cannot be entered.
int _chdir(const char* path);
// 0 when the path exists and allows mode (0 exists, 2 write, 4 read, 6
// read/write), else -1.
int _access(const char* path, int mode);
// Splits a path into drive ("C:", 3 bytes), directory (with trailing
// backslash, 256), file name (256) and extension (with dot, 256); any output
// may be null. Double-byte aware. The drive is taken only from a letter and
// a colon at the start; a UNC path gives an empty drive and "\\server\share\..."
// in the directory. A part longer than its buffer is cut without splitting
// a double-byte character.
void _splitpath(const char* path, char* drive, char* dir, char* fname, char* ext);

constexpr int _MAX_DRIVE = 3;
constexpr int _MAX_DIR = 256;
constexpr int _MAX_FNAME = 256;
constexpr int _MAX_EXT = 256;

// Shell path functions.
BOOL PathFileExists(const char* path);
// Pointer just past the root ("C:\", "\\server\share\"); null when the path
// has no root ("C:", "\\server\share" without the last backslash, "\a",
// relative paths). Only the backslash separates, as in the shell.
const char* PathSkipRoot(const char* path);
char* PathSkipRoot(char* path);
// Cuts the path in place to its root. Gives Windows' answer (return value
// and what is left) in every case of Windows' own conformance runs. TRUE for
//   "X:" with an ASCII letter X, with its backslash when one follows:
//     "c:\a\b" -> "c:\", "Q:a", "Q:/a" and "Q:" -> "Q:" ("/" is not taken);
//   "\" and "\name...": "\a\b" -> "\";
//   "\\server\share...": "\\" with the server and at most one more name,
//     no backslash at the end; an empty share leaves the server alone:
//     "\\s\sh\x" -> "\\s\sh", "\\s\" and "\\s\\x" -> "\\s", "\\\\" -> "\\",
//     "\\.\C:\a" -> "\\.\C:" (the device prefix is just a server name).
// FALSE and an empty path for everything else: relative paths ("a\b"),
// drives that are no letter ("0:/a", "|:"), "", and every path starting
// with the long-path prefix "\\?" ("\\?\C:\a", "\\?\UNC\s\sh\a").
// Double-byte aware: the trail byte 0x5C of "表" ends no name. Null: FALSE.
BOOL PathStripToRoot(char* path);

// The calling thread's last error. Only the calls whose contract here
// names an error code set it.
DWORD GetLastError();
void SetLastError(DWORD error);

// Files and drives.
// root: "C:\" or "C:", "\\server\share\" or "\\server\share"; null or "\" is
// the root of the current folder. The type comes from the drive map (it
// does not depend on the folder existing, as a CD-ROM drive without a disc
// is still a CD-ROM drive); an unmapped drive or share and anything that is
// not a root give DRIVE_NO_ROOT_DIR.
UINT GetDriveType(const char* root);
// Creates one folder. Fails when the folder exists, its parent is missing,
// or the path holds a character Windows refuses in a name (? * " < > | or a
// control character). Trailing dots and spaces of the names are dropped
// (win_path.h): "C:\Temp\x." creates C:\Temp\x.
BOOL CreateDirectory(const char* path, void* security_attributes);
// Removes an empty folder. Fails for a drive or share root and for the
// process's current folder, which Windows keeps open.
BOOL RemoveDirectory(const char* path);
// The temporary folder with a trailing backslash; returns its length, or the
// size needed (terminator included) when size is too small.
DWORD GetTempPath(DWORD size, char* buf);
// The program's own full path as a Windows path, with Windows' answers in
// the cases its documentation and its own conformance runs show:
//   it fits in size bytes with its terminator: the path, its length, and
//     the last error ERROR_SUCCESS;
//   it does not (its length is size or more): the path cut to at most
//     size - 1 bytes (never splitting a double-byte character), terminated;
//     the return value is size and the last error ERROR_INSUFFICIENT_BUFFER;
//     a size of 0 writes nothing and returns 0, with that same error.
// Any module but 0 (the program) names no module here: 0, the last error
// ERROR_MOD_NOT_FOUND, and the buffer is not written to. A null buffer with
// a size: 0 and ERROR_INVALID_PARAMETER (Windows would fault). A program
// path with no Windows form: 0 and ERROR_MOD_NOT_FOUND, buffer untouched.
DWORD GetModuleFileName(HMODULE module, char* buf, DWORD size);

// Profile files (CP932 content). Copies the value, or the default when the
// file, section or key is missing (a null default reads as ""), cut to
// size - 1 bytes without splitting a double-byte character; returns the
// number of bytes copied. A present empty value reads as empty. Trailing
// spaces of the default are dropped, as Windows does. A file named without
// a folder is looked for in C:\Windows, as Windows does. The listing forms
// (null section or key) are not provided: they read as a missing key.
DWORD GetPrivateProfileString(const char* section, const char* key, const char* default_value,
                              char* buf, DWORD size, const char* file_name);

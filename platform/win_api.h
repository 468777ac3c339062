// Windows and C runtime calls with their Windows semantics, on top of the
// path translation (win_path.h) and the file-system seam (env.h). All texts
// are CP932 bytes, all paths Windows paths.
#pragma once

#include "platform/win_types.h"

// C runtime.
// The current folder as a Windows path into buf[size]; null when it does not
// fit (size includes the terminator).
char* _getcwd(char* buf, int size);
// 0 on success, -1 when the folder does not exist or cannot be entered.
int _chdir(const char* path);
// 0 when the path exists and allows mode (0 exists, 2 write, 4 read, 6
// read/write), else -1.
int _access(const char* path, int mode);
// Splits a path into drive ("C:", 3 bytes), directory (with trailing
// backslash, 256), file name (256) and extension (with dot, 256); any output
// may be null. Double-byte aware.
void _splitpath(const char* path, char* drive, char* dir, char* fname, char* ext);

constexpr int _MAX_DRIVE = 3;
constexpr int _MAX_DIR = 256;
constexpr int _MAX_FNAME = 256;
constexpr int _MAX_EXT = 256;

// Shell path functions.
BOOL PathFileExists(const char* path);
// Pointer just past the root ("C:\", "\\server\share\"); null when the path
// has no root.
const char* PathSkipRoot(const char* path);
char* PathSkipRoot(char* path);
// Cuts the path to its root in place; FALSE when it has none.
BOOL PathStripToRoot(char* path);

// Files and drives.
UINT GetDriveType(const char* root);
BOOL CreateDirectory(const char* path, void* security_attributes);
BOOL RemoveDirectory(const char* path);
// The temporary folder with a trailing backslash; returns its length, or the
// size needed (terminator included) when size is too small.
DWORD GetTempPath(DWORD size, char* buf);
// The program's own full path as a Windows path; returns the length copied
// (cut to size - 1 and terminated when too long, as Windows does).
DWORD GetModuleFileName(HMODULE module, char* buf, DWORD size);

// Profile files (CP932 content). Copies the value, or the default when the
// file, section or key is missing (a null default reads as ""), cut to
// size - 1 bytes without splitting a double-byte character; returns the
// number of bytes copied. A present empty value reads as empty.
DWORD GetPrivateProfileString(const char* section, const char* key, const char* default_value,
                              char* buf, DWORD size, const char* file_name);

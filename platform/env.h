// The file-system seam, in the manner of LevelDB's Env: every file-system
// call of the platform stand-ins goes through one Env, so that tests can make
// any of them fail on demand (full disk, short write, failed rename, failed
// directory creation). All paths here are Linux paths in UTF-8; the Windows
// stand-ins translate before they call.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

namespace stmtlink {

struct FileStatus {
  bool is_directory = false;
  std::uint64_t size = 0;
};

// A file open for writing. Append may buffer; Flush and Close push the data
// to the operating system. Any call after a failure fails too.
class WritableFile {
 public:
  virtual ~WritableFile() = default;
  virtual bool Append(std::string_view data) = 0;
  virtual bool Flush() = 0;
  // Flushes and has the operating system put the file's data on its disk
  // (fsync), so that a file reported written survives a crash.
  virtual bool Sync() = 0;
  // Flushes and closes; false when anything of the file did not reach the
  // operating system. Closing twice is harmless.
  virtual bool Close() = 0;
};

// A regular file open for reading from its start.
class SequentialFile {
 public:
  virtual ~SequentialFile() = default;
  // Reads up to n bytes into scratch and sets *read to their number (0 at
  // the end of the file); false on a read error.
  virtual bool Read(std::size_t n, char* scratch, std::size_t* read) = 0;
};

class Env {
 public:
  virtual ~Env() = default;

  // The process-wide environment: the real one unless a test installed
  // another with Set.
  static Env* Current();
  // Installs env (not owned) as the current environment; null restores the
  // real one. For tests.
  static void Set(Env* env);
  static Env* Real();

  // False when the path does not exist (or cannot be examined).
  virtual bool Stat(const std::string& path, FileStatus* status) = 0;
  // mode: 0 existence, 2 write, 4 read, 6 read and write (the runtime's
  // access modes); any other mode is refused.
  virtual bool Access(const std::string& path, int mode) = 0;
  virtual bool CreateDir(const std::string& path) = 0;
  // Removes an empty directory only.
  virtual bool RemoveDir(const std::string& path) = 0;
  virtual bool RemoveFile(const std::string& path) = 0;
  // Replaces `to` atomically when it exists.
  virtual bool Rename(const std::string& from, const std::string& to) = 0;
  // Reads a regular file whole; false for anything else (a FIFO, a device,
  // a directory), which could make the read wait or go on without end.
  virtual bool ReadFile(const std::string& path, std::string* contents) = 0;
  // Opens a regular file for reading; null when it is missing, cannot be
  // read, or is no regular file (as for ReadFile).
  virtual std::unique_ptr<SequentialFile> NewSequentialFile(const std::string& path) = 0;
  // Creates or truncates the file. Null on failure.
  virtual std::unique_ptr<WritableFile> NewWritableFile(const std::string& path) = 0;
  // Creates a new file where nothing exists yet: any entry at the path, a
  // symbolic link included, makes it fail (O_EXCL | O_NOFOLLOW), so that a
  // link planted there can never redirect the write. Null on failure.
  virtual std::unique_ptr<WritableFile> NewExclusiveFile(const std::string& path) = 0;
  // Opens the file for appending at its end, creating it when missing (for
  // logs that must survive an abnormal end). Null on failure.
  virtual std::unique_ptr<WritableFile> NewAppendableFile(const std::string& path) = 0;
  virtual bool GetCurrentDir(std::string* path) = 0;
  virtual bool ChangeDir(const std::string& path) = 0;
  // The running program's own file (from /proc/self/exe).
  virtual bool GetExecutablePath(std::string* path) = 0;
  // The temporary folder ($TMPDIR when it is an absolute path, else /tmp),
  // without a trailing slash ("/" stays "/").
  virtual std::string TempDir() = 0;
};

// At most max_bytes from the start of the regular file at path, through
// env; false when it cannot be opened or read. For readers that need only
// the start of a file whatever its size.
bool ReadFileUpTo(Env* env, const std::string& path, std::size_t max_bytes, std::string* contents);

} // namespace stmtlink

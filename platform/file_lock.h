// An exclusive lock held through a lock file, between processes and between
// threads of one process, for read-modify-write cycles on shared files
// (as LockFileEx serves on Windows). The lock file itself is left in place:
// removing it would let a second program lock a new file while a first
// still holds the old one.
#pragma once

#include <memory>
#include <string>

namespace stmtlink {

class FileLock {
 public:
  // Locks the Linux path (creating the file when missing), waiting up to
  // timeout_ms for another holder to let go; null when that fails. The lock
  // file is created with O_EXCL and opened without following links: a
  // symbolic link or anything but a regular file there is refused.
  static std::unique_ptr<FileLock> Acquire(const std::string& linux_path, int timeout_ms);
  ~FileLock();
  FileLock(const FileLock&) = delete;
  FileLock& operator=(const FileLock&) = delete;

 private:
  explicit FileLock(int fd) : fd_(fd) {}
  int fd_;
};

} // namespace stmtlink

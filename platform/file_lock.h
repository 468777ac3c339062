// An exclusive lock held through a lock file, between processes and between
// threads of one process, for read-modify-write cycles on shared files
// (as LockFileEx serves on Windows). The lock file is normally left in
// place. A holder may remove it before it lets go (to take away a folder
// it made): a waiter that then gets the lock of the removed file finds it
// gone from the path and locks the path anew, so that two holders never
// hold two different files of one name.
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

#include "platform/file_lock.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <ctime>

namespace stmtlink {

namespace {

// A new lock file, or the one an earlier holder left (never through a
// link); -1 when there is none to use.
int OpenLockFile(const std::string& linux_path) {
  int fd;
  do {
    fd = ::open(linux_path.c_str(), O_RDWR | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0666);
    if (fd < 0 && errno == EEXIST)
      fd = ::open(linux_path.c_str(), O_RDWR | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
  } while (fd < 0 && errno == EINTR);
  if (fd < 0) return -1;
  struct stat st;
  if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
    ::close(fd);
    return -1;
  }
  return fd;
}

// Whether the file locked through fd is still the one at the path: a
// holder may remove the lock file before it lets go, and a lock on the
// removed file would exclude nobody who opens the path anew.
bool StillAtPath(int fd, const std::string& linux_path) {
  struct stat held, named;
  return ::fstat(fd, &held) == 0 && ::lstat(linux_path.c_str(), &named) == 0 &&
         held.st_dev == named.st_dev && held.st_ino == named.st_ino;
}

} // namespace

std::unique_ptr<FileLock> FileLock::Acquire(const std::string& linux_path, int timeout_ms) {
  // flock locks belong to the open file, so two threads with their own
  // opens exclude each other as two processes do.
  // (<chrono> cannot be compiled to the program's code page; time.h can.)
  const struct timespec pause = {0, 5 * 1000 * 1000};
  int waited_ms = 0;
  for (;;) {
    const int fd = OpenLockFile(linux_path);
    if (fd < 0) return nullptr;
    for (;; waited_ms += 5) {
      if (::flock(fd, LOCK_EX | LOCK_NB) == 0) {
        if (StillAtPath(fd, linux_path)) return std::unique_ptr<FileLock>(new FileLock(fd));
        break; // locked a removed file: open the path again
      }
      if ((errno != EWOULDBLOCK && errno != EINTR) || waited_ms >= timeout_ms) {
        ::close(fd);
        return nullptr;
      }
      ::nanosleep(&pause, nullptr);
    }
    ::close(fd);
    if (waited_ms >= timeout_ms) return nullptr;
  }
}

FileLock::~FileLock() {
  ::flock(fd_, LOCK_UN);
  ::close(fd_);
}

} // namespace stmtlink

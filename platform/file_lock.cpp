#include "platform/file_lock.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <ctime>

namespace stmtlink {

std::unique_ptr<FileLock> FileLock::Acquire(const std::string& linux_path, int timeout_ms) {
  // A new lock file, or the one an earlier save left (never through a link).
  int fd;
  do {
    fd = ::open(linux_path.c_str(), O_RDWR | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0666);
    if (fd < 0 && errno == EEXIST)
      fd = ::open(linux_path.c_str(), O_RDWR | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
  } while (fd < 0 && errno == EINTR);
  if (fd < 0) return nullptr;
  struct stat st;
  if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
    ::close(fd);
    return nullptr;
  }
  // flock locks belong to the open file, so two threads with their own
  // opens exclude each other as two processes do.
  // (<chrono> cannot be compiled to the program's code page; time.h can.)
  const struct timespec pause = {0, 5 * 1000 * 1000};
  for (int waited_ms = 0;; waited_ms += 5) {
    if (::flock(fd, LOCK_EX | LOCK_NB) == 0) return std::unique_ptr<FileLock>(new FileLock(fd));
    if (errno != EWOULDBLOCK && errno != EINTR) break;
    if (waited_ms >= timeout_ms) break;
    ::nanosleep(&pause, nullptr);
  }
  ::close(fd);
  return nullptr;
}

FileLock::~FileLock() {
  ::flock(fd_, LOCK_UN);
  ::close(fd_);
}

} // namespace stmtlink

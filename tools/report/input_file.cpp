#include "tools/report/input_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

#include "tools/report/system_reasons.h"

namespace stmtlink::report {

int OpenRegularFile(const std::string& path, std::string* reason) {
  // A first look without opening, so that a device is never opened; then
  // the open file itself, in case the name was replaced in between.
  struct stat status {};
  if (stat(path.c_str(), &status) != 0) {
    *reason = FileReason(errno, FileUse::kReading);
    return -1;
  }
  if (!S_ISREG(status.st_mode)) {
    *reason = NotRegularReason(status.st_mode);
    return -1;
  }
  const int fd = open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NOCTTY | O_NONBLOCK);
  if (fd < 0) {
    *reason = FileReason(errno, FileUse::kReading);
    return -1;
  }
  if (fstat(fd, &status) != 0 || !S_ISREG(status.st_mode)) {
    *reason = NotRegularReason(status.st_mode);
    close(fd);
    return -1;
  }
  const int flags = fcntl(fd, F_GETFL);
  if (flags >= 0) fcntl(fd, F_SETFL, flags & ~O_NONBLOCK);
  return fd;
}

bool IsReadableRegularFile(const std::string& path, std::string* reason) {
  const int fd = OpenRegularFile(path, reason);
  if (fd < 0) return false;
  close(fd);
  return true;
}

} // namespace stmtlink::report

#include "platform/env.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace stmtlink {
namespace {

// Writes all of data to fd, retrying after interruptions and partial
// writes; false on the first real error (ENOSPC, EIO, ...).
bool WriteAll(int fd, const char* data, std::size_t size) {
  while (size > 0) {
    ssize_t n = ::write(fd, data, size);
    if (n < 0) {
      if (errno == EINTR) continue;
      return false;
    }
    if (n == 0) return false;
    data += n;
    size -= static_cast<std::size_t>(n);
  }
  return true;
}

// Buffers appends and writes them with write(2). A failure of any write or
// of close(2) is remembered, so that Close reports data that did not reach
// the operating system even when Append had already answered true.
class PosixWritableFile : public WritableFile {
 public:
  explicit PosixWritableFile(int fd) : fd_(fd) {}
  ~PosixWritableFile() override { Close(); }

  bool Append(std::string_view data) override {
    if (failed_ || fd_ < 0) return Fail();
    if (data.empty()) return true; // its data() may be null
    if (data.size() <= kBufferSize - used_) {
      std::memcpy(buffer_ + used_, data.data(), data.size());
      used_ += data.size();
      return true;
    }
    if (!Flush()) return false;
    if (data.size() < kBufferSize) {
      std::memcpy(buffer_, data.data(), data.size());
      used_ = data.size();
      return true;
    }
    if (!WriteAll(fd_, data.data(), data.size())) return Fail();
    written_ += data.size();
    StartWriteback();
    return true;
  }

  bool Flush() override {
    if (failed_ || fd_ < 0) return Fail();
    std::size_t n = used_;
    used_ = 0;
    if (!WriteAll(fd_, buffer_, n)) return Fail();
    written_ += n;
    StartWriteback();
    return true;
  }

  bool Sync() override {
    if (!Flush()) return false;
    int rc;
    do {
      rc = ::fsync(fd_);
    } while (rc != 0 && errno == EINTR);
    // A device or pipe that cannot be synced has taken the data all the
    // same (EINVAL, EROFS): that is no failure.
    return rc == 0 || errno == EINVAL || errno == EROFS || Fail();
  }

  bool Close() override {
    if (fd_ < 0) return !failed_;
    bool ok = Flush();
    if (::close(fd_) != 0) ok = false;
    fd_ = -1;
    if (!ok) failed_ = true;
    return ok;
  }

 private:
  static constexpr std::size_t kBufferSize = 64 * 1024;
  // A large file (the report with the general ledger is near a gigabyte)
  // has its written part handed to the disk every this many bytes, while
  // the program goes on writing: the fsync at the end then waits only for
  // the last part instead of for all of it.
  static constexpr std::uint64_t kWritebackEvery = 16u << 20;

  // Asks the kernel to start writing back what was written since the last
  // request, without waiting. Only a hint: an error (a pipe, a file system
  // without it) changes nothing, and Sync still reports whether the data
  // reached the disk.
  void StartWriteback() {
    if (written_ - handed_ < kWritebackEvery) return;
#ifdef SYNC_FILE_RANGE_WRITE
    ::sync_file_range(fd_, static_cast<off_t>(handed_), static_cast<off_t>(written_ - handed_),
                      SYNC_FILE_RANGE_WRITE);
#endif
    handed_ = written_;
  }

  bool Fail() {
    failed_ = true;
    return false;
  }

  int fd_;
  bool failed_ = false;
  std::size_t used_ = 0;
  std::uint64_t written_ = 0; // bytes passed to write(2)
  std::uint64_t handed_ = 0;  // of them, handed to writeback
  char buffer_[kBufferSize];
};

// Opens a regular file for reading: O_NONBLOCK so that a FIFO does not wait
// for a writer before it is refused. -1 on failure.
int OpenRegularForReading(const std::string& path) {
  int fd;
  do {
    fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
  } while (fd < 0 && errno == EINTR);
  if (fd < 0) return -1;
  struct stat st;
  if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
    ::close(fd);
    return -1;
  }
  return fd;
}

class PosixSequentialFile : public SequentialFile {
 public:
  explicit PosixSequentialFile(int fd) : fd_(fd) {}
  ~PosixSequentialFile() override { ::close(fd_); }

  bool Read(std::size_t n, char* scratch, std::size_t* read) override {
    *read = 0;
    while (*read < n) {
      const ssize_t got = ::read(fd_, scratch + *read, n - *read);
      if (got < 0 && errno == EINTR) continue;
      if (got < 0) return false;
      if (got == 0) break;
      *read += static_cast<std::size_t>(got);
    }
    return true;
  }

 private:
  int fd_;
};

std::unique_ptr<WritableFile> OpenForWriting(const std::string& path, int flags) {
  int fd;
  do {
    fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_CLOEXEC | flags, 0666);
  } while (fd < 0 && errno == EINTR);
  if (fd < 0) return nullptr;
  return std::make_unique<PosixWritableFile>(fd);
}

class PosixEnv : public Env {
 public:
  bool Stat(const std::string& path, FileStatus* status) override {
    struct stat st;
    if (::stat(path.c_str(), &st) != 0) return false;
    if (status != nullptr) {
      status->is_directory = S_ISDIR(st.st_mode);
      status->size = static_cast<std::uint64_t>(st.st_size);
    }
    return true;
  }

  bool Access(const std::string& path, int mode) override {
    int how;
    switch (mode) {
      case 0: how = F_OK; break;
      case 2: how = W_OK; break;
      case 4: how = R_OK; break;
      case 6: how = R_OK | W_OK; break;
      default: return false;
    }
    return ::access(path.c_str(), how) == 0;
  }

  bool CreateDir(const std::string& path) override { return ::mkdir(path.c_str(), 0777) == 0; }
  bool RemoveDir(const std::string& path) override { return ::rmdir(path.c_str()) == 0; }
  bool RemoveFile(const std::string& path) override { return ::unlink(path.c_str()) == 0; }

  bool Rename(const std::string& from, const std::string& to) override {
    return std::rename(from.c_str(), to.c_str()) == 0;
  }

  bool ReadFile(const std::string& path, std::string* contents) override {
    const int fd = OpenRegularForReading(path);
    if (fd < 0) return false;
    std::string data;
    char buffer[64 * 1024];
    bool ok = true;
    for (;;) {
      ssize_t n = ::read(fd, buffer, sizeof(buffer));
      if (n < 0 && errno == EINTR) continue;
      if (n < 0) ok = false;
      if (n <= 0) break;
      data.append(buffer, static_cast<std::size_t>(n));
    }
    ::close(fd);
    if (ok) *contents = std::move(data);
    return ok;
  }

  std::unique_ptr<SequentialFile> NewSequentialFile(const std::string& path) override {
    const int fd = OpenRegularForReading(path);
    if (fd < 0) return nullptr;
    return std::make_unique<PosixSequentialFile>(fd);
  }

  std::unique_ptr<WritableFile> NewWritableFile(const std::string& path) override {
    return OpenForWriting(path, O_TRUNC);
  }

  std::unique_ptr<WritableFile> NewExclusiveFile(const std::string& path) override {
    return OpenForWriting(path, O_EXCL | O_NOFOLLOW);
  }

  std::unique_ptr<WritableFile> NewAppendableFile(const std::string& path) override {
    return OpenForWriting(path, O_APPEND);
  }

  bool GetCurrentDir(std::string* path) override {
    std::string buffer(256, '\0');
    for (;;) {
      if (::getcwd(buffer.data(), buffer.size()) != nullptr) {
        buffer.resize(std::strlen(buffer.c_str()));
        *path = std::move(buffer);
        return true;
      }
      if (errno != ERANGE) return false;
      buffer.resize(buffer.size() * 2);
    }
  }

  bool ChangeDir(const std::string& path) override { return ::chdir(path.c_str()) == 0; }

  bool GetExecutablePath(std::string* path) override {
    std::string buffer(256, '\0');
    for (;;) {
      ssize_t n = ::readlink("/proc/self/exe", buffer.data(), buffer.size());
      if (n < 0) return false;
      // readlink does not say whether it cut the name: retry until it fits
      // with room to spare.
      if (static_cast<std::size_t>(n) < buffer.size()) {
        buffer.resize(static_cast<std::size_t>(n));
        *path = std::move(buffer);
        return true;
      }
      buffer.resize(buffer.size() * 2);
    }
  }

  std::string TempDir() override {
    const char* env = std::getenv("TMPDIR");
    std::string dir = (env != nullptr && env[0] == '/') ? env : "/tmp";
    while (dir.size() > 1 && dir.back() == '/') dir.pop_back();
    return dir;
  }
};

std::atomic<Env*>& Installed() {
  static std::atomic<Env*> env{nullptr};
  return env;
}

} // namespace

bool ReadFileUpTo(Env* env, const std::string& path, std::size_t max_bytes, std::string* contents) {
  std::unique_ptr<SequentialFile> file = env->NewSequentialFile(path);
  if (!file) return false;
  std::string data(max_bytes, '\0');
  std::size_t read = 0;
  if (!file->Read(max_bytes, data.data(), &read)) return false;
  data.resize(read);
  *contents = std::move(data);
  return true;
}

Env* Env::Real() {
  static PosixEnv* env = new PosixEnv; // never destroyed: usable during exit
  return env;
}

Env* Env::Current() {
  Env* env = Installed().load();
  return env != nullptr ? env : Real();
}

void Env::Set(Env* env) { Installed().store(env); }

} // namespace stmtlink

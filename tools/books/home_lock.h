// One writer of a host home at a time. The import and the sample replace
// books.db and host.ini and keep books.db.bak; two of them at once in one
// home would each displace the other's files. Each holds an advisory lock
// on <home>/.stmtlink-books.lock (platform/file_lock.h) from before it
// looks at the home until its files are in place; a second one waits for
// it, says so, and gives up in words after a while.
#pragma once

#include <functional>
#include <memory>
#include <string>

#include "platform/file_lock.h"

namespace stmtlink {

class HomeLock {
 public:
  static constexpr int kDefaultTimeoutMs = 60 * 1000;
  static constexpr const char* kFileName = ".stmtlink-books.lock";
  // Told once, before the wait, that another writer holds the home.
  using WaitNotice = std::function<void(const std::string& message)>;

  enum class Failure { kNone, kBusy, kNoLock };
  // Makes the home when missing and locks it, waiting up to timeout_ms for
  // another writer. Null with *error in words, and *failure: kBusy when
  // another writer held the home all that time, kNoLock when the home or
  // its lock file cannot be made or used.
  static std::unique_ptr<HomeLock> Acquire(const std::string& home, int timeout_ms,
                                           const WaitNotice& on_wait, Failure* failure,
                                           std::string* error);

  // Whether Acquire made the home folder.
  bool made_home() const { return made_home_; }
  // For a writer that made the home and leaves it with nothing written:
  // the lock file goes (while still held) and the home with it when empty,
  // as if it had never been made. A writer waiting for the lock then
  // starts again with a new home.
  void RemoveMadeHome();

 private:
  HomeLock(std::unique_ptr<FileLock> lock, std::string home, bool made_home)
      : lock_(std::move(lock)), home_(std::move(home)), made_home_(made_home) {}

  std::unique_ptr<FileLock> lock_;
  std::string home_;
  bool made_home_;
};

} // namespace stmtlink

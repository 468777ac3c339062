#include "tools/books/home_lock.h"

#include <unistd.h>

#include <filesystem>

#include "tools/books/books_language.h"

namespace stmtlink {
namespace {

namespace fs = std::filesystem;

std::string Seconds(int ms) {
  if (ms % 1000 == 0) return std::to_string(ms / 1000) + (ms == 1000 ? " second" : " seconds");
  return Say("{0} seconds", u8"{0} 秒",
             {std::to_string(ms / 1000) + "." + std::to_string(ms % 1000 / 100)});
}

// A lock file that can never be locked (a folder or a link at its name, no
// right to open it) is no writer to wait for.
bool UsableLockFile(const fs::path& path) {
  std::error_code ec;
  return fs::is_regular_file(fs::symlink_status(path, ec)) &&
         ::access(path.c_str(), R_OK | W_OK) == 0;
}

} // namespace

std::unique_ptr<HomeLock> HomeLock::Acquire(const std::string& home, int timeout_ms,
                                            const WaitNotice& on_wait, Failure* failure,
                                            std::string* error) {
  const fs::path lock_path = fs::path(home) / kFileName;
  *failure = Failure::kNoLock;
  // A writer that made the home and was refused removes it again: one that
  // waited for it then makes the home anew. A few rounds of that at most.
  for (int round = 0; round < 3; ++round) {
    std::error_code ec;
    const bool made = !fs::exists(home, ec);
    fs::create_directories(home, ec);
    if (ec) {
      *error = Say("cannot create the home {0}: {1}", u8"ホーム {0} を作れません: {1}",
                   {home, ec.message()});
      return nullptr;
    }
    std::unique_ptr<FileLock> lock = FileLock::Acquire(lock_path.string(), 0);
    if (!lock && UsableLockFile(lock_path)) {
      if (on_wait)
        on_wait(Say("Waiting for another import or sample into {0} to finish (at most {1})...",
                    u8"{0} への別のインポートかサンプルが終わるのを待っています (最長 {1})…",
                    {home, Seconds(timeout_ms)}));
      lock = FileLock::Acquire(lock_path.string(), timeout_ms);
    }
    if (lock) {
      *failure = Failure::kNone;
      return std::unique_ptr<HomeLock>(new HomeLock(std::move(lock), home, made));
    }
    if (fs::exists(home, ec)) {
      if (!UsableLockFile(lock_path)) {
        *error = Say("cannot lock the home {0}: {1} cannot be made or opened as a lock file",
                     u8"ホーム {0} をロックできません: {1} をロックファイルとして作るか開く"
                     u8"ことができません",
                     {home, lock_path.string()});
        return nullptr;
      }
      *failure = Failure::kBusy;
      *error = Say("another import or sample into {0} has not finished within {1}; nothing was "
                   "changed, try again when it has",
                   u8"{0} への別のインポートかサンプルが {1} たっても終わりません。何も変えて"
                   u8"いません。終わってからもう一度どうぞ",
                   {home, Seconds(timeout_ms)});
      return nullptr;
    }
  }
  *error = Say("cannot lock the home {0}: it was removed again while waiting for it",
               u8"ホーム {0} をロックできません: 待つ間に消されました", {home});
  return nullptr;
}

void HomeLock::RemoveMadeHome() {
  if (!made_home_) return;
  std::error_code ec;
  fs::remove(fs::path(home_) / kFileName, ec);
  fs::remove(home_, ec); // only when empty
  lock_.reset();
}

} // namespace stmtlink

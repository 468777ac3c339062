// The lock file's holder may remove it before it lets go: a waiter that
// then gets the lock of the removed file locks the path anew, so that no
// third locker can hold the path beside it.
#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <thread>

#include "platform/file_lock.h"
#include "tests/support/temp_dir.h"

namespace stmtlink {

TEST(FileLockTest, AWaiterOnARemovedLockFileLocksThePathAnew) {
  testing::TempDir dir;
  const std::string path = dir.File("home.lock");
  std::unique_ptr<FileLock> first = FileLock::Acquire(path, 0);
  ASSERT_TRUE(first != nullptr);
  EXPECT_EQ(nullptr, FileLock::Acquire(path, 20));
  std::unique_ptr<FileLock> second;
  std::thread waiter([&] { second = FileLock::Acquire(path, 20000); });
  usleep(300 * 1000); // the waiter has the file open by now
  std::filesystem::remove(path);
  first.reset();
  waiter.join();
  ASSERT_TRUE(second != nullptr);
  EXPECT_TRUE(std::filesystem::exists(path));
  EXPECT_EQ(nullptr, FileLock::Acquire(path, 0));
  second.reset();
  EXPECT_TRUE(FileLock::Acquire(path, 0) != nullptr);
}

} // namespace stmtlink

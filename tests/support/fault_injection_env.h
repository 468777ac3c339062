// An Env for tests that passes every call to a target Env (the real one by
// default) and fails the operations it was told to fail: a failed directory
// creation, rename or open, a full disk or short write, a failed close.
//
//   FaultInjectionEnv env;
//   env.FailAfter(FaultInjectionEnv::Op::kCreateDir, 1);  // second mkdir fails
//   env.SetDiskSpace(100);                                 // 101st byte fails
//   ScopedEnv use(&env);
//
// A fault stays until Clear(). Calls are counted per operation, failed ones
// included, so that tests can also check what was attempted.
#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/env.h"

namespace stmtlink {

class FaultInjectionEnv : public Env {
 public:
  enum class Op {
    kStat,
    kAccess,
    kCreateDir,
    kRemoveDir,
    kRemoveFile,
    kRename,
    kReadFile,
    kNewWritableFile, // also NewAppendableFile and NewExclusiveFile
    kAppend,
    kFlush,
    kSync,
    kClose,
    kGetCurrentDir,
    kChangeDir,
    kGetExecutablePath,
    kCount
  };

  explicit FaultInjectionEnv(Env* target = Env::Real());

  // Fails every call of op, on `linux_path` only when it is given (for file
  // operations: the file's path; for Rename: either path).
  void Fail(Op op, std::string linux_path = {}) { FailAfter(op, 0, std::move(linux_path)); }
  // As Fail, once `successes` matching calls have gone through.
  void FailAfter(Op op, int successes, std::string linux_path = {});
  // A disk with `bytes` free for all files written through this Env: the
  // Append that crosses the limit writes the part that fits and fails (a
  // short write), and the file fails from then on.
  void SetDiskSpace(std::uint64_t bytes);
  // Answers for GetExecutablePath and TempDir instead of the target's.
  void SetExecutablePath(std::string linux_path);
  void SetTempDir(std::string linux_path);
  // Removes every fault and override; counters stay.
  void Clear();

  int Calls(Op op) const { return calls_[static_cast<std::size_t>(op)]; }

  // Env.
  bool Stat(const std::string& path, FileStatus* status) override;
  bool Access(const std::string& path, int mode) override;
  bool CreateDir(const std::string& path) override;
  bool RemoveDir(const std::string& path) override;
  bool RemoveFile(const std::string& path) override;
  bool Rename(const std::string& from, const std::string& to) override;
  bool ReadFile(const std::string& path, std::string* contents) override; // kReadFile
  std::unique_ptr<SequentialFile> NewSequentialFile(const std::string& path) override; // kReadFile
  std::unique_ptr<WritableFile> NewWritableFile(const std::string& path) override;
  std::unique_ptr<WritableFile> NewExclusiveFile(const std::string& path) override;
  std::unique_ptr<WritableFile> NewAppendableFile(const std::string& path) override;
  bool GetCurrentDir(std::string* path) override;
  bool ChangeDir(const std::string& path) override;
  bool GetExecutablePath(std::string* path) override;
  std::string TempDir() override;

  // For the files this Env hands out: counts the call and answers whether
  // it must fail.
  bool ShouldFail(Op op, const std::string& path, const std::string& other_path = {});
  // Takes up to `wanted` bytes of the disk; returns how many fit.
  std::uint64_t Reserve(std::uint64_t wanted);

 private:
  struct Fault {
    Op op;
    std::string path;
    int successes_left;
  };

  Env* target_;
  std::vector<Fault> faults_;
  std::array<int, static_cast<std::size_t>(Op::kCount)> calls_{};
  std::optional<std::uint64_t> disk_space_;
  std::optional<std::string> executable_path_;
  std::optional<std::string> temp_dir_;
};

// Installs an Env for the life of the object and restores the earlier one.
class ScopedEnv {
 public:
  explicit ScopedEnv(Env* env) : previous_(Env::Current()) { Env::Set(env); }
  ~ScopedEnv() { Env::Set(previous_ == Env::Real() ? nullptr : previous_); }
  ScopedEnv(const ScopedEnv&) = delete;
  ScopedEnv& operator=(const ScopedEnv&) = delete;

 private:
  Env* previous_;
};

} // namespace stmtlink

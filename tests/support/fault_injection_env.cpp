#include "tests/support/fault_injection_env.h"

#include <algorithm>

namespace stmtlink {
namespace {

using Op = FaultInjectionEnv::Op;

// Wraps a target file: checks the faults before each call, and once a
// call failed every later one fails too, as the real file does.
class FaultyFile : public WritableFile {
 public:
  FaultyFile(FaultInjectionEnv* env, std::string path, std::unique_ptr<WritableFile> target)
      : env_(env), path_(std::move(path)), target_(std::move(target)) {}
  ~FaultyFile() override { target_->Close(); }

  bool Append(std::string_view data) override {
    if (failed_ || env_->ShouldFail(Op::kAppend, path_)) return Failed();
    std::uint64_t fits = env_->Reserve(data.size());
    bool ok = target_->Append(data.substr(0, static_cast<std::size_t>(fits)));
    return (ok && fits == data.size()) || Failed();
  }

  bool Flush() override {
    if (failed_ || env_->ShouldFail(Op::kFlush, path_)) return Failed();
    return target_->Flush() || Failed();
  }

  bool Sync() override {
    if (failed_ || env_->ShouldFail(Op::kSync, path_)) return Failed();
    return target_->Sync() || Failed();
  }

  bool Close() override {
    if (closed_) return !failed_;
    closed_ = true;
    bool fault = env_->ShouldFail(Op::kClose, path_);
    bool ok = target_->Close(); // the real file is closed in any case
    if (fault || !ok) failed_ = true;
    return !failed_;
  }

 private:
  bool Failed() {
    failed_ = true;
    return false;
  }

  FaultInjectionEnv* env_;
  std::string path_;
  std::unique_ptr<WritableFile> target_;
  bool failed_ = false;
  bool closed_ = false;
};

} // namespace

FaultInjectionEnv::FaultInjectionEnv(Env* target) : target_(target) {}

void FaultInjectionEnv::FailAfter(Op op, int successes, std::string linux_path) {
  faults_.push_back({op, std::move(linux_path), successes});
}

void FaultInjectionEnv::SetDiskSpace(std::uint64_t bytes) { disk_space_ = bytes; }
void FaultInjectionEnv::SetExecutablePath(std::string linux_path) { executable_path_ = std::move(linux_path); }
void FaultInjectionEnv::SetTempDir(std::string linux_path) { temp_dir_ = std::move(linux_path); }

void FaultInjectionEnv::Clear() {
  faults_.clear();
  disk_space_.reset();
  executable_path_.reset();
  temp_dir_.reset();
}

bool FaultInjectionEnv::ShouldFail(Op op, const std::string& path, const std::string& other_path) {
  ++calls_[static_cast<std::size_t>(op)];
  bool fail = false;
  for (Fault& fault : faults_) {
    if (fault.op != op) continue;
    if (!fault.path.empty() && fault.path != path && fault.path != other_path) continue;
    if (fault.successes_left > 0) {
      --fault.successes_left;
      continue;
    }
    fail = true;
  }
  return fail;
}

std::uint64_t FaultInjectionEnv::Reserve(std::uint64_t wanted) {
  if (!disk_space_) return wanted;
  std::uint64_t granted = std::min(wanted, *disk_space_);
  *disk_space_ -= granted;
  return granted;
}

bool FaultInjectionEnv::Stat(const std::string& path, FileStatus* status) {
  return !ShouldFail(Op::kStat, path) && target_->Stat(path, status);
}

bool FaultInjectionEnv::Access(const std::string& path, int mode) {
  return !ShouldFail(Op::kAccess, path) && target_->Access(path, mode);
}

bool FaultInjectionEnv::CreateDir(const std::string& path) {
  return !ShouldFail(Op::kCreateDir, path) && target_->CreateDir(path);
}

bool FaultInjectionEnv::RemoveDir(const std::string& path) {
  return !ShouldFail(Op::kRemoveDir, path) && target_->RemoveDir(path);
}

bool FaultInjectionEnv::RemoveFile(const std::string& path) {
  return !ShouldFail(Op::kRemoveFile, path) && target_->RemoveFile(path);
}

bool FaultInjectionEnv::Rename(const std::string& from, const std::string& to) {
  return !ShouldFail(Op::kRename, from, to) && target_->Rename(from, to);
}

bool FaultInjectionEnv::ReadFile(const std::string& path, std::string* contents) {
  return !ShouldFail(Op::kReadFile, path) && target_->ReadFile(path, contents);
}

std::unique_ptr<SequentialFile> FaultInjectionEnv::NewSequentialFile(const std::string& path) {
  if (ShouldFail(Op::kReadFile, path)) return nullptr;
  return target_->NewSequentialFile(path);
}

std::unique_ptr<WritableFile> FaultInjectionEnv::NewWritableFile(const std::string& path) {
  if (ShouldFail(Op::kNewWritableFile, path)) return nullptr;
  std::unique_ptr<WritableFile> file = target_->NewWritableFile(path);
  if (file == nullptr) return nullptr;
  return std::make_unique<FaultyFile>(this, path, std::move(file));
}

std::unique_ptr<WritableFile> FaultInjectionEnv::NewExclusiveFile(const std::string& path) {
  if (ShouldFail(Op::kNewWritableFile, path)) return nullptr;
  std::unique_ptr<WritableFile> file = target_->NewExclusiveFile(path);
  if (file == nullptr) return nullptr;
  return std::make_unique<FaultyFile>(this, path, std::move(file));
}

std::unique_ptr<WritableFile> FaultInjectionEnv::NewAppendableFile(const std::string& path) {
  if (ShouldFail(Op::kNewWritableFile, path)) return nullptr;
  std::unique_ptr<WritableFile> file = target_->NewAppendableFile(path);
  if (file == nullptr) return nullptr;
  return std::make_unique<FaultyFile>(this, path, std::move(file));
}

bool FaultInjectionEnv::GetCurrentDir(std::string* path) {
  return !ShouldFail(Op::kGetCurrentDir, {}) && target_->GetCurrentDir(path);
}

bool FaultInjectionEnv::ChangeDir(const std::string& path) {
  return !ShouldFail(Op::kChangeDir, path) && target_->ChangeDir(path);
}

bool FaultInjectionEnv::GetExecutablePath(std::string* path) {
  if (ShouldFail(Op::kGetExecutablePath, {})) return false;
  if (executable_path_) {
    *path = *executable_path_;
    return true;
  }
  return target_->GetExecutablePath(path);
}

std::string FaultInjectionEnv::TempDir() { return temp_dir_ ? *temp_dir_ : target_->TempDir(); }

} // namespace stmtlink

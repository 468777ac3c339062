#include "platform/replacing_file.h"

#include <fcntl.h>
#include <unistd.h>

#include <atomic>
#include <filesystem>
#include <system_error>

#include "platform/env.h"

namespace stmtlink {
namespace {

namespace fs = std::filesystem;

// A symbolic link at the target stands for the file it names: that file is
// replaced, so the link keeps working.
std::string FollowLink(const std::string& target) {
  std::error_code ec;
  if (!fs::is_symlink(fs::symlink_status(target, ec))) return target;
  fs::path resolved = fs::weakly_canonical(fs::path(target), ec);
  return ec ? target : resolved.string();
}

ReplacingFile::OpenError CheckTarget(Env* env, const std::string& target) {
  FileStatus status;
  if (!env->Stat(target, &status)) return ReplacingFile::OpenError::kNone; // a new file
  std::error_code ec;
  if (status.is_directory || !fs::is_regular_file(fs::status(target, ec)))
    return ReplacingFile::OpenError::kNotAFile;
  if (!env->Access(target, 2)) return ReplacingFile::OpenError::kNotWritable;
  return ReplacingFile::OpenError::kNone;
}

std::string TemporaryName(const std::string& target) {
  static std::atomic<unsigned> counter{0};
  const std::size_t slash = target.rfind('/');
  const std::string folder = slash == std::string::npos ? std::string() : target.substr(0, slash + 1);
  const std::string name = slash == std::string::npos ? target : target.substr(slash + 1);
  return folder + "." + name + "." + std::to_string(::getpid()) + "-" +
         std::to_string(counter.fetch_add(1)) + ".tmp";
}

// Makes the rename itself survive a crash; a folder that cannot be synced
// (some file systems refuse) changes nothing of what was written.
void SyncFolderOf(const std::string& path) {
  const std::size_t slash = path.rfind('/');
  const std::string folder = slash == std::string::npos ? "." : (slash == 0 ? "/" : path.substr(0, slash));
  const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd < 0) return;
  ::fsync(fd);
  ::close(fd);
}

void Report(ReplacingFile::OpenError* error, ReplacingFile::OpenError value) {
  if (error != nullptr) *error = value;
}

} // namespace

ReplacingFile::ReplacingFile(Env* env, std::string target, std::string temporary,
                             std::unique_ptr<WritableFile> file)
    : env_(env), target_(std::move(target)), temporary_(std::move(temporary)), file_(std::move(file)) {}

ReplacingFile::~ReplacingFile() { Discard(); }

std::unique_ptr<ReplacingFile> ReplacingFile::Open(Env* env, const std::string& target,
                                                   OpenError* error) {
  std::string resolved, temporary;
  if (!PrepareReplacement(env, target, &resolved, &temporary, error)) return nullptr;
  // A name taken by another writer's temporary is skipped.
  for (int attempt = 0; attempt < 8; ++attempt) {
    if (attempt > 0) temporary = TemporaryName(resolved);
    std::unique_ptr<WritableFile> file = env->NewExclusiveFile(temporary);
    if (file != nullptr) {
      Report(error, OpenError::kNone);
      return std::unique_ptr<ReplacingFile>(
          new ReplacingFile(env, std::move(resolved), std::move(temporary), std::move(file)));
    }
  }
  Report(error, OpenError::kNoTemporary);
  return nullptr;
}

bool ReplacingFile::Append(std::string_view data) {
  if (done_ || failed_) return false;
  if (!file_->Append(data)) failed_ = true;
  return !failed_;
}

bool ReplacingFile::Commit() {
  if (done_) return false;
  done_ = true;
  bool ok = !failed_ && file_->Sync();
  ok = file_->Close() && ok;
  file_.reset();
  if (ok && env_->Rename(temporary_, target_)) {
    SyncFolderOf(target_);
    return true;
  }
  env_->RemoveFile(temporary_);
  return false;
}

void ReplacingFile::Discard() {
  if (done_) return;
  done_ = true;
  if (file_ != nullptr) file_->Close();
  file_.reset();
  env_->RemoveFile(temporary_);
}

bool PrepareReplacement(Env* env, const std::string& target, std::string* resolved_target,
                        std::string* temporary, ReplacingFile::OpenError* error) {
  std::string resolved = FollowLink(target);
  const ReplacingFile::OpenError problem = CheckTarget(env, resolved);
  Report(error, problem);
  if (problem != ReplacingFile::OpenError::kNone) return false;
  *temporary = TemporaryName(resolved);
  *resolved_target = std::move(resolved);
  return true;
}

bool CommitReplacement(Env* env, const std::string& temporary, const std::string& target) {
  // A writer that never made its file has nothing to put in place.
  FileStatus status;
  if (!env->Stat(temporary, &status) || status.is_directory) return false;
  // Reopened only to put its data on the disk; nothing is appended.
  std::unique_ptr<WritableFile> file = env->NewAppendableFile(temporary);
  bool ok = file != nullptr && file->Sync();
  if (file != nullptr) ok = file->Close() && ok;
  if (ok && env->Rename(temporary, target)) {
    SyncFolderOf(target);
    return true;
  }
  env->RemoveFile(temporary);
  return false;
}

bool ReplaceFileContents(Env* env, const std::string& target, std::string_view contents,
                         ReplacingFile::OpenError* error) {
  std::unique_ptr<ReplacingFile> file = ReplacingFile::Open(env, target, error);
  return file != nullptr && file->Append(contents) && file->Commit();
}

} // namespace stmtlink

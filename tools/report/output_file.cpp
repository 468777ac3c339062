#include "tools/report/output_file.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>

#include "platform/env.h"
#include "platform/replacing_file.h"
#include "platform/same_file.h"
#include "tools/report/system_reasons.h"

namespace stmtlink::report {
namespace {

// Why a finished file could not be put in place: the system's reason when
// it left one, else the state of the target's folder.
std::string CommitReason(int error_number, const std::string& target) {
  if (error_number != 0) return FileReason(error_number, FileUse::kWriting);
  return ReplacementReason(ReplacingFile::OpenError::kNoTemporary, target);
}

} // namespace

std::string OutputRefusal(const std::string& output, const std::vector<std::string>& inputs) {
  for (const std::string& input : inputs)
    if (!input.empty() && IsSameFile(output, input))
      return "出力先が読み込むファイル（" + input + "）と同じです。別のファイルを指定してください。";
  return "";
}

std::unique_ptr<ReplacingStream> OpenOutput(const std::string& target, std::string* reason) {
  ReplacingFile::OpenError error = ReplacingFile::OpenError::kNone;
  std::unique_ptr<ReplacingFile> file = ReplacingFile::Open(Env::Real(), target, &error);
  if (!file) {
    *reason = ReplacementReason(error, target);
    return nullptr;
  }
  return std::make_unique<ReplacingStream>(std::move(file));
}

bool CommitOutput(ReplacingStream* stream, std::string* reason) {
  ReplacingFile* file = stream->file();
  errno = 0;
  if (!stream->Finish()) {
    const int write_error = errno;
    file->Discard();
    *reason = CommitReason(write_error, file->target());
    return false;
  }
  errno = 0;
  if (!file->Commit()) {
    *reason = CommitReason(errno, file->target());
    return false;
  }
  return true;
}

ReplacementPath::~ReplacementPath() {
  if (!temporary_.empty() && !committed_) unlink(temporary_.c_str());
}

bool ReplacementPath::Prepare(const std::string& target, std::string* reason) {
  target_ = target;
  ReplacingFile::OpenError error = ReplacingFile::OpenError::kNone;
  if (!PrepareReplacement(Env::Real(), target, &resolved_, &temporary_, &error)) {
    temporary_.clear();
    *reason = ReplacementReason(error, target);
    return false;
  }
  // Made here, exclusively, so that a folder that takes no file is told
  // before the writer runs, and no link can be planted at the name.
  const int fd = open(temporary_.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC | O_NOFOLLOW, 0666);
  if (fd < 0) {
    *reason = FileReason(errno, FileUse::kWriting);
    temporary_.clear();
    return false;
  }
  close(fd);
  return true;
}

bool ReplacementPath::Commit(std::string* reason) {
  errno = 0;
  committed_ = CommitReplacement(Env::Real(), temporary_, resolved_);
  if (!committed_) *reason = CommitReason(errno, target_);
  return committed_;
}

} // namespace stmtlink::report

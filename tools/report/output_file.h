// The files the tool writes (html, pdf): each is written under a temporary
// name in its own folder and takes the place of the target only when whole,
// so a refused report, a full disk or a failed write leaves an earlier file
// exactly as it was and no temporary behind. An output that is one of the
// files the command reads is refused before anything is written.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "platform/replacing_stream.h"

namespace stmtlink::report {

// Why output may not be written, in Japanese; "" when it may. Refused: an
// output that names one of inputs (also through another path, a hard link
// or a symbolic link).
std::string OutputRefusal(const std::string& output, const std::vector<std::string>& inputs);

// A stream whose text replaces the target when committed
// (platform/replacing_stream.h); null, with *reason (Japanese), when the
// target cannot be replaced: a folder, no permission, a missing folder.
std::unique_ptr<ReplacingStream> OpenOutput(const std::string& target, std::string* reason);
// Puts the whole text in place; false with *reason when any write or the
// rename failed (the target is then as it was).
bool CommitOutput(ReplacingStream* stream, std::string* reason);

// For a writer that takes a path (the PDF writer): Prepare names a fresh
// temporary beside the target, the writer writes it, Commit puts it in
// place. Destroyed without Commit, the temporary (if made) is removed.
class ReplacementPath {
 public:
  ReplacementPath() = default;
  ~ReplacementPath();
  ReplacementPath(const ReplacementPath&) = delete;
  ReplacementPath& operator=(const ReplacementPath&) = delete;

  bool Prepare(const std::string& target, std::string* reason);
  const std::string& temporary() const { return temporary_; }
  bool Commit(std::string* reason);

 private:
  std::string target_, resolved_, temporary_;
  bool committed_ = false;
};

} // namespace stmtlink::report

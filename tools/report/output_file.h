// The files the tool writes (html, pdf): each is written under a temporary
// name in its own folder and takes the place of the target only when whole,
// so a refused report, a full disk or a failed write leaves an earlier file
// exactly as it was and no temporary behind. An output that is one of the
// files the command reads is refused before anything is written.
#pragma once

#include <memory>
#include <ostream>
#include <streambuf>
#include <string>
#include <vector>

namespace stmtlink {
class ReplacingFile;
}

namespace stmtlink::report {

// Why output may not be written, in Japanese; "" when it may. Refused: an
// output that names one of inputs (also through another path, a hard link
// or a symbolic link).
std::string OutputRefusal(const std::string& output, const std::vector<std::string>& inputs);

// A stream whose text replaces the target when Commit succeeds; destroyed
// without Commit, it leaves the target untouched and removes its temporary.
class ReplacingStream : public std::ostream {
 public:
  // Null, with *reason (Japanese), when the target cannot be replaced: a
  // folder, no permission, a missing folder.
  static std::unique_ptr<ReplacingStream> Open(const std::string& target, std::string* reason);
  ~ReplacingStream() override;

  // Puts the whole text in place; false with *reason when any write or the
  // rename failed (the target is then as it was).
  bool Commit(std::string* reason);

 private:
  class Buffer : public std::streambuf {
   public:
    explicit Buffer(ReplacingFile* file) : file_(file) { setp(data_, data_ + sizeof data_); }
    bool Flush();

   protected:
    int_type overflow(int_type c) override;
    int sync() override { return Flush() ? 0 : -1; }

   private:
    ReplacingFile* file_;
    char data_[64 * 1024];
  };
  explicit ReplacingStream(std::unique_ptr<ReplacingFile> file);

  std::unique_ptr<ReplacingFile> file_;
  std::unique_ptr<Buffer> buffer_;
};

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

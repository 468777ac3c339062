// An output stream into a ReplacingFile (replacing_file.h), for writers
// that write to a std::ostream (CSV files, HTML): the file takes its
// target's place only when Commit finds every byte written. Destroyed
// without Commit, the stream drops its temporary and the target stays as
// it was.
#pragma once

#include <memory>
#include <ostream>
#include <streambuf>

#include "platform/replacing_file.h"

namespace stmtlink {

class ReplacingStream : public std::ostream {
 public:
  // Writes into file; a null file (a target that may not be replaced)
  // leaves the stream in a failed state.
  explicit ReplacingStream(std::unique_ptr<ReplacingFile> file);
  ~ReplacingStream() override;

  bool opened() const { return file_ != nullptr; }
  ReplacingFile* file() const { return file_.get(); }
  // Hands the buffered bytes to the file; false when any byte written so
  // far did not reach it (errno then tells why, when the system said).
  bool Finish();
  // Finish, then the file in place; false when either failed, the
  // temporary then dropped. Called once.
  bool Commit();

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

  std::unique_ptr<ReplacingFile> file_;
  std::unique_ptr<Buffer> buffer_;
};

} // namespace stmtlink

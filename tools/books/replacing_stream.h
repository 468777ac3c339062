// An output stream into a ReplacingFile (platform/replacing_file.h), for
// the CSV writers that write to a std::ostream: the file takes its
// target's place only when Commit finds every byte written.
#pragma once

#include <memory>
#include <ostream>
#include <streambuf>
#include <string>

#include "platform/replacing_file.h"

namespace stmtlink {

class ReplacingStream : public std::ostream {
 public:
  // Starts the replacement of target; false (and nothing started) when the
  // target may not be replaced. The stream is then in a failed state.
  explicit ReplacingStream(const std::string& target);
  bool opened() const { return buffer_.file != nullptr; }
  // Puts the bytes in the file and the file in place; false when any of
  // them did not reach it or the rename failed. Without Commit, the
  // temporary goes when the stream does and the target stays as it was.
  bool Commit();

 private:
  struct Buffer : std::streambuf {
    Buffer() { setp(bytes, bytes + sizeof bytes); }
    int_type overflow(int_type c) override;
    int sync() override;
    std::unique_ptr<ReplacingFile> file;
    char bytes[64 * 1024];
  };
  Buffer buffer_;
};

} // namespace stmtlink

#include "platform/replacing_stream.h"

#include <string_view>

namespace stmtlink {

ReplacingStream::ReplacingStream(std::unique_ptr<ReplacingFile> file)
    : std::ostream(nullptr), file_(std::move(file)) {
  if (file_ == nullptr) {
    setstate(std::ios::badbit);
    return;
  }
  buffer_ = std::make_unique<Buffer>(file_.get());
  rdbuf(buffer_.get());
}

ReplacingStream::~ReplacingStream() {
  rdbuf(nullptr);
  if (file_ != nullptr) file_->Discard();
}

bool ReplacingStream::Finish() { return opened() && good() && buffer_->Flush(); }

bool ReplacingStream::Commit() {
  if (!opened()) return false;
  if (!Finish()) {
    file_->Discard();
    return false;
  }
  return file_->Commit();
}

bool ReplacingStream::Buffer::Flush() {
  const std::size_t size = static_cast<std::size_t>(pptr() - pbase());
  setp(data_, data_ + sizeof data_);
  return size == 0 || file_->Append(std::string_view(data_, size));
}

ReplacingStream::Buffer::int_type ReplacingStream::Buffer::overflow(int_type c) {
  if (!Flush()) return traits_type::eof();
  if (!traits_type::eq_int_type(c, traits_type::eof())) {
    *pptr() = traits_type::to_char_type(c);
    pbump(1);
  }
  return traits_type::not_eof(c);
}

} // namespace stmtlink

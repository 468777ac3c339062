#include "tools/books/replacing_stream.h"

#include <string_view>

#include "platform/env.h"

namespace stmtlink {

ReplacingStream::ReplacingStream(const std::string& target) : std::ostream(nullptr) {
  buffer_.file = ReplacingFile::Open(Env::Current(), target);
  if (buffer_.file != nullptr)
    rdbuf(&buffer_);
  else
    setstate(std::ios::badbit);
}

ReplacingStream::Buffer::int_type ReplacingStream::Buffer::overflow(int_type c) {
  if (sync() != 0) return traits_type::eof();
  if (traits_type::eq_int_type(c, traits_type::eof())) return traits_type::not_eof(c);
  *pptr() = traits_type::to_char_type(c);
  pbump(1);
  return c;
}

int ReplacingStream::Buffer::sync() {
  const std::string_view pending(pbase(), static_cast<std::size_t>(pptr() - pbase()));
  setp(bytes, bytes + sizeof bytes);
  return file != nullptr && file->Append(pending) ? 0 : -1;
}

bool ReplacingStream::Commit() {
  if (!opened()) return false;
  flush();
  const bool written = good();
  if (!written) {
    buffer_.file->Discard();
    return false;
  }
  return buffer_.file->Commit();
}

} // namespace stmtlink

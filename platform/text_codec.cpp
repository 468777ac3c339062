#include "platform/text_codec.h"

#include <iconv.h>

#include <cerrno>

namespace stmtlink {
namespace {

const iconv_t kNoDescriptor = reinterpret_cast<iconv_t>(-1);

// The descriptor of one direction, opened on first use and kept for the
// thread: the books' texts are converted row by row, and opening iconv
// costs far more than a short conversion.
class Descriptor {
 public:
  Descriptor(const char* to, const char* from) : to_(to), from_(from) {}
  ~Descriptor() {
    if (cd_ != kNoDescriptor) iconv_close(cd_);
  }
  Descriptor(const Descriptor&) = delete;
  Descriptor& operator=(const Descriptor&) = delete;

  // The descriptor in its initial shift state; kNoDescriptor when iconv
  // cannot convert between the two.
  iconv_t Ready() {
    if (cd_ == kNoDescriptor) cd_ = iconv_open(to_, from_);
    else iconv(cd_, nullptr, nullptr, nullptr, nullptr);
    return cd_;
  }

 private:
  const char* to_;
  const char* from_;
  iconv_t cd_ = kNoDescriptor;
};

// from_utf8: UTF-8 to CP932, else CP932 to UTF-8. Lenient: an invalid
// sequence becomes one '?' instead of failing the conversion.
bool Convert(bool from_utf8, std::string_view in, std::string* out, bool lenient) {
  thread_local Descriptor to_utf8("UTF-8", "CP932");
  thread_local Descriptor to_cp932("CP932", "UTF-8");
  iconv_t cd = (from_utf8 ? to_cp932 : to_utf8).Ready();
  if (cd == kNoDescriptor) return false;
  std::string result;
  result.reserve(in.size() * 2 + 4);
  char* src = const_cast<char*>(in.data());
  size_t src_left = in.size();
  char buffer[1024];
  bool ok = true;
  while (src_left > 0) {
    char* dst = buffer;
    size_t dst_left = sizeof(buffer);
    size_t rc = iconv(cd, &src, &src_left, &dst, &dst_left);
    result.append(buffer, static_cast<size_t>(dst - buffer));
    if (rc != static_cast<size_t>(-1)) continue;
    if (errno == E2BIG) continue;
    // EILSEQ or EINVAL: an invalid or truncated sequence.
    if (!lenient) {
      ok = false;
      break;
    }
    result.push_back('?');
    // One '?' per character: skip a whole UTF-8 sequence, not its bytes.
    size_t skip = 1;
    if (from_utf8) {
      const unsigned char lead = static_cast<unsigned char>(*src);
      skip = lead >= 0xF0 ? 4 : lead >= 0xE0 ? 3 : lead >= 0xC0 ? 2 : 1;
      if (skip > src_left) skip = src_left;
    }
    src += skip;
    src_left -= skip;
  }
  if (ok) {
    char* dst = buffer;
    size_t dst_left = sizeof(buffer);
    iconv(cd, nullptr, nullptr, &dst, &dst_left);
    result.append(buffer, static_cast<size_t>(dst - buffer));
  }
  if (ok) *out = std::move(result);
  return ok;
}

} // namespace

bool Cp932ToUtf8(std::string_view cp932, std::string* out) {
  return Convert(false, cp932, out, false);
}

bool Utf8ToCp932(std::string_view utf8, std::string* out) {
  return Convert(true, utf8, out, false);
}

std::string ToUtf8(std::string_view cp932) {
  std::string out;
  Convert(false, cp932, &out, true);
  return out;
}

std::string ToCp932(std::string_view utf8) {
  std::string out;
  Convert(true, utf8, &out, true);
  return out;
}

} // namespace stmtlink

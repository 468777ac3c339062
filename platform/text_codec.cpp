#include "platform/text_codec.h"

#include <iconv.h>

#include <cerrno>

namespace stmtlink {
namespace {

// One conversion with a fresh descriptor: conversions happen at the edges
// only, so opening iconv each time costs nothing that matters and keeps the
// helper free of shared state.
bool Convert(const char* to, const char* from, std::string_view in, std::string* out,
             bool lenient) {
  const bool from_utf8 = std::string_view(from) == "UTF-8";
  iconv_t cd = iconv_open(to, from);
  if (cd == reinterpret_cast<iconv_t>(-1)) return false;
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
  iconv_close(cd);
  if (ok) *out = std::move(result);
  return ok;
}

} // namespace

bool Cp932ToUtf8(std::string_view cp932, std::string* out) {
  return Convert("UTF-8", "CP932", cp932, out, false);
}

bool Utf8ToCp932(std::string_view utf8, std::string* out) {
  return Convert("CP932", "UTF-8", utf8, out, false);
}

std::string ToUtf8(std::string_view cp932) {
  std::string out;
  Convert("UTF-8", "CP932", cp932, &out, true);
  return out;
}

std::string ToCp932(std::string_view utf8) {
  std::string out;
  Convert("CP932", "UTF-8", utf8, &out, true);
  return out;
}

} // namespace stmtlink

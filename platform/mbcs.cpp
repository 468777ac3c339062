#include "platform/mbcs.h"

#include <cstring>

namespace {

// Length of the character at p (0 at the terminator). Same pairing rule as
// stmtlink::MbcsCharLength, for terminated strings.
std::size_t CharLengthAt(const unsigned char* p) {
  if (*p == 0) return 0;
  return (_ismbblead(p[0]) && _ismbbtrail(p[1])) ? 2 : 1;
}

unsigned int CharAt(const unsigned char* p, std::size_t len) {
  return len == 2 ? (static_cast<unsigned int>(p[0]) << 8) | p[1] : p[0];
}

// Walks s and returns the first (or last) character equal to c. The
// terminator matches c == 0, as strchr does.
const unsigned char* Scan(const unsigned char* s, unsigned int c, bool last) {
  if (s == nullptr) return nullptr;
  const unsigned char* found = nullptr;
  const unsigned char* p = s;
  for (std::size_t len; (len = CharLengthAt(p)) != 0; p += len) {
    if (CharAt(p, len) == c) {
      if (!last) return p;
      found = p;
    }
  }
  if (c == 0) return p;
  return found;
}

unsigned char Fold(unsigned char c) {
  return (c >= 'a' && c <= 'z') ? static_cast<unsigned char>(c - 'a' + 'A') : c;
}

} // namespace

int _ismbblead(unsigned int c) {
  c &= 0xFF; // the runtime looks at the low byte only
  return (c >= 0x81 && c <= 0x9F) || (c >= 0xE0 && c <= 0xFC);
}

int _ismbbtrail(unsigned int c) {
  c &= 0xFF;
  return (c >= 0x40 && c <= 0x7E) || (c >= 0x80 && c <= 0xFC);
}

// The runtime pairs a lead byte with whatever byte follows it, valid trail
// byte or not; only the terminator ends the walk.
int _ismbslead(const unsigned char* start, const unsigned char* current) {
  if (start == nullptr || current == nullptr) return 0;
  for (const unsigned char* p = start; p <= current && *p != 0; ++p) {
    if (_ismbblead(*p)) {
      if (++p > current) return -1;
      if (*p == 0) return 0;
    }
  }
  return 0;
}

int _ismbstrail(const unsigned char* start, const unsigned char* current) {
  if (start == nullptr || current == nullptr) return 0;
  for (const unsigned char* p = start; p <= current && *p != 0; ++p) {
    if (_ismbblead(*p)) {
      if (++p == current) return -1;
      if (*p == 0) return 0;
    }
  }
  return 0;
}

const unsigned char* _mbsrchr(const unsigned char* s, unsigned int c) { return Scan(s, c, true); }
const unsigned char* _mbschr(const unsigned char* s, unsigned int c) { return Scan(s, c, false); }
unsigned char* _mbsrchr(unsigned char* s, unsigned int c) {
  return const_cast<unsigned char*>(Scan(s, c, true));
}
unsigned char* _mbschr(unsigned char* s, unsigned int c) {
  return const_cast<unsigned char*>(Scan(s, c, false));
}

namespace stmtlink {

std::size_t MbcsCharLength(std::string_view s, std::size_t i) {
  if (i + 1 < s.size() && _ismbblead(static_cast<unsigned char>(s[i])) &&
      _ismbbtrail(static_cast<unsigned char>(s[i + 1])))
    return 2;
  return 1;
}

std::size_t MbcsFitLength(std::string_view s, std::size_t max_bytes) {
  // No character can cross the limit of a text that fits whole.
  if (s.size() <= max_bytes) return s.size();
  std::size_t i = 0;
  while (i < s.size()) {
    std::size_t len = MbcsCharLength(s, i);
    if (i + len > max_bytes) break;
    i += len;
  }
  return i;
}

std::string MbcsTruncate(std::string_view s, std::size_t max_bytes) {
  return std::string(s.substr(0, MbcsFitLength(s, max_bytes)));
}

std::size_t MbcsCopy(char* dst, std::size_t dst_size, std::string_view src) {
  if (dst == nullptr || dst_size == 0) return 0;
  std::size_t n = MbcsFitLength(src, dst_size - 1);
  // memmove: callers sometimes copy a buffer's own tail over itself.
  if (n > 0) std::memmove(dst, src.data(), n);
  dst[n] = '\0';
  return n;
}

bool MbcsEndsWithDoubleByte(std::string_view s) {
  std::size_t i = 0;
  std::size_t last = 0;
  while (i < s.size()) {
    last = MbcsCharLength(s, i);
    i += last;
  }
  return last == 2;
}

bool MbcsEndsWithBackslash(std::string_view s) {
  return !s.empty() && s.back() == '\\' && !MbcsEndsWithDoubleByte(s);
}

std::size_t MbcsFind(std::string_view s, char c, std::size_t from) {
  for (std::size_t i = 0; i < s.size(); i += MbcsCharLength(s, i)) {
    if (i >= from && s[i] == c && MbcsCharLength(s, i) == 1) return i;
  }
  return std::string_view::npos;
}

bool MbcsEqualsIgnoreAsciiCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size();) {
    std::size_t len = MbcsCharLength(a, i);
    if (len != MbcsCharLength(b, i)) return false;
    if (len == 2) {
      if (a[i] != b[i] || a[i + 1] != b[i + 1]) return false;
    } else if (Fold(static_cast<unsigned char>(a[i])) != Fold(static_cast<unsigned char>(b[i]))) {
      return false;
    }
    i += len;
  }
  return true;
}

} // namespace stmtlink

#include "platform/full_width.h"

#include <array>
#include <cstring>

#include "platform/mbcs.h"
#include "platform/text_codec.h"

namespace stmtlink {
namespace {

// Full-width code points of the half-width katakana block U+FF61..U+FF9F
// (CP932 bytes 0xA1..0xDF), in order.
constexpr char32_t kKatakana[63] = {
    0x3002, 0x300C, 0x300D, 0x3001, 0x30FB, 0x30F2, 0x30A1, 0x30A3, 0x30A5, 0x30A7, 0x30A9,
    0x30E3, 0x30E5, 0x30E7, 0x30C3, 0x30FC, 0x30A2, 0x30A4, 0x30A6, 0x30A8, 0x30AA, 0x30AB,
    0x30AD, 0x30AF, 0x30B1, 0x30B3, 0x30B5, 0x30B7, 0x30B9, 0x30BB, 0x30BD, 0x30BF, 0x30C1,
    0x30C4, 0x30C6, 0x30C8, 0x30CA, 0x30CB, 0x30CC, 0x30CD, 0x30CE, 0x30CF, 0x30D2, 0x30D5,
    0x30D8, 0x30DB, 0x30DE, 0x30DF, 0x30E0, 0x30E1, 0x30E2, 0x30E4, 0x30E6, 0x30E8, 0x30E9,
    0x30EA, 0x30EB, 0x30EC, 0x30ED, 0x30EF, 0x30F3, 0x309B, 0x309C,
};

constexpr unsigned char kVoicedMark = 0xDE;     // ﾞ
constexpr unsigned char kSemiVoicedMark = 0xDF; // ﾟ

// The combined character of a full-width kana and a sound mark, or 0.
char32_t Combine(char32_t kana, unsigned char mark) {
  bool ka_to_to = (kana >= 0x30AB && kana <= 0x30C2 && (kana - 0x30AB) % 2 == 0) ||
                  kana == 0x30C4 || kana == 0x30C6 || kana == 0x30C8;
  bool ha_row = kana >= 0x30CF && kana <= 0x30DD && (kana - 0x30CF) % 3 == 0;
  if (mark == kVoicedMark) {
    if (ka_to_to || ha_row) return kana + 1;
    if (kana == 0x30A6) return 0x30F4; // ウ -> ヴ
  } else if (mark == kSemiVoicedMark && ha_row) {
    return kana + 2;
  }
  return 0;
}

std::string Utf8Of(char32_t c) {
  std::string out;
  if (c < 0x80) {
    out.push_back(static_cast<char>(c));
  } else if (c < 0x800) {
    out.push_back(static_cast<char>(0xC0 | (c >> 6)));
    out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
  } else {
    out.push_back(static_cast<char>(0xE0 | (c >> 12)));
    out.push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
    out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
  }
  return out;
}

// The CP932 bytes of a code point; empty when CP932 has none.
std::string Cp932Of(char32_t c) {
  std::string out;
  if (!Utf8ToCp932(Utf8Of(c), &out)) out.clear();
  return out;
}

// Mappings by single byte, computed once through the code page so that they
// agree with every other conversion of the program.
struct Tables {
  std::array<std::string, 256> plain;   // empty: copied unchanged
  std::array<std::string, 256> voiced;  // kana byte followed by ﾞ
  std::array<std::string, 256> semi;    // kana byte followed by ﾟ

  Tables() {
    plain[0x20] = Cp932Of(0x3000);
    for (unsigned b = 0x21; b <= 0x7E; ++b) plain[b] = Cp932Of(0xFF01 + (b - 0x21));
    for (unsigned b = 0xA1; b <= 0xDF; ++b) {
      char32_t kana = kKatakana[b - 0xA1];
      plain[b] = Cp932Of(kana);
      if (char32_t c = Combine(kana, kVoicedMark)) voiced[b] = Cp932Of(c);
      if (char32_t c = Combine(kana, kSemiVoicedMark)) semi[b] = Cp932Of(c);
    }
  }
};

const Tables& GetTables() {
  static const Tables tables;
  return tables;
}

} // namespace

std::string ToFullWidthText(std::string_view text) {
  const Tables& t = GetTables();
  std::string out;
  out.reserve(text.size() * 2);
  for (std::size_t i = 0; i < text.size();) {
    std::size_t len = MbcsCharLength(text, i);
    if (len == 2) {
      out.append(text.substr(i, 2));
      i += 2;
      continue;
    }
    auto b = static_cast<unsigned char>(text[i]);
    if (i + 1 < text.size()) {
      auto next = static_cast<unsigned char>(text[i + 1]);
      const std::string* joined = next == kVoicedMark       ? &t.voiced[b]
                                  : next == kSemiVoicedMark ? &t.semi[b]
                                                            : nullptr;
      if (joined != nullptr && !joined->empty()) {
        out.append(*joined);
        i += 2;
        continue;
      }
    }
    if (t.plain[b].empty()) {
      out.push_back(text[i]);
    } else {
      out.append(t.plain[b]);
    }
    ++i;
  }
  return out;
}

} // namespace stmtlink

LCID GetSystemDefaultLCID() { return 0x0411; }

int LCMapStringA(LCID, DWORD flags, const char* src, int src_len, char* dest, int dest_len) {
  if (src == nullptr || flags != LCMAP_FULLWIDTH || dest_len < 0 || src_len == 0 || src_len < -1)
    return 0;
  bool with_terminator = src_len == -1;
  std::size_t n = with_terminator ? std::strlen(src) : static_cast<std::size_t>(src_len);
  std::string mapped = stmtlink::ToFullWidthText(std::string_view(src, n));
  if (with_terminator) mapped.push_back('\0');
  if (dest_len == 0) return static_cast<int>(mapped.size());
  if (dest == nullptr || mapped.size() > static_cast<std::size_t>(dest_len)) return 0;
  std::memcpy(dest, mapped.data(), mapped.size());
  return static_cast<int>(mapped.size());
}

// The system's full-width mapping of text (LCMapString with LCMAP_FULLWIDTH)
// for CP932 text: ASCII characters and the space become their full-width
// forms, half-width katakana become full-width katakana, and a half-width
// voiced or semi-voiced sound mark joins the kana before it where CP932 has
// the combined character (ｶﾞ -> ガ, ﾊﾟ -> パ, ｳﾞ -> ヴ). Every other character,
// double-byte characters included, is copied unchanged; a trail byte is never
// taken for a character of its own.
#pragma once

#include <string>
#include <string_view>

#include "platform/win_types.h"

using LCID = DWORD;

constexpr DWORD LCMAP_FULLWIDTH = 0x00800000;
constexpr LCID LOCALE_SYSTEM_DEFAULT = 0x0800;

// Japanese (0x0411): the locale of every system the program runs on.
LCID GetSystemDefaultLCID();

// The Windows call, with LCMAP_FULLWIDTH as the only supported mapping (any
// other flag fails with 0). src_len -1 means a zero-terminated source whose
// terminator is mapped too. With dest_len 0 returns the size needed;
// otherwise the number of bytes written, or 0 when dest is too small.
int LCMapStringA(LCID locale, DWORD flags, const char* src, int src_len, char* dest, int dest_len);

namespace stmtlink {

// The full-width form of CP932 text (no terminator handling).
std::string ToFullWidthText(std::string_view cp932);

} // namespace stmtlink

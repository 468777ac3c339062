// How the text front ends print a message box: the caption, the icon as a
// word, then the text, every line after the first indented, in UTF-8:
//   決算書 [exclamation] 動作環境が不正です。
//     ES_APRPACKAGENAMEが正しくインストールされているか確認してください。
#pragma once

#include <string>

#include "platform/win_types.h"

namespace stmtlink {

// "exclamation", "question", "information", "error" or "" for no icon.
const char* IconWord(UINT flags);
// The printed form of a message box (UTF-8, ends with a line feed).
std::string FormatMessageBox(const std::string& text_cp932, const std::string& caption_cp932,
                             UINT flags);

} // namespace stmtlink

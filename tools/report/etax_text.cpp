#include "tools/report/etax_text.h"

#include <cstdio>

#include "platform/text_codec.h"

namespace stmtlink::report {
namespace {

// Why a code page 932 lead byte is not JIS X 0208; "" for the rows of
// JIS X 0208 itself (1-8 and 16-84).
const char* LeadKind(unsigned lead) {
  if ((lead >= 0x81 && lead <= 0x84) || (lead >= 0x88 && lead <= 0x9F) || (lead >= 0xE0 && lead <= 0xEA)) return "";
  if (lead == 0x87) return "NEC 特殊文字（13区）";
  if (lead == 0xED || lead == 0xEE) return "NEC 選定 IBM 拡張文字（89〜92区）";
  if (lead >= 0xFA && lead <= 0xFC) return "IBM 拡張文字（115〜119区）";
  if (lead >= 0xF0 && lead <= 0xF9) return "外字（利用者定義領域）";
  return "JIS X 0208 の区点にない文字";
}

std::string Hex(std::string_view bytes) {
  std::string out;
  char buffer[4];
  for (unsigned char c : bytes) {
    std::snprintf(buffer, sizeof buffer, "%02X", c);
    out += (out.empty() ? "" : " ") + std::string(buffer);
  }
  return out;
}

// The code point of the UTF-8 sequence at text[i] and its length.
unsigned CodePoint(std::string_view text, std::size_t i, std::size_t* length) {
  const unsigned char c = static_cast<unsigned char>(text[i]);
  std::size_t n = c < 0x80 ? 1 : c < 0xE0 ? 2 : c < 0xF0 ? 3 : 4;
  if (i + n > text.size()) n = text.size() - i;
  unsigned value = n == 1 ? c : n == 2 ? (c & 0x1Fu) : n == 3 ? (c & 0x0Fu) : (c & 0x07u);
  for (std::size_t k = 1; k < n; ++k) value = value << 6 | (static_cast<unsigned char>(text[i + k]) & 0x3Fu);
  *length = n;
  return value;
}

} // namespace

std::string EtaxFieldText(std::string_view utf8) {
  std::string out;
  out.reserve(utf8.size());
  for (char c : utf8) {
    if (c == ',') out += "，";
    else if (c == '"') out += "”";
    else out += c;
  }
  return out;
}

bool EtaxBytesAllowed(std::string_view cp932, TextFault* fault) {
  std::size_t position = 0;
  for (std::size_t i = 0; i < cp932.size();) {
    ++position;
    const unsigned c = static_cast<unsigned char>(cp932[i]);
    std::size_t width = 1;
    const char* kind = "";
    if (c < 0x20 || c == 0x7F) kind = "制御文字";
    else if (c >= 0xA1 && c <= 0xDF) kind = "半角カタカナ";
    else if (c >= 0x80) {
      width = 2;
      kind = LeadKind(c);
      std::string utf8;
      if (i + 1 >= cp932.size() || !Cp932ToUtf8(cp932.substr(i, 2), &utf8)) {
        if (*kind == '\0') kind = "Shift_JIS の文字ではないバイト列";
      }
    }
    if (*kind != '\0') {
      const std::string_view bytes = cp932.substr(i, std::min(width, cp932.size() - i));
      std::string utf8;
      fault->character = Cp932ToUtf8(bytes, &utf8) && !utf8.empty() ? utf8 : Hex(bytes);
      std::size_t length = 0;
      fault->code_point = utf8.empty() ? 0 : CodePoint(utf8, 0, &length);
      fault->kind = kind;
      fault->position = position;
      return false;
    }
    i += width;
  }
  return true;
}

bool EtaxEncode(std::string_view utf8, std::string* cp932, TextFault* fault) {
  if (Utf8ToCp932(utf8, cp932)) return EtaxBytesAllowed(*cp932, fault);
  // Some character has no Shift_JIS form at all: find it.
  std::size_t position = 0;
  for (std::size_t i = 0; i < utf8.size();) {
    std::size_t length = 0;
    const unsigned code_point = CodePoint(utf8, i, &length);
    ++position;
    std::string bytes;
    if (!Utf8ToCp932(utf8.substr(i, length), &bytes)) {
      fault->character = std::string(utf8.substr(i, length));
      fault->code_point = code_point;
      fault->kind = "Shift_JIS にない文字";
      fault->position = position;
      return false;
    }
    i += length;
  }
  fault->character = "?";
  fault->kind = "Shift_JIS にない文字";
  fault->position = 0;
  return false;
}

std::string TextFaultMessage(const TextFault& fault, const std::string& where, const std::string& text) {
  char code[16] = "";
  if (fault.code_point != 0) std::snprintf(code, sizeof code, "U+%04X、", fault.code_point);
  return where + "「" + text + "」の " + std::to_string(fault.position) + " 文字目「" + fault.character + "」（" +
         code + fault.kind + "）は JIS X 0208 にない文字です。e-Tax は「?」に置き換えてしまいます。";
}

} // namespace stmtlink::report

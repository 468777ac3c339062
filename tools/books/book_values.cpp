#include "tools/books/book_values.h"

#include <algorithm>
#include <cstdio>
#include <iterator>

#include "platform/text_codec.h"
#include "tools/books/books_language.h"
#include "tools/books/era_table.h"

namespace stmtlink {
namespace {

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

bool IsAscii(std::string_view text) {
  for (char c : text)
    if (static_cast<unsigned char>(c) >= 0x80) return false;
  return true;
}

// Length of the UTF-8 sequence that starts with byte c (valid input).
std::size_t SequenceLength(unsigned char c) {
  return c < 0x80 ? 1 : c < 0xE0 ? 2 : c < 0xF0 ? 3 : 4;
}

unsigned int CodePoint(std::string_view utf8) {
  const auto* s = reinterpret_cast<const unsigned char*>(utf8.data());
  const std::size_t n = utf8.size();
  if (n == 1) return s[0];
  unsigned int code = s[0] & (n == 2 ? 0x1F : n == 3 ? 0x0F : 0x07);
  for (std::size_t i = 1; i < n; ++i) code = (code << 6) | (s[i] & 0x3F);
  return code;
}

// The ASCII form of an amount as people write it: full-width digits, signs
// and separators become their ASCII twins, △ and ▲ a minus, full-width
// parentheses and spaces ASCII ones, and the yen signs a backslash. False
// for any other character that is not ASCII.
bool AsciiAmountForm(std::string_view text, std::string* out) {
  out->clear();
  for (std::size_t i = 0; i < text.size();) {
    const unsigned char c = static_cast<unsigned char>(text[i]);
    if (c < 0x80) {
      *out += static_cast<char>(c);
      ++i;
      continue;
    }
    const std::size_t length = SequenceLength(c);
    if (i + length > text.size()) return false;
    const unsigned int code = CodePoint(text.substr(i, length));
    i += length;
    if (code >= 0xFF10 && code <= 0xFF19)
      *out += static_cast<char>('0' + (code - 0xFF10));
    else if (code == 0xFF0C)
      *out += ',';
    else if (code == 0xFF0E)
      *out += '.';
    else if (code == 0xFF0D || code == 0x2212 || code == 0x25B3 || code == 0x25B2)
      *out += '-'; // －, −, △, ▲
    else if (code == 0xFF0B)
      *out += '+';
    else if (code == 0xFF08)
      *out += '(';
    else if (code == 0xFF09)
      *out += ')';
    else if (code == 0x3000)
      *out += ' ';
    else if (code == 0x00A5 || code == 0xFFE5)
      *out += '\\'; // ¥, ￥
    else if (code == 0x5186 && i == text.size())
      ; // 円 at the end
    else
      return false;
  }
  return true;
}

} // namespace

const char kAmountForms[] =
    "write yen as 1234567, 1,234,567 or 980.5, with a leading -, "
    "\xE2\x96\xB3 or \xE2\x96\xB2 or parentheses for a minus, a \xC2\xA5"
    " before or a \xE5\x86\x86"
    " after if you like; full-width digits and separators are read too";

namespace {

std::string NotAnAmount() {
  return Say("not an amount ({0})",
             u8"金額ではありません (1234567, 1,234,567, 980.5 のように書きます。マイナスは"
             u8"先頭の -, △, ▲ か括弧、前に ¥ や後に 円 を付けても、全角の数字と区切りでも"
             u8"読めます)",
             {kAmountForms});
}

} // namespace

std::string DateForms() {
  return InJapanese() ? std::string(reinterpret_cast<const char*>(
                            u8"日付は 2025/4/1, 2025-04-01, 2025.4.1, 2025年4月1日, 20250401 か、"
                            u8"和暦で 令和7年4月1日, R7/4/1, R07.04.01 (初年は 元年) のように"
                            u8"書きます"))
                      : std::string(kDateForms);
}

bool ParseYenAmount(std::string_view text, std::int64_t* units, std::string* why) {
  *units = 0;
  // Most fields are empty or plain digits.
  if (text.empty()) return true;
  if (text.size() <= 14 && std::all_of(text.begin(), text.end(), IsDigit)) {
    std::int64_t value = 0;
    for (char c : text) value = value * 10 + (c - '0');
    *units = value * kUnitsPerYen;
    return true;
  }
  std::string ascii;
  if (!IsAscii(text) || text.find('(') != std::string_view::npos) {
    if (!AsciiAmountForm(text, &ascii)) {
      *why = NotAnAmount();
      return false;
    }
    text = ascii;
  }
  while (!text.empty() && text.front() == ' ') text.remove_prefix(1);
  while (!text.empty() && text.back() == ' ') text.remove_suffix(1);
  if (text.empty()) return true;
  bool negative = false;
  if (text.size() >= 2 && text.front() == '(' && text.back() == ')') {
    negative = true;
    text = text.substr(1, text.size() - 2);
  }
  if (!text.empty() && (text.front() == '-' || text.front() == '+') &&
      !(negative && text.front() == '-')) {
    negative = negative || text.front() == '-';
    text.remove_prefix(1);
  }
  if (!text.empty() && text.front() == '\\') text.remove_prefix(1);
  const std::size_t point = text.find('.');
  std::string_view whole = text.substr(0, point);
  std::string_view fraction = point == std::string_view::npos ? "" : text.substr(point + 1);
  if (whole.empty() || (point != std::string_view::npos && fraction.empty())) {
    *why = NotAnAmount();
    return false;
  }
  // Thousands separators: a first group of one to three digits, then
  // groups of exactly three.
  std::string digits;
  std::size_t group_start = 0;
  bool first_group = true;
  for (std::size_t i = 0; i <= whole.size(); ++i) {
    if (i < whole.size() && whole[i] != ',') {
      if (!IsDigit(whole[i])) {
        *why = NotAnAmount();
        return false;
      }
      digits += whole[i];
      continue;
    }
    const std::size_t length = i - group_start;
    const bool grouped = whole.find(',') != std::string_view::npos;
    if (grouped && (first_group ? length < 1 || length > 3 : length != 3)) {
      *why = Say("thousands separators must group three digits", u8"桁区切りは三桁ごとです");
      return false;
    }
    first_group = false;
    group_start = i + 1;
  }
  if (fraction.size() > 4) {
    *why = Say("more than four decimals", u8"小数が四桁を超えます");
    return false;
  }
  for (char c : fraction)
    if (!IsDigit(c)) {
      *why = NotAnAmount();
      return false;
    }
  const std::size_t first = digits.find_first_not_of('0');
  const std::string_view significant =
      first == std::string::npos ? std::string_view() : std::string_view(digits).substr(first);
  if (significant.size() > 14) {
    *why = Say("beyond the host's range (less than 100,000,000,000,000 yen)",
               u8"帳簿の範囲 (100,000,000,000,000 円未満) を超えます");
    return false;
  }
  std::int64_t value = 0;
  for (char c : significant) value = value * 10 + (c - '0');
  std::int64_t fraction_units = 0;
  for (std::size_t i = 0; i < 4; ++i)
    fraction_units = fraction_units * 10 + (i < fraction.size() ? fraction[i] - '0' : 0);
  value = value * kUnitsPerYen + fraction_units;
  *units = negative ? -value : value;
  return true;
}

std::string FormatYenAmount(std::int64_t units) {
  const bool negative = units < 0;
  const std::uint64_t magnitude =
      negative ? 0 - static_cast<std::uint64_t>(units) : static_cast<std::uint64_t>(units);
  std::string text = std::to_string(magnitude / kUnitsPerYen);
  if (const std::uint64_t fraction = magnitude % kUnitsPerYen; fraction != 0) {
    char digits[8];
    std::snprintf(digits, sizeof digits, "%04u", static_cast<unsigned>(fraction));
    std::string f = digits;
    while (f.back() == '0') f.pop_back();
    text += "." + f;
  }
  return negative ? "-" + text : text;
}

std::string FormatYenForPeople(std::int64_t units) {
  const std::string plain = FormatYenAmount(units);
  const std::size_t start = plain[0] == '-' ? 1 : 0;
  std::size_t end = plain.find('.');
  if (end == std::string::npos) end = plain.size();
  std::string out = plain.substr(0, start);
  for (std::size_t i = start; i < end; ++i) {
    if (i > start && (end - i) % 3 == 0) out += ',';
    out += plain[i];
  }
  return out + plain.substr(end);
}

bool IsCalendarDate(std::int64_t d) {
  const std::int64_t year = d / 10000, month = d / 100 % 100, day = d % 100;
  if (year < 1868 || year > 9999 || month < 1 || month > 12 || day < 1) return false;
  static const int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  const bool leap = (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
  return day <= kDays[month - 1] + (month == 2 && leap ? 1 : 0);
}

namespace {

// Year, month and day as digits between separators: the same one of / . -
// twice, or 年 月 (with 日 after the day, or nothing), here already made
// 'n', 'm', 'd'; or eight digits in a row.
bool ParseWesternDate(std::string_view text, bool marks, std::int64_t* yyyymmdd) {
  std::int64_t parts[3] = {0, 0, 0};
  char separators[3] = {0, 0, 0};
  int count = 0, digits = 0;
  bool closed = false; // 日 ends the date
  for (char c : text) {
    const bool mark = c == 'n' || c == 'm' || c == 'd';
    if (closed) return false;
    if (IsDigit(c)) {
      if (digits == 0 && count++ == 3) return false;
      parts[count - 1] = parts[count - 1] * 10 + (c - '0');
      if (++digits > 8) return false;
    } else if (digits > 0 && (c == '-' || c == '/' || c == '.' || (marks && mark))) {
      separators[count - 1] = c;
      digits = 0;
      closed = c == 'd';
    } else {
      return false;
    }
  }
  std::int64_t date = 0;
  const bool marked = separators[0] == 'n' && separators[1] == 'm' &&
                      (separators[2] == 'd' || separators[2] == 0);
  const bool plain = separators[0] != 'n' && separators[0] == separators[1] && separators[2] == 0;
  if (count == 1 && digits == 8 && separators[0] == 0)
    date = parts[0];
  else if (count == 3 && (marked || plain) && parts[1] < 100 && parts[2] < 100)
    date = parts[0] * 10000 + parts[1] * 100 + parts[2];
  else
    return false;
  if (!IsCalendarDate(date)) return false;
  *yyyymmdd = date;
  return true;
}

// A date as people write it made plain: full-width digits and separators
// ASCII, 年 月 日 'n' 'm' 'd', spaces around it gone. Era names stay.
std::string PlainDate(std::string_view text) {
  std::string out;
  for (std::size_t i = 0; i < text.size();) {
    const unsigned char c = static_cast<unsigned char>(text[i]);
    const std::size_t length = std::min(SequenceLength(c), text.size() - i);
    const std::string_view character = text.substr(i, length);
    i += length;
    const unsigned int code = length == 1 ? c : CodePoint(character);
    if (code >= 0xFF10 && code <= 0xFF19)
      out += static_cast<char>('0' + (code - 0xFF10));
    else if (code == 0xFF0F || code == 0xFF0E || code == 0xFF0D)
      out += static_cast<char>(code - 0xFF0F + '/'); // ／ ． －
    else if (code == 0x5E74 || code == 0x6708 || code == 0x65E5)
      out += code == 0x5E74 ? 'n' : code == 0x6708 ? 'm' : 'd'; // 年 月 日
    else if (code != ' ' && code != 0x3000)
      out += character;
  }
  return out;
}


// An era date made plain: the era's name or letter (R, H, S, T, M; either
// case), the year (one or two digits, or 元 for the first), then the month
// and the day as in a western date. The day must lie inside the era.
bool ParseEraDate(std::string_view text, std::int64_t* yyyymmdd) {
  int era = -1;
  for (int i = 0; i < static_cast<int>(std::size(kEras)) && era < 0; ++i) {
    const std::string_view name = kEras[i].name;
    const char letter = kEras[i].abbreviation[0];
    if (text.substr(0, name.size()) == name) {
      text.remove_prefix(name.size());
      era = i;
    } else if (text[0] == letter || text[0] == letter - 'A' + 'a') {
      text.remove_prefix(1);
      era = i;
    }
  }
  if (era < 0) return false;
  int era_year = 0;
  const std::string_view first_year = "\xE5\x85\x83"; // 元
  if (text.substr(0, first_year.size()) == first_year) {
    era_year = 1;
    text.remove_prefix(first_year.size());
  } else {
    std::size_t digits = 0;
    while (digits < text.size() && IsDigit(text[digits])) ++digits;
    if (digits < 1 || digits > 2) return false;
    for (std::size_t i = 0; i < digits; ++i) era_year = era_year * 10 + (text[i] - '0');
    text.remove_prefix(digits);
  }
  if (era_year < 1) return false;
  const std::int64_t year = kEras[era].first_day / 10000 + era_year - 1;
  std::int64_t date = 0;
  if (!ParseWesternDate(std::to_string(year) + std::string(text), true, &date)) return false;
  const bool last = era + 1 == static_cast<int>(std::size(kEras));
  if (date < kEras[era].first_day || (!last && date >= kEras[era + 1].first_day)) return false;
  *yyyymmdd = date;
  return true;
}

} // namespace

const char kDateForms[] =
    "write a date as 2025/4/1, 2025-04-01, 2025.4.1, 2025\xE5\xB9\xB4" "4\xE6\x9C\x88" "1\xE6\x97\xA5"
    " or 20250401, or in the era as \xE4\xBB\xA4\xE5\x92\x8C" "7\xE5\xB9\xB4" "4\xE6\x9C\x88"
    "1\xE6\x97\xA5, R7/4/1 or R07.04.01 (\xE5\x85\x83\xE5\xB9\xB4 for an era's first year)";

bool ParseBookDate(std::string_view text, std::int64_t* yyyymmdd) {
  // Most journals write one plain form: read it as it stands.
  if (ParseWesternDate(text, false, yyyymmdd)) return true;
  const std::string plain = PlainDate(text);
  if (plain.empty()) return false;
  if (!IsDigit(plain[0])) return ParseEraDate(plain, yyyymmdd);
  return plain != text && ParseWesternDate(plain, true, yyyymmdd);
}

std::string FormatBookDate(std::int64_t d) {
  char text[16];
  std::snprintf(text, sizeof text, "%04d-%02d-%02d", static_cast<int>(d / 10000),
                static_cast<int>(d / 100 % 100), static_cast<int>(d % 100));
  return text;
}

bool FitsShiftJis(std::string_view utf8, std::string* bad) {
  std::string converted;
  if (IsAscii(utf8) || Utf8ToCp932(utf8, &converted)) return true;
  for (std::size_t i = 0; i < utf8.size();) {
    const std::size_t length =
        std::min(SequenceLength(static_cast<unsigned char>(utf8[i])), utf8.size() - i);
    const std::string_view character = utf8.substr(i, length);
    if (!Utf8ToCp932(character, &converted)) {
      char code[16];
      std::snprintf(code, sizeof code, "U+%04X", CodePoint(character));
      *bad = "'" + std::string(character) + "' (" + code + ")";
      return false;
    }
    i += length;
  }
  *bad = "?";
  return false;
}

} // namespace stmtlink

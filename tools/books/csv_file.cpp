#include "tools/books/csv_file.h"

#include <algorithm>
#include <cctype>
#include <cstdint>
#include <cstring>
#include <fstream>
#include <iterator>
#include <sstream>

#include "platform/text_codec.h"
#include "tools/books/books_language.h"
#include "tools/books/nearest_names.h"
#include "tools/books/user_text.h"

namespace stmtlink {
namespace {

// A heading as compared: without spaces of either width, underscores or
// hyphens, in lower case.
std::string Normalize(std::string_view name) {
  static constexpr std::string_view kWide = "\xE3\x80\x80"; // U+3000
  std::string out;
  for (std::size_t i = 0; i < name.size(); ++i) {
    const char c = name[i];
    if (name.substr(i, kWide.size()) == kWide) {
      i += kWide.size() - 1;
      continue;
    }
    if (c == ' ' || c == '_' || c == '-') continue;
    out += static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  }
  return out;
}

long LineOfOffset(std::string_view text, std::size_t offset) {
  return 1 + static_cast<long>(std::count(text.begin(), text.begin() + offset, '\n'));
}

// The first line of CP932 bytes that iconv cannot convert.
long FirstBadCp932Line(std::string_view bytes) {
  long line = 1;
  std::size_t start = 0;
  while (start < bytes.size()) {
    std::size_t end = bytes.find('\n', start);
    if (end == std::string_view::npos) end = bytes.size();
    std::string ignored;
    if (!Cp932ToUtf8(bytes.substr(start, end - start), &ignored)) return line;
    start = end + 1;
    ++line;
  }
  return line;
}

} // namespace

bool ParseTextEncoding(std::string_view name, TextEncoding* out) {
  const std::string n = Normalize(name);
  if (n == "auto")
    *out = TextEncoding::kAuto;
  else if (n == "utf8")
    *out = TextEncoding::kUtf8;
  else if (n == "cp932" || n == "shiftjis" || n == "sjis")
    *out = TextEncoding::kCp932;
  else
    return false;
  return true;
}

bool IsValidUtf8(std::string_view text, std::size_t* bad_offset) {
  const auto* s = reinterpret_cast<const unsigned char*>(text.data());
  const std::size_t n = text.size();
  std::size_t i = 0;
  while (i < n) {
    // ASCII runs, eight bytes at a time.
    while (i + 8 <= n) {
      std::uint64_t word;
      std::memcpy(&word, s + i, 8);
      if (word & 0x8080808080808080ull) break;
      i += 8;
    }
    if (i >= n) break;
    const unsigned char c = s[i];
    if (c < 0x80) {
      ++i;
      continue;
    }
    int length = 0;
    unsigned int min = 0, code = 0;
    if (c >= 0xC2 && c <= 0xDF)
      length = 2, min = 0x80, code = c & 0x1F;
    else if (c >= 0xE0 && c <= 0xEF)
      length = 3, min = 0x800, code = c & 0x0F;
    else if (c >= 0xF0 && c <= 0xF4)
      length = 4, min = 0x10000, code = c & 0x07;
    bool ok = length > 0 && i + length <= n;
    for (int k = 1; ok && k < length; ++k) {
      ok = (s[i + k] & 0xC0) == 0x80;
      code = (code << 6) | (s[i + k] & 0x3F);
    }
    if (!ok || code < min || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF)) {
      if (bad_offset) *bad_offset = i;
      return false;
    }
    i += length;
  }
  return true;
}

bool CsvFile::Load(const std::string& path, TextEncoding encoding, CsvFile* out,
                   ImportProblems* problems) {
  std::ifstream in(path, std::ios::binary);
  if (!in) {
    problems->Add(path + ": " + Say("cannot open the file", u8"ファイルを開けません"));
    return false;
  }
  // The whole file in one read (a byte-by-byte iterator costs seconds on a
  // journal of a million lines).
  std::string bytes;
  in.seekg(0, std::ios::end);
  const std::streamoff size = in.tellg();
  in.seekg(0, std::ios::beg);
  if (size > 0) {
    bytes.resize(static_cast<std::size_t>(size));
    in.read(bytes.data(), size);
    bytes.resize(static_cast<std::size_t>(in.gcount()));
  } else { // a pipe, which cannot tell its size
    in.clear();
    bytes.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
  }
  if (in.bad()) {
    problems->Add(path + ": " + Say("cannot read the file", u8"ファイルを読めません"));
    return false;
  }
  out->name_ = path;
  out->pos_ = 0;
  out->line_ = 1;
  out->empty_rows_ = 0;
  const bool bom = bytes.rfind("\xEF\xBB\xBF", 0) == 0;
  std::size_t bad = 0;
  const bool auto_utf8 = encoding == TextEncoding::kAuto && !bom && IsValidUtf8(bytes, &bad);
  if (encoding == TextEncoding::kUtf8 || bom || auto_utf8) {
    if (bom) bytes.erase(0, 3);
    if (!auto_utf8 && !IsValidUtf8(bytes, &bad)) {
      problems->Add(path, LineOfOffset(bytes, bad), 0,
                    Say("the file is not valid UTF-8 here (give --encoding cp932 for a "
                        "Shift_JIS file)",
                        u8"ここが UTF-8 として正しくありません (Shift_JIS のファイルには"
                        u8" --encoding cp932 を付けてください)"));
      return false;
    }
    out->text_ = std::move(bytes);
    return true;
  }
  if (!Cp932ToUtf8(bytes, &out->text_)) {
    problems->Add(path, FirstBadCp932Line(bytes), 0,
                  Say("the file is neither UTF-8 nor CP932 (Shift_JIS) text",
                      u8"ファイルが UTF-8 でも CP932 (Shift_JIS) でもありません"));
    return false;
  }
  return true;
}

CsvFile CsvFile::FromText(std::string name, std::string utf8) {
  CsvFile file;
  file.name_ = std::move(name);
  file.text_ = std::move(utf8);
  return file;
}

namespace {

// A record that a spreadsheet leaves behind: separators and spaces only.
bool IsEmptyRecord(const CsvRecord& record) {
  for (const std::string& field : record.fields)
    if (!WithoutOuterSpaces(field).empty()) return false;
  return true;
}

} // namespace

bool CsvFile::Next(CsvRecord* record, ImportProblems* problems) {
  while (NextRecord(record, problems)) {
    if (!IsEmptyRecord(*record)) return true;
    ++empty_rows_;
  }
  return false;
}

bool CsvFile::NextRecord(CsvRecord* record, ImportProblems* problems) {
  const std::string& t = text_;
  const std::size_t n = t.size();
  // Blank lines between records are skipped.
  while (pos_ < n && (t[pos_] == '\n' || t[pos_] == '\r')) {
    if (t[pos_] == '\n') ++line_;
    ++pos_;
  }
  if (pos_ >= n) return false;
  record->line = line_;
  std::size_t count = 0;
  auto next_field = [&]() -> std::string& {
    if (record->fields.size() <= count) record->fields.emplace_back();
    std::string& field = record->fields[count++];
    field.clear();
    return field;
  };
  for (;;) {
    std::string& field = next_field();
    if (pos_ < n && t[pos_] == '"') {
      ++pos_;
      for (;;) {
        const std::size_t quote = t.find('"', pos_);
        if (quote == std::string::npos) {
          problems->Add(name_, record->line, static_cast<int>(count),
                        Say("a quoted field is not closed", u8"引用符で始まる欄が閉じていません"));
          pos_ = n;
          return false;
        }
        line_ += std::count(t.begin() + pos_, t.begin() + quote, '\n');
        field.append(t, pos_, quote - pos_);
        pos_ = quote + 1;
        if (pos_ < n && t[pos_] == '"') {
          field += '"';
          ++pos_;
          continue;
        }
        break;
      }
      // Text between the closing quote and the separator is kept as it
      // stands ("a"b reads as ab), as spreadsheet programs do.
    }
    // The field ends at a comma or a line end. A plain loop: find_first_of
    // looks each byte up in the set with a call of its own.
    std::size_t stop = pos_;
    while (stop < n && t[stop] != ',' && t[stop] != '\r' && t[stop] != '\n') ++stop;
    field.append(t, pos_, stop - pos_);
    pos_ = stop;
    if (pos_ < n && t[pos_] == ',') {
      ++pos_;
      continue;
    }
    break;
  }
  if (pos_ < n && t[pos_] == '\r') ++pos_;
  if (pos_ < n && t[pos_] == '\n') {
    ++pos_;
    ++line_;
  }
  record->fields.resize(count);
  return true;
}

std::string CsvField(std::string_view text) {
  const bool quote = text.find_first_of(",\"\r\n") != std::string_view::npos ||
                     (!text.empty() && (text.front() == ' ' || text.back() == ' '));
  if (!quote) return std::string(text);
  std::string out = "\"";
  for (char c : text) {
    if (c == '"') out += '"';
    out += c;
  }
  return out + "\"";
}

namespace {

bool StartsFormula(char c) {
  return c == '=' || c == '+' || c == '-' || c == '@' || c == '\t' || c == '\r';
}

bool IsGuarded(std::string_view text) {
  return text.size() >= 2 && text[0] == '\'' && (StartsFormula(text[1]) || text[1] == '\'');
}

} // namespace

std::string CsvTextField(std::string_view text) {
  if (!text.empty() && (StartsFormula(text[0]) || IsGuarded(text)))
    return CsvField("'" + std::string(text));
  return CsvField(text);
}

std::string_view WithoutFormulaGuard(std::string_view field) {
  return IsGuarded(field) ? field.substr(1) : field;
}

namespace {

// The spellings of a known column: "date|取引日|日付".
std::vector<std::string_view> Spellings(std::string_view known) {
  std::vector<std::string_view> out;
  for (std::size_t start = 0;;) {
    const std::size_t bar = known.find('|', start);
    out.push_back(known.substr(start, bar - start));
    if (bar == std::string_view::npos) return out;
    start = bar + 1;
  }
}

// The known columns for messages: "date (取引日, 日付), debit, ...".
std::string ColumnList(const std::vector<std::string_view>& known) {
  std::string list;
  for (std::string_view k : known) {
    const std::vector<std::string_view> names = Spellings(k);
    list += (list.empty() ? "" : ", ") + std::string(names[0]);
    for (std::size_t i = 1; i < names.size(); ++i)
      list += (i == 1 ? " (" : ", ") + std::string(names[i]) + (i + 1 == names.size() ? ")" : "");
  }
  return list;
}

} // namespace

namespace {

// The spelling of a known column that the header lacks nearest to an
// unknown heading, when it is near enough to be a typo of it: one
// character in a short heading, two in a longer one. "" when none is.
std::string TypoOf(const std::string& heading, const std::vector<std::string_view>& known,
                   const std::vector<std::string>& named) {
  const std::string normalized = Normalize(heading);
  const std::size_t most = normalized.size() <= 12 ? 1 : 2; // bytes: 4 kanji
  std::string best;
  std::size_t best_distance = most + 1;
  for (std::string_view k : known) {
    const std::vector<std::string_view> names = Spellings(k);
    if (std::find(named.begin(), named.end(), Normalize(names[0])) != named.end()) continue;
    for (std::string_view n : names) {
      if (Normalize(n).size() < 4) continue; // "id" is near too much
      const std::size_t distance = NameDistance(normalized, Normalize(n));
      if (distance < best_distance) {
        best_distance = distance;
        best = std::string(n);
      }
    }
  }
  return best;
}

} // namespace

bool CsvColumns::Read(const CsvFile& file, const CsvRecord& header,
                      const std::vector<std::string_view>& known, ImportProblems* problems,
                      UnknownColumns unknown) {
  columns_.clear();
  unread_.clear();
  width_ = header.fields.size();
  // The column each header field names, by the first spelling of the known one.
  std::vector<std::string> named(header.fields.size());
  bool any_known = false;
  for (std::size_t i = 0; i < header.fields.size(); ++i) {
    const std::string name = Normalize(header.fields[i]);
    for (std::string_view k : known) {
      const std::vector<std::string_view> names = Spellings(k);
      if (std::any_of(names.begin(), names.end(),
                      [&](std::string_view n) { return Normalize(n) == name; }))
        named[i] = Normalize(names[0]);
    }
    any_known = any_known || !named[i].empty();
  }
  if (!any_known && unknown != UnknownColumns::kIgnored) {
    problems->Add(file.name(), header.line, 0,
                  Say("no header line: the first line must name the columns ({0})",
                      u8"見出しの行がありません: 最初の行に列の名前を書いてください ({0})",
                      {ColumnList(known)}));
    return false;
  }
  bool ok = true;
  for (std::size_t i = 0; i < header.fields.size(); ++i) {
    const int column = static_cast<int>(i) + 1;
    const std::string heading(WithoutOuterSpaces(header.fields[i]));
    if (named[i].empty() && unknown == UnknownColumns::kIgnored)
      continue;
    if (named[i].empty()) {
      const std::string typo = TypoOf(heading, known, named);
      if (typo.empty() && unknown == UnknownColumns::kNoted) {
        unread_.push_back(heading);
        continue;
      }
      const std::string list = ColumnList(known);
      problems->Add(file.name(), header.line, column,
                    !typo.empty()
                        ? Say("unknown column '{0}' (closest known: {1})",
                              u8"列 '{0}' はありません (近いもの: {1})", {TextForMessage(heading), typo})
                    : list.size() <= 200
                        ? Say("unknown column '{0}' (the columns are: {1})",
                              u8"列 '{0}' はありません (列: {1})", {TextForMessage(heading), list})
                        : Say("unknown column '{0}'", u8"列 '{0}' はありません",
                              {TextForMessage(heading)}));
      ok = false;
    } else if (Index(named[i]) != kAbsent) {
      problems->Add(file.name(), header.line, column,
                    Say("column '{0}' is given twice", u8"列 '{0}' が二度あります",
                        {TextForMessage(heading)}));
      ok = false;
    } else {
      columns_.emplace_back(named[i], static_cast<int>(i));
    }
  }
  return ok;
}

bool CsvColumns::Fits(const CsvFile& file, const CsvRecord& record,
                      ImportProblems* problems) const {
  if (record.fields.size() <= width_) return true;
  problems->Add(file.name(), record.line, static_cast<int>(width_) + 1,
                Say("the line has {0} fields, the header {1} (an amount with thousands separators "
                    "needs double quotes)",
                    u8"行の欄が {0} 個、見出しは {1} 個です (桁区切りのある金額は二重引用符で"
                    u8"囲みます)",
                    {std::to_string(record.fields.size()), std::to_string(width_)}));
  return false;
}

int CsvColumns::Index(std::string_view name) const {
  const std::string n = Normalize(name);
  for (const auto& [column, index] : columns_)
    if (column == n) return index;
  return kAbsent;
}

} // namespace stmtlink

#include "tools/report/etax_file_check.h"

#include <set>
#include <vector>

#include "platform/text_codec.h"
#include "tools/report/etax_file.h"
#include "tools/report/etax_text.h"
#include "tools/report/quoted_text.h"

namespace stmtlink::report {
namespace {

bool AllDigits(std::string_view text) {
  if (text.empty()) return false;
  for (char c : text)
    if (c < '0' || c > '9') return false;
  return true;
}

// A code of the table, or one with a branch number (10A100010-1).
bool KnownCode(const std::string& code, const EtaxCodeTable& table) {
  if (table.Find(code) >= 0) return true;
  const std::size_t dash = code.find('-');
  return dash != std::string::npos && table.Find(code.substr(0, dash)) >= 0 && AllDigits(code.substr(dash + 1));
}

class FileChecker {
 public:
  FileChecker(EtaxKind kind, const EtaxCodeTable& table, const std::string& name, Findings* findings,
              EtaxFileContent* content)
      : kind_(kind), table_(table), name_(name), findings_(findings), content_(content) {}

  void Line(long n, std::string_view bytes);
  void End(long lines);

 private:
  void Fault(const char* check, long line, const std::string& message) {
    findings_->Add(Severity::kError, check, name_ + " " + std::to_string(line) + " 行目: " + message, line, name_);
  }
  void Head(long n, const std::vector<std::string>& f);
  void Row(long n, const std::vector<std::string>& f);

  EtaxKind kind_;
  const EtaxCodeTable& table_;
  std::string name_;
  Findings* findings_;
  EtaxFileContent* content_;
  int previous_depth_ = 1; // the title row: the first row of the statement stands at 2
};

void FileChecker::Line(long n, std::string_view bytes) {
  TextFault fault;
  std::vector<std::string> fields;
  std::size_t start = 0;
  bool readable = true;
  for (int index = 1;; ++index) {
    const std::size_t comma = bytes.find(',', start);
    const std::string_view field = bytes.substr(start, comma == std::string_view::npos ? std::string_view::npos : comma - start);
    std::string utf8;
    if (!EtaxBytesAllowed(field, &fault)) {
      std::string shown = ToUtf8(field);
      Fault("etax.character", n, std::to_string(index) + " 項目目「" + Quoted(shown) + "」の " +
                                    std::to_string(fault.position) + " 文字目「" + fault.character + "」（" + fault.kind +
                                    "）は JIS X 0208 にない文字です。");
      readable = false;
    }
    Cp932ToUtf8(field, &utf8);
    fields.push_back(utf8);
    if (comma == std::string_view::npos) break;
    start = comma + 1;
  }
  if (bytes.find('"') != std::string_view::npos) Fault("etax.quote", n, "引用符「\"」があります（e-Tax の CSV は引用符を使いません）。");
  if (fields.size() != 5) {
    Fault("etax.fields", n, "項目が " + std::to_string(fields.size()) +
                                " 個あります（5 個のはずです。名前の中の半角カンマは「，」にします）。");
    return;
  }
  if (!readable) return;
  if (n <= 5) Head(n, fields);
  else Row(n, fields);
}

void FileChecker::Head(long n, const std::vector<std::string>& f) {
  const bool rest_empty = f[2].empty() && f[3].empty() && f[4].empty();
  static const char* const kMarks[] = {"A", "B", "C1", "C2"};
  if (n <= 4) {
    const std::string mark = kMarks[n - 1];
    if (f[0] != mark || !rest_empty || f[1].empty() || (n == 1 && f[1] != EtaxKindCode(kind_))) {
      Fault("etax.head", n, n == 1 ? std::string("「A,") + EtaxKindCode(kind_) + ",,,」ではありません。"
                                   : "「" + mark + ",…,,,」の形ではありません。");
      return;
    }
    if (n == 2) content_->company = f[1];
    if (n == 3) content_->from = f[1];
    if (n == 4) content_->to = f[1];
    return;
  }
  if (f[0] != EtaxTitle(kind_) || !f[1].empty() || !rest_empty)
    Fault("etax.head", n, std::string("表題の行「") + EtaxTitle(kind_) + ",,,,」ではありません。");
}

void FileChecker::Row(long n, const std::vector<std::string>& f) {
  const std::string& name = f[0];
  const std::string& amount = f[1];
  const std::string& kind = f[2];
  const std::string& code = f[4];
  if (name.empty()) Fault("etax.name", n, "勘定科目名がありません。");
  if (kind != "1" && kind != "T") Fault("etax.kind", n, "行区分「" + Quoted(kind) + "」は 1 でも T でもありません。");
  if (kind == "T" && !amount.empty()) Fault("etax.amount", n, "見出しの行（行区分 T）に金額「" + Quoted(amount) + "」があります。");
  const bool negative = !amount.empty() && amount[0] == '-';
  const bool number = AllDigits(negative ? std::string_view(amount).substr(1) : std::string_view(amount)) &&
                      amount.size() <= (negative ? 19u : 18u);
  if (kind == "1" && !number)
    Fault("etax.amount", n, "金額「" + Quoted(amount) + "」は半角数字（負は先頭に -）ではありません。");
  if (!AllDigits(f[3]) || f[3].size() > 4) {
    Fault("etax.depth", n, "階層番号「" + Quoted(f[3]) + "」が数字ではありません。");
  } else {
    const int depth = std::stoi(f[3]);
    if (depth < 2) Fault("etax.depth", n, "階層番号 " + f[3] + " は 2 以上のはずです。");
    else if (depth > previous_depth_ + 1)
      Fault("etax.depth", n, "階層番号が " + std::to_string(previous_depth_) + " から " + f[3] +
                                 " へ二つ以上深くなっています（間の見出しの行がありません）。");
    previous_depth_ = depth;
  }
  if (code.size() > 20 || !KnownCode(code, table_)) {
    Fault("etax.code", n, "勘定科目コード「" + Quoted(code) + "」は" + EtaxTitle(kind_) + "の勘定科目コード表にありません。");
  } else if (const auto it = content_->lines.find(code); it != content_->lines.end()) {
    Fault("etax.duplicate", n, "勘定科目コード " + code + " は " + std::to_string(it->second) + " 行目にもあります。");
  } else {
    content_->lines[code] = n;
    if (kind == "1" && number) content_->amounts[code] = std::stoll(amount);
  }
}

void FileChecker::End(long lines) {
  if (lines < 5) Fault("etax.head", lines + 1, "1〜5 行目（A, B, C1, C2, 表題）が揃っていません。");
  else if (lines == 5) Fault("etax.rows", 6, "勘定科目の行がありません。");
}

} // namespace

void CheckEtaxFile(std::string_view bytes, EtaxKind kind, const EtaxCodeTable& table, const std::string& name,
                   Findings* findings, EtaxFileContent* content) {
  FileChecker checker(kind, table, name, findings, content);
  long n = 0, bad_ends = 0, first_bad = 0;
  std::size_t start = 0;
  while (start < bytes.size()) {
    ++n;
    std::size_t end = bytes.find('\n', start);
    const bool last = end == std::string_view::npos;
    if (last) end = bytes.size();
    std::string_view line = bytes.substr(start, end - start);
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    else if (bad_ends++ == 0) first_bad = n;
    // A CR inside the line is a line end too, in a reader's eyes.
    if (line.find('\r') != std::string_view::npos && bad_ends++ == 0) first_bad = n;
    checker.Line(n, line);
    start = end + 1;
  }
  if (bad_ends > 0)
    findings->Add(Severity::kError, "etax.line_end",
                  name + " " + std::to_string(first_bad) + " 行目: 行末が CR LF ではありません（全部で " +
                      std::to_string(bad_ends) + " か所）。",
                  first_bad, name);
  checker.End(n);
}

} // namespace stmtlink::report

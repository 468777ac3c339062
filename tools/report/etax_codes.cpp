#include "tools/report/etax_codes.h"

#include <unistd.h>

#include "platform/env.h"
#include "tools/report/csv_fields.h"

namespace stmtlink::report {
namespace {

// The NTA's sheets put a placeholder where the heading's own words belong.
bool IsPlaceholder(const std::string& label) { return label == "タイトル項目" || label == "損益計算書"; }

bool CodeFits(const std::string& code, EtaxKind kind) {
  if (code.size() != 9 || code.compare(0, 2, "10") != 0) return false;
  const char letter = code[2];
  const bool letter_fits = kind == EtaxKind::kBalanceSheet ? (letter >= 'A' && letter <= 'C')
                                                           : (letter >= 'D' && letter <= 'F');
  if (!letter_fits) return false;
  for (std::size_t i = 3; i < code.size(); ++i)
    if (code[i] < '0' || code[i] > '9') return false;
  return true;
}

} // namespace

bool EtaxCodeTable::Load(const std::string& path, EtaxKind kind, std::string* error) {
  kind_ = kind;
  std::string text;
  if (!Env::Real()->ReadFile(path, &text)) {
    *error = path + ": 勘定科目コード表を読めません（ツールと同じフォルダーに必要です）";
    return false;
  }
  const std::vector<std::string_view> lines = TextLines(text);
  std::vector<std::string> fields;
  std::vector<int> open; // the last row at each depth, for the parents
  for (std::size_t n = 1; n < lines.size(); ++n) { // line 1 names the columns
    if (lines[n].empty()) continue;
    const std::string where = path + " の " + std::to_string(n + 1) + " 行目";
    if (!SplitCsvFields(lines[n], &fields) || fields.size() != 10) {
      *error = where + ": 10 列の CSV の行ではありません";
      return false;
    }
    EtaxCode row;
    row.code = fields[0];
    row.standard_label = fields[2];
    row.label = IsPlaceholder(fields[1]) ? fields[2] : fields[1];
    row.section = fields[9];
    row.title = fields[7] == "T";
    row.total = fields[8] == "合計";
    row.depth = std::atoi(fields[6].c_str());
    if (!CodeFits(row.code, kind) || row.depth < 1 || row.label.empty() || by_code_.count(row.code)) {
      *error = where + ": 勘定科目コード「" + row.code + "」の行が読めません";
      return false;
    }
    const std::size_t depth = static_cast<std::size_t>(row.depth);
    if (open.size() < depth + 1) open.resize(depth + 1, -1);
    row.parent = open[depth - 1];
    open[depth] = static_cast<int>(rows_.size());
    for (std::size_t d = depth + 1; d < open.size(); ++d) open[d] = -1;
    by_code_[row.code] = static_cast<int>(rows_.size());
    by_label_[row.label].push_back(static_cast<int>(rows_.size()));
    if (row.standard_label != row.label) by_label_[row.standard_label].push_back(static_cast<int>(rows_.size()));
    rows_.push_back(std::move(row));
  }
  if (rows_.empty()) {
    *error = path + ": 勘定科目コード表に行がありません";
    return false;
  }
  end_.assign(rows_.size(), static_cast<int>(rows_.size()));
  std::vector<int> stack; // rows whose end is not yet known
  for (std::size_t i = 0; i < rows_.size(); ++i) {
    while (!stack.empty() && rows_[static_cast<std::size_t>(stack.back())].depth >= rows_[i].depth) {
      end_[static_cast<std::size_t>(stack.back())] = static_cast<int>(i);
      stack.pop_back();
    }
    stack.push_back(static_cast<int>(i));
  }
  return true;
}

int EtaxCodeTable::Find(const std::string& code) const {
  const auto it = by_code_.find(code);
  return it == by_code_.end() ? -1 : it->second;
}

const std::vector<int>& EtaxCodeTable::WithLabel(const std::string& label) const {
  static const std::vector<int> kNone;
  const auto it = by_label_.find(label);
  return it == by_label_.end() ? kNone : it->second;
}

int EtaxCodeTable::End(int index) const { return end_[static_cast<std::size_t>(index)]; }

std::string ToolDataPath(const std::string& name) {
  char buffer[4096];
  const ssize_t n = readlink("/proc/self/exe", buffer, sizeof buffer - 1);
  if (n <= 0) return name;
  std::string exe(buffer, static_cast<std::size_t>(n));
  return exe.substr(0, exe.rfind('/') + 1) + name;
}

} // namespace stmtlink::report

// The NTA's account-code table of one e-Tax statement (HOT010 3.0, industry
// 10 一般商工業): each code with the name e-Tax takes for it, its 階層番号,
// whether it is a heading (行区分 T) or a total, and its place in the
// table's hierarchy. The tables are data files shipped beside the tool
// (stmtlink-etax-bs-codes.csv, stmtlink-etax-pl-codes.csv), read as the
// NTA publishes them; nothing of them is written into the code.
#pragma once

#include <string>
#include <unordered_map>
#include <vector>

namespace stmtlink::report {

enum class EtaxKind { kBalanceSheet, kIncome };

struct EtaxCode {
  std::string code;            // 10A100090
  std::string label;           // the name to write: etax_label, or standard_label where that is a placeholder
  std::string standard_label;
  std::string section;         // 勘定科目区分: 流動資産, 売上原価 …
  int depth = 0;               // 階層番号
  bool title = false;          // a heading row (行区分 T, no amount)
  bool total = false;          // a total (合計)
  int parent = -1;             // the row above it in the hierarchy (the nearest earlier row one level up)
};

class EtaxCodeTable {
 public:
  // Reads a table file (UTF-8 CSV with the NTA's columns); false with
  // *error (Japanese, naming the file and line) when it cannot be used.
  bool Load(const std::string& path, EtaxKind kind, std::string* error);

  EtaxKind kind() const { return kind_; }
  const std::vector<EtaxCode>& rows() const { return rows_; }
  const EtaxCode& at(int index) const { return rows_[static_cast<std::size_t>(index)]; }
  // The row of a code, or -1.
  int Find(const std::string& code) const;
  // The rows whose name to write or standard name is label, in table order.
  const std::vector<int>& WithLabel(const std::string& label) const;
  // One past the last row below index in the hierarchy.
  int End(int index) const;
  // Whether row lies below (or is) ancestor in the hierarchy.
  bool Within(int row, int ancestor) const { return row >= ancestor && row < End(ancestor); }

 private:
  EtaxKind kind_ = EtaxKind::kBalanceSheet;
  std::vector<EtaxCode> rows_;
  std::vector<int> end_;
  std::unordered_map<std::string, int> by_code_;
  std::unordered_map<std::string, std::vector<int>> by_label_;
};

// A data file shipped beside the program: <folder of the program>/name.
std::string ToolDataPath(const std::string& name);

constexpr const char kEtaxBalanceSheetTable[] = "stmtlink-etax-bs-codes.csv";
constexpr const char kEtaxIncomeTable[] = "stmtlink-etax-pl-codes.csv";
constexpr const char kEtaxStandardAccounts[] = "stmtlink-etax-accounts.csv";

} // namespace stmtlink::report

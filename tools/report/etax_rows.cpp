#include "tools/report/etax_rows.h"

#include <functional>
#include <map>
#include <set>
#include <tuple>
#include <unordered_map>
#include <unordered_set>

#include "tools/report/findings.h"
#include "tools/report/statement_terms.h"

namespace stmtlink::report {
namespace {

// The statement model's rows as a walk of headings opened and closed.
enum class WalkStep { kOpen, kAccount, kSubtotal, kTotal, kResult };
struct Entry {
  WalkStep step = WalkStep::kAccount;
  std::string name;     // the caption without its numbering
  std::string account;  // an account as the report names it
  std::optional<std::int64_t> amount;
  int level = 0;
};

// The statement's words where the table has its own for the same line.
std::string TableWords(const std::string& name) {
  if (name == "社員資本") return "株主資本";
  if (name == "社員資本合計") return "株主資本合計";
  if (name == "負債・純資産合計") return "負債純資産合計";
  return name;
}

// 「Ⅰ　流動資産」, 「1　有形固定資産」 -> 流動資産: e-Tax takes the table's names,
// never the printed numbering (Ⅰ is not even a JIS X 0208 character).
std::string WithoutNumbering(const std::string& caption) {
  const std::string space = "　";
  const std::size_t at = caption.find(space);
  if (at == std::string::npos || at == 0 || at > 12) return caption;
  for (std::size_t i = 0; i < at;) {
    if (caption[i] >= '0' && caption[i] <= '9') ++i;
    else if (caption.compare(i, 2, "\xE2\x85") == 0) i += 3; // Ⅰ … Ⅻ
    else return caption;
  }
  return caption.substr(at + space.size());
}

std::vector<std::string> KeyParts(const std::string& key) {
  std::vector<std::string> parts;
  std::size_t start = 0;
  while (!key.empty()) {
    const std::size_t at = key.find(" / ", start);
    parts.push_back(key.substr(start, at == std::string::npos ? std::string::npos : at - start));
    if (at == std::string::npos) break;
    start = at + 3;
  }
  return parts;
}

void BalanceSheetEntries(const Statement& sheet, std::vector<Entry>* out) {
  for (const std::vector<StatementRow>* side : {&sheet.rows, &sheet.right})
    for (const StatementRow& row : *side) {
      const std::string name = WithoutNumbering(row.caption);
      if (row.kind == RowKind::kHeading) {
        out->push_back({WalkStep::kOpen, name, "", std::nullopt, row.level});
        if (row.outer) out->push_back({WalkStep::kTotal, name, "", row.outer, row.level}); // a one-line section
      } else if (row.kind == RowKind::kItem) {
        const std::vector<std::string> key = KeyParts(row.key);
        out->push_back({WalkStep::kAccount, name, key.empty() ? name : key.back(), row.Shown(), row.level});
      } else {
        out->push_back({row.kind == RowKind::kSubtotal ? WalkStep::kSubtotal : WalkStep::kTotal, name, "", row.Shown(),
                        row.level});
      }
    }
}

// The income statement's sections are known by the keys of their rows
// (statement / section / label); the selling and administrative expenses,
// one line in the statement, are written in detail from their own list.
void IncomeEntries(const Statements& statements, std::vector<Entry>* out) {
  const std::string expenses = SectionName("SellingGeneralAndAdministrativeExpenses");
  const std::string taxes = SectionName("IncomeTaxes");
  static const char kTaxesTotal[] = "法人税等";
  std::string open;
  for (const StatementRow& row : statements.income->rows) {
    if (row.kind == RowKind::kResult) {
      out->push_back({WalkStep::kResult, row.profit_caption.empty() ? row.caption : row.profit_caption, "", row.value, 0});
      open.clear();
      continue;
    }
    if (row.kind == RowKind::kHeading) {
      const std::string name = WithoutNumbering(row.caption);
      out->push_back({WalkStep::kOpen, name, "", std::nullopt, 0});
      open = name;
      if (!row.outer) continue;
      if (name == expenses && statements.expenses)
        for (const StatementRow& item : statements.expenses->rows)
          if (item.kind == RowKind::kItem) out->push_back({WalkStep::kAccount, item.caption, item.caption, item.outer, 1});
      out->push_back({WalkStep::kTotal, name, "", row.outer, 0});
      open.clear();
      continue;
    }
    const std::vector<std::string> key = KeyParts(row.key);
    std::string section = key.size() >= 3 ? key[key.size() - 2] : row.caption;
    // The taxes: the table's 法人税等合計 with its parts below it, even where
    // the statement shows the one part on one line.
    if (section == taxes) section = kTaxesTotal;
    if (section != open) {
      out->push_back({WalkStep::kOpen, section, "", std::nullopt, 0});
      open = section;
    }
    if (!row.inner) { // a section on one line shown as an item
      if (section == kTaxesTotal) out->push_back({WalkStep::kAccount, row.caption, row.caption, row.outer, 1});
      out->push_back({WalkStep::kTotal, section, "", row.outer, 0});
      open.clear();
      continue;
    }
    out->push_back({row.kind == RowKind::kSubtotal ? WalkStep::kSubtotal : WalkStep::kAccount, row.caption,
                    key.empty() ? row.caption : key.back(), row.inner, 1});
    if (row.outer) {
      out->push_back({WalkStep::kTotal, row.outer_caption, "", row.outer, 0});
      open.clear();
    }
  }
}

class Resolver {
 public:
  Resolver(const EtaxMapping& mapping, const char* statement) : m_(mapping), t_(*mapping.table), statement_(statement) {}

  bool Run(const std::vector<Entry>& entries, EtaxSheet* sheet, std::string* refusal);

 private:
  struct Open {
    int level;
    int heading; // its table row, -1 when the table has none
  };
  struct TreeRow {
    std::string code, name, where;
    std::optional<std::int64_t> amount;
    int depth = 0;
    EtaxRole role = EtaxRole::kHeading;
    std::vector<int> children;
  };

  int Heading(const std::string& name, int parent) const;
  int TotalOf(int heading) const;
  int Result(const std::string& name) const;
  bool Fits(int row, int heading) const {
    return heading >= 0 && !t_.at(row).title &&
           (t_.Within(row, heading) || t_.at(row).section == t_.at(heading).section);
  }
  int ByLabel(const std::vector<std::string>& names, int heading, int previous) const;
  bool Account(const Entry& entry, int heading, int* previous, std::string* refusal);
  int Branch(int heading, const std::string& name);

  int Ensure(int row);
  int Attach(TreeRow node, int parent);
  bool Put(int row, int node_parent, TreeRow node, std::string* refusal);
  void Flatten(int node, EtaxSheet* sheet) const;

  const EtaxMapping& m_;
  const EtaxCodeTable& t_;
  const char* statement_;
  std::unordered_set<int> reserved_; // headings' and totals' codes: no account takes them
  std::set<int> parents_;            // the table parents of the accounts under the heading so far
  std::map<std::pair<int, std::string>, int> branches_;
  std::map<int, int> branch_counts_;
  std::vector<TreeRow> nodes_;
  std::vector<int> roots_;
  std::unordered_map<std::string, int> node_of_;
};

// A heading's row: its name in the table, below the heading it stands
// under where the name is there, a heading row before an amount row.
int Resolver::Heading(const std::string& name, int parent) const {
  int best = -1;
  std::tuple<int, int, int, int> best_rank{};
  const std::string words = TableWords(name);
  for (int row : t_.WithLabel(words)) {
    const EtaxCode& code = t_.at(row);
    const std::tuple<int, int, int, int> rank{parent >= 0 && !t_.Within(row, parent), code.label != words,
                                              !code.title, code.total};
    if (best < 0 || rank < best_rank) {
      best = row;
      best_rank = rank;
    }
  }
  return best;
}

// A heading's total: the total of the same standard name in its part of
// the table (流動資産 -> 流動資産合計, 資産の部 -> 資産合計); a heading
// that is an amount row of its own (法人税等合計, 新株予約権) carries it.
int Resolver::TotalOf(int heading) const {
  if (heading < 0) return -1;
  const EtaxCode& h = t_.at(heading);
  if (!h.title) return heading;
  for (int row = heading + 1; row < t_.End(heading); ++row) {
    const EtaxCode& c = t_.at(row);
    if (c.total && c.section == h.section && (c.standard_label == h.standard_label || c.standard_label + "の部" == h.standard_label))
      return row;
  }
  return -1;
}

int Resolver::Result(const std::string& name) const {
  const std::string words = TableWords(name);
  int fallback = -1;
  for (int row : t_.WithLabel(words)) {
    if (t_.at(row).title) continue;
    if (t_.at(row).label == words) return row;
    if (fallback < 0) fallback = row;
  }
  return fallback;
}

// The table row of an account's name: below the item it follows, else
// needing the fewest rows above it that are no headings, else the row
// whose standard name is the name, else the shallowest.
int Resolver::ByLabel(const std::vector<std::string>& names, int heading, int previous) const {
  int best = -1;
  std::tuple<int, int, int, int> best_rank{};
  for (const std::string& name : names)
    for (int row : t_.WithLabel(name)) {
      if (!Fits(row, heading) || reserved_.count(row)) continue;
      const EtaxCode& code = t_.at(row);
      int follows = 2;
      if (previous >= 0 && code.parent == previous) follows = 0;
      else if (previous >= 0 && code.parent == t_.at(previous).parent) follows = 1;
      int items_above = 0;
      for (int up = code.parent; up >= 0 && up != heading; up = t_.at(up).parent)
        if (!t_.at(up).title) ++items_above;
      const std::tuple<int, int, int, int> rank{follows, items_above, code.standard_label != name, code.depth};
      if (best < 0 || rank < best_rank) {
        best = row;
        best_rank = rank;
      }
    }
  return best;
}

int Resolver::Branch(int heading, const std::string& name) {
  const auto key = std::make_pair(heading, name);
  const auto it = branches_.find(key);
  if (it != branches_.end()) return it->second;
  const int number = ++branch_counts_[heading];
  branches_[key] = number;
  return number;
}

int Resolver::Attach(TreeRow node, int parent) {
  const int index = static_cast<int>(nodes_.size());
  node_of_[node.code] = index;
  nodes_.push_back(std::move(node));
  (parent >= 0 ? nodes_[static_cast<std::size_t>(parent)].children : roots_).push_back(index);
  return index;
}

// The node of a table row, made as a heading (with the rows above it) when
// no row has put it yet.
int Resolver::Ensure(int row) {
  const EtaxCode& code = t_.at(row);
  if (const auto it = node_of_.find(code.code); it != node_of_.end()) return it->second;
  const int parent = code.parent >= 0 ? Ensure(code.parent) : -1;
  TreeRow node;
  node.code = code.code;
  node.name = code.label;
  node.depth = code.depth;
  node.where = "勘定科目コード表の名前";
  return Attach(std::move(node), parent);
}

// Puts a row below node_parent: a code met again adds its amount to an
// account's row, or gives its amount to a heading that is an amount row.
bool Resolver::Put(int row, int node_parent, TreeRow node, std::string* refusal) {
  if (const auto it = node_of_.find(node.code); it != node_of_.end()) {
    TreeRow& there = nodes_[static_cast<std::size_t>(it->second)];
    const bool both_accounts = there.role == EtaxRole::kAccount && node.role == EtaxRole::kAccount;
    const bool filled_heading = there.role == EtaxRole::kHeading && !there.amount && (row < 0 || !t_.at(row).title);
    if (!both_accounts && !filled_heading) {
      *refusal = std::string(statement_) + "の「" + node.name + "」と「" + there.name + "」が同じ勘定科目コード " +
                 node.code + " になります。--map でどちらかに別のコードを指定してください。";
      return false;
    }
    there.amount = both_accounts ? Plus(*there.amount, *node.amount) : node.amount;
    if (filled_heading) {
      there.role = node.role;
      if (node.role == EtaxRole::kAccount) {
        there.name = node.name;
        there.where = node.where;
      }
    }
    return true;
  }
  Attach(std::move(node), node_parent);
  return true;
}

bool Resolver::Account(const Entry& entry, int heading, int* previous, std::string* refusal) {
  if (heading < 0) {
    *refusal = std::string(statement_) + "の「" + entry.name + "」が立つ区分に当たる見出しが勘定科目コード表にありません。";
    return false;
  }
  std::string rename;
  int row = -1;
  const AccountMapping* unfit = nullptr;
  if (m_.company != nullptr)
    for (const AccountMapping& line : m_.company->Of(entry.account)) {
      if (!line.name.empty()) rename = line.name;
      if (line.code.empty() || row >= 0) continue;
      const int at = t_.Find(line.code);
      if (at >= 0 && Fits(at, heading)) row = at;
      else unfit = &line;
    }
  if (row < 0 && unfit != nullptr) {
    const int at = t_.Find(unfit->code);
    *refusal = unfit->where + ": 「" + entry.account + "」は" + statement_ + "の「" + t_.at(heading).label +
               "」にある勘定科目ですが、コード " + unfit->code + " は" +
               (at < 0 ? std::string("この表のコードではありません")
                       : "「" + t_.at(at).section + "」の" + (t_.at(at).title ? "見出し" : "勘定科目") + "です") + "。";
    return false;
  }
  if (row < 0 && m_.shipped != nullptr)
    for (const AccountMapping& line : m_.shipped->Of(entry.account))
      if (const int at = t_.Find(line.code); at >= 0 && Fits(at, heading) && !reserved_.count(at)) {
        row = at;
        break;
      }
  if (row < 0 && entry.step == WalkStep::kSubtotal) {
    // The table's 合計 of one block (商品売上原価's) sums that block only:
    // a subtotal over the parts of several is a row of its heading's own.
    if (parents_.size() == 1) {
      row = ByLabel({entry.name}, heading, *previous);
      if (row >= 0 && t_.at(row).parent != *parents_.begin()) row = -1;
    }
  } else if (row < 0) {
    row = ByLabel({entry.name, entry.account}, heading, *previous);
  }
  TreeRow node;
  node.amount = entry.amount.value_or(0);
  node.role = EtaxRole::kAccount;
  node.where = std::string(statement_) + "の勘定科目";
  if (row >= 0) {
    *previous = row;
    parents_.insert(t_.at(row).parent);
    const EtaxCode& code = t_.at(row);
    node.code = code.code;
    node.name = rename.empty() ? code.label : rename;
    node.depth = code.depth;
    return Put(row, code.parent >= 0 ? Ensure(code.parent) : -1, std::move(node), refusal);
  }
  *previous = -1;
  parents_.insert(heading);
  const EtaxCode& h = t_.at(heading);
  node.code = h.code + "-" + std::to_string(Branch(heading, entry.account));
  node.name = rename.empty() ? entry.name : rename;
  node.depth = h.depth + 1;
  return Put(-1, Ensure(heading), std::move(node), refusal);
}

bool Resolver::Run(const std::vector<Entry>& entries, EtaxSheet* sheet, std::string* refusal) {
  // First the headings and totals, so that no account takes their codes.
  std::vector<int> heading_of(entries.size(), -1), code_of(entries.size(), -1);
  std::vector<Open> stack;
  auto innermost = [&stack] {
    for (auto it = stack.rbegin(); it != stack.rend(); ++it)
      if (it->heading >= 0) return it->heading;
    return -1;
  };
  for (std::size_t i = 0; i < entries.size(); ++i) {
    const Entry& e = entries[i];
    if (e.step == WalkStep::kResult) stack.clear();
    while (!stack.empty() && (stack.back().level > e.level || (e.step != WalkStep::kTotal && stack.back().level == e.level)))
      stack.pop_back();
    if (e.step == WalkStep::kOpen) {
      const int row = Heading(e.name, innermost());
      stack.push_back({e.level, row});
      code_of[i] = row;
      if (row >= 0) reserved_.insert(row);
    } else if (e.step == WalkStep::kTotal && !stack.empty() && stack.back().level == e.level) {
      const int closed = stack.back().heading;
      stack.pop_back();
      code_of[i] = TotalOf(closed);
      if (code_of[i] < 0) code_of[i] = Result(e.name);
      heading_of[i] = closed >= 0 ? closed : innermost();
    } else if (e.step == WalkStep::kTotal || e.step == WalkStep::kResult) {
      code_of[i] = Result(e.name);
    }
    if (e.step == WalkStep::kAccount || e.step == WalkStep::kSubtotal) heading_of[i] = innermost();
    if ((e.step == WalkStep::kTotal || e.step == WalkStep::kResult) && code_of[i] >= 0) reserved_.insert(code_of[i]);
  }
  // Then every row in the statement's order, below its parent row.
  int previous = -1, previous_heading = -2;
  for (std::size_t i = 0; i < entries.size(); ++i) {
    const Entry& e = entries[i];
    if (e.step == WalkStep::kOpen) continue;
    if (e.step == WalkStep::kAccount || e.step == WalkStep::kSubtotal) {
      if (heading_of[i] != previous_heading) {
        previous = -1;
        parents_.clear();
      }
      previous_heading = heading_of[i];
      if (!Account(e, heading_of[i], &previous, refusal)) return false;
      continue;
    }
    const int row = code_of[i];
    if (row < 0) {
      *refusal = std::string(statement_) + "の「" + e.name + "」に当たる勘定科目コードが勘定科目コード表にありません。";
      return false;
    }
    const EtaxCode& code = t_.at(row);
    TreeRow node;
    node.code = code.code;
    node.name = code.label;
    node.depth = code.depth;
    node.amount = e.amount.value_or(0);
    node.role = e.step == WalkStep::kResult || (e.step == WalkStep::kTotal && heading_of[i] < 0) ? EtaxRole::kResult
                                                                                          : EtaxRole::kTotal;
    node.where = "勘定科目コード表の名前";
    if (!Put(row, code.parent >= 0 ? Ensure(code.parent) : -1, std::move(node), refusal)) return false;
  }
  for (int root : roots_) Flatten(root, sheet);
  return true;
}

void Resolver::Flatten(int index, EtaxSheet* sheet) const {
  const TreeRow& node = nodes_[static_cast<std::size_t>(index)];
  sheet->rows.push_back({node.name, node.amount, node.depth, node.code, node.role, node.where});
  for (int child : node.children) Flatten(child, sheet);
}

} // namespace

bool BuildEtaxSheet(const Statements& statements, const EtaxMapping& mapping, EtaxSheet* sheet,
                    std::string* refusal) {
  sheet->kind = mapping.table->kind();
  sheet->rows.clear();
  std::vector<Entry> entries;
  const bool balance = sheet->kind == EtaxKind::kBalanceSheet;
  const std::optional<Statement>& statement = balance ? statements.balance_sheet : statements.income;
  if (!statement) {
    *refusal = std::string("レポートに") + (balance ? "貸借対照表" : "損益計算書") + "がありません。";
    return false;
  }
  if (balance) BalanceSheetEntries(*statement, &entries);
  else IncomeEntries(statements, &entries);
  return Resolver(mapping, balance ? "貸借対照表" : "損益計算書").Run(entries, sheet, refusal);
}

} // namespace stmtlink::report

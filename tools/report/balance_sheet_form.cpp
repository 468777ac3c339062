// 貸借対照表 in account form: assets on the left; liabilities and net assets
// on the right, net assets in the hierarchy of the Companies Act's rules.
#include <map>

#include "tools/report/era_date.h"
#include "tools/report/findings.h"
#include "tools/report/net_assets_classes.h"
#include "tools/report/statement_forms.h"
#include "tools/report/statement_terms.h"

namespace stmtlink::report {
namespace {

constexpr const char kSheet[] = "貸借対照表";

StatementRow SheetRow(std::string caption, int level, RowKind kind, std::optional<std::int64_t> amount,
                      std::string key) {
  StatementRow row;
  row.caption = std::move(caption);
  row.level = level;
  row.kind = kind;
  row.outer = amount;
  row.value = amount.value_or(0);
  row.key = std::move(key);
  return row;
}

// A section of assets or liabilities: its heading, its items (deductions
// negative), its nonempty subsections numbered 1, 2…, its total.
void SheetSection(const Node& section, const std::string& numbering, int level, const std::string& prefix,
                  std::vector<StatementRow>* rows) {
  const std::string name = SectionName(section.name);
  const std::string here = prefix + " / " + name;
  rows->push_back(SheetRow(numbering + "　" + name, level, RowKind::kHeading, std::nullopt, ""));
  int number = 0;
  for (const Node& child : section.children) {
    if (child.name == "Item") {
      const std::string label = child.label.value_or("");
      const std::int64_t amount = child.amount.value_or(0);
      StatementRow row = SheetRow(label, level + 1, RowKind::kItem, amount, here + " / " + label);
      if (IsDeduction(section.name, label)) {
        row.deduction = true;
        row.outer = -amount;
      }
      rows->push_back(std::move(row));
    } else if (SectionHasContent(child)) {
      SheetSection(child, std::to_string(++number), level + 1, here, rows);
    }
  }
  rows->push_back(SheetRow(TotalCaption(section), level, RowKind::kTotal, SectionTotal(section),
                           here + " / " + TotalCaption(section)));
}

// The parts (資産の部, 負債の部): numbered sections, then the part's total.
void SheetPart(const Node& part, const std::string& caption, std::vector<StatementRow>* rows, bool total_as_result) {
  const std::string here = std::string(kSheet) + " / " + SectionName(part.name);
  rows->push_back(SheetRow(caption, 0, RowKind::kHeading, std::nullopt, ""));
  int number = 0;
  for (const Node& section : part.children)
    if (section.name != "Item" && SectionHasContent(section))
      SheetSection(section, RomanNumeral(++number), 1, here, rows);
  rows->push_back(SheetRow(TotalCaption(part), 0, total_as_result ? RowKind::kResult : RowKind::kTotal,
                           SectionTotal(part), here + " / " + TotalCaption(part)));
}

class NetAssetsForm {
 public:
  NetAssetsForm(const Node& net_assets, const Node* equity, std::vector<StatementRow>* rows)
      : accounts_(ClassifyNetAssets(net_assets, equity)), rows_(rows),
        members_(equity != nullptr && equity->ChildText("Select") == "2") {}

  void Write(const Node& net_assets, std::vector<std::string>* remarks) {
    rows_->push_back(SheetRow("純資産の部", 0, RowKind::kHeading, std::nullopt, ""));
    const char* equity = members_ ? "社員資本" : "株主資本";
    if (Any({EquityClass::kCapital, EquityClass::kCapitalReserve, EquityClass::kOtherCapitalSurplus,
             EquityClass::kLegalReserve, EquityClass::kVoluntaryReserve,
             EquityClass::kRetainedBroughtForward, EquityClass::kTreasuryShares})) {
      Heading(Numbered(equity), 1);
      std::int64_t sum = Accounts({EquityClass::kCapital}, 2);
      sum = Plus(sum, Group("資本剰余金", {EquityClass::kCapitalReserve, EquityClass::kOtherCapitalSurplus}));
      if (Any({EquityClass::kLegalReserve, EquityClass::kVoluntaryReserve, EquityClass::kRetainedBroughtForward})) {
        Heading("利益剰余金", 2);
        std::int64_t retained = Accounts({EquityClass::kLegalReserve}, 3);
        if (Any({EquityClass::kVoluntaryReserve, EquityClass::kRetainedBroughtForward})) {
          Heading("その他利益剰余金", 3);
          retained = Plus(retained, Accounts({EquityClass::kVoluntaryReserve}, 4));
          retained = Plus(retained, Accounts({EquityClass::kRetainedBroughtForward}, 4));
        }
        Total("利益剰余金合計", 2, retained);
        sum = Plus(sum, retained);
      }
      sum = Plus(sum, Accounts({EquityClass::kTreasuryShares}, 2));
      Total(std::string(equity) + "合計", 1, sum);
    }
    if (Any({EquityClass::kValuation})) {
      Heading(Numbered("評価・換算差額等"), 1);
      Total("評価・換算差額等合計", 1, Accounts({EquityClass::kValuation}, 2));
    }
    if (Any({EquityClass::kSubscriptionRights})) {
      // One account is the section's own line; several are listed with their total.
      std::vector<const NetAssetsAccount*> rights;
      for (const NetAssetsAccount& account : accounts_)
        if (account.equity_class == EquityClass::kSubscriptionRights) rights.push_back(&account);
      if (rights.size() == 1) {
        rows_->push_back(SheetRow(Numbered("新株予約権"), 1, RowKind::kHeading, rights[0]->amount,
                                  std::string(kSheet) + " / 純資産の部 / " + rights[0]->label));
      } else {
        Heading(Numbered("新株予約権"), 1);
        Total("新株予約権合計", 1, Accounts({EquityClass::kSubscriptionRights}, 2));
      }
    }
    std::string unplaced;
    for (const NetAssetsAccount& account : accounts_)
      if (account.equity_class == EquityClass::kUnplaced) unplaced += "「" + account.label + "」";
    if (!unplaced.empty()) {
      Accounts({EquityClass::kUnplaced}, 1);
      remarks->push_back(unplaced + "は株主資本等変動計算書に対応する項目がないため、"
                         "区分せず報告書の記載のとおり純資産の部に表示しています。");
    }
    rows_->push_back(SheetRow(TotalCaption(net_assets), 0, RowKind::kTotal, SectionTotal(net_assets),
                              std::string(kSheet) + " / 純資産の部 / " + TotalCaption(net_assets)));
  }

 private:
  bool Any(std::initializer_list<EquityClass> classes) const {
    for (const NetAssetsAccount& account : accounts_)
      for (EquityClass c : classes)
        if (account.equity_class == c) return true;
    return false;
  }
  std::string Numbered(const char* caption) { return RomanNumeral(++number_) + "　" + caption; }
  void Heading(const std::string& caption, int level) {
    rows_->push_back(SheetRow(caption, level, RowKind::kHeading, std::nullopt, ""));
  }
  void Total(const std::string& caption, int level, std::int64_t amount) {
    rows_->push_back(SheetRow(caption, level, RowKind::kTotal, amount,
                              std::string(kSheet) + " / 純資産の部 / " + caption));
  }
  // The accounts of those classes in the report's order; returns their sum
  // as shown (自己株式 taken off).
  std::int64_t Accounts(std::initializer_list<EquityClass> classes, int level) {
    std::int64_t sum = 0;
    for (const NetAssetsAccount& account : accounts_)
      for (EquityClass c : classes)
        if (account.equity_class == c) {
          StatementRow row = SheetRow(account.label, level, RowKind::kItem, account.amount,
                                      std::string(kSheet) + " / 純資産の部 / " + account.label);
          if (c == EquityClass::kTreasuryShares) {
            row.deduction = true;
            row.outer = -account.amount;
          }
          sum = Plus(sum, *row.outer);
          rows_->push_back(std::move(row));
        }
    return sum;
  }
  std::int64_t Group(const char* caption, std::initializer_list<EquityClass> classes) {
    if (!Any(classes)) return 0;
    Heading(caption, 2);
    const std::int64_t sum = Accounts(classes, 3);
    Total(std::string(caption) + "合計", 2, sum);
    return sum;
  }

  std::vector<NetAssetsAccount> accounts_;
  std::vector<StatementRow>* rows_;
  bool members_;
  int number_ = 0;
};

} // namespace

Statement BalanceSheetForm(const Node& root) {
  Statement statement;
  statement.title = kSheet;
  statement.date_line = EraDate(HeaderOf(root).period_to) + "現在";
  const Node* data = root.Child("DATA");
  const Node& sheet = *data->Child("BalanceSheet");
  if (const Node* assets = sheet.Child("Assets")) SheetPart(*assets, "資産の部", &statement.rows, true);
  std::int64_t claims = 0;
  if (const Node* liabilities = sheet.Child("Liabilities")) {
    SheetPart(*liabilities, "負債の部", &statement.right, false);
    claims = Plus(claims, SectionTotal(*liabilities));
  }
  if (const Node* net_assets = sheet.Child("NetAssets")) {
    NetAssetsForm(*net_assets, data->Child("StatementChangesNetAssets"), &statement.right)
        .Write(*net_assets, &statement.remarks);
    claims = Plus(claims, SectionTotal(*net_assets));
  }
  statement.right.push_back(SheetRow("負債・純資産合計", 0, RowKind::kResult, claims,
                                     std::string(kSheet) + " / 負債・純資産合計"));
  if (statement.rows.empty()) statement.rows.push_back(SheetRow("資産合計", 0, RowKind::kResult, 0, ""));
  return statement;
}

} // namespace stmtlink::report

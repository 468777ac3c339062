#include "tools/report/equity_form.h"

#include <map>
#include <set>

#include "tools/report/findings.h"
#include "tools/report/net_assets_classes.h"

namespace stmtlink::report {
namespace {

struct EquityFigures {
  std::string caption;
  EquityClass equity_class;
  EquityRow row;
};

class EquityTable {
 public:
  EquityTable(std::vector<EquityFigures> items, std::size_t reasons, std::vector<EquityRow>* rows)
      : items_(std::move(items)), reasons_(reasons), rows_(rows) {}

  bool Any(std::initializer_list<EquityClass> classes) const {
    for (const EquityFigures& item : items_)
      for (EquityClass c : classes)
        if (item.equity_class == c) return true;
    return false;
  }
  void Heading(const std::string& caption, int level) {
    EquityRow row;
    row.caption = caption;
    row.level = level;
    row.kind = RowKind::kHeading;
    rows_->push_back(std::move(row));
  }
  // The items of those classes, in the report's order; returns their sum.
  EquityRow Items(std::initializer_list<EquityClass> classes, int level) {
    EquityRow sum = Empty();
    for (const EquityFigures& item : items_)
      for (EquityClass c : classes)
        if (item.equity_class == c) {
          EquityRow row = item.row;
          row.level = level;
          Add(&sum, row);
          rows_->push_back(std::move(row));
        }
    return sum;
  }
  EquityRow Total(const std::string& caption, int level, EquityRow sum) {
    sum.caption = caption;
    sum.level = level;
    sum.kind = RowKind::kTotal;
    rows_->push_back(sum);
    return sum;
  }
  EquityRow Empty() const {
    EquityRow row;
    row.changes.assign(reasons_, std::nullopt);
    return row;
  }
  // Adds a row's figures into a total; a total shows a figure in every column.
  static void Add(EquityRow* total, const EquityRow& row) {
    total->opening = Plus(total->opening, row.opening);
    total->change_total = Plus(total->change_total, row.change_total);
    total->closing = Plus(total->closing, row.closing);
    for (std::size_t i = 0; i < total->changes.size(); ++i)
      total->changes[i] = Plus(total->changes[i].value_or(0), row.changes[i].value_or(0));
  }

 private:
  std::vector<EquityFigures> items_;
  std::size_t reasons_;
  std::vector<EquityRow>* rows_;
};

std::int64_t FigureOf(const Node* node) { return node ? node->amount.value_or(0) : 0; }

} // namespace

std::optional<EquityStatement> EquityForm(const Node& root) {
  const Node* data = root.Child("DATA");
  const Node* statement = data ? data->Child("StatementChangesNetAssets") : nullptr;
  if (statement == nullptr) return std::nullopt;
  const bool members = statement->ChildText("Select") == "2";
  EquityStatement form;
  form.title = members ? "社員資本等変動計算書" : "株主資本等変動計算書";
  std::set<std::string> seen;
  for (const Node* item : statement->Children("ChangesNetAssetsItem"))
    if (const Node* changes = item->Child("ChangesItemsDuringPeriod"))
      for (const Node* change : changes->Children("ChangesItem"))
        if (seen.insert(change->ChildText("Reason")).second) form.reasons.push_back(change->ChildText("Reason"));

  // The balance sheet's name for each item's account.
  std::map<std::string, std::string> names;
  const Node* sheet = data->Child("BalanceSheet");
  if (const Node* net_assets = sheet ? sheet->Child("NetAssets") : nullptr)
    for (const NetAssetsAccount& account : ClassifyNetAssets(*net_assets, statement))
      if (!account.equity_item.empty()) names[account.equity_item] = account.label;

  std::vector<EquityFigures> items;
  for (const Node* item : statement->Children("ChangesNetAssetsItem")) {
    const std::string name = item->ChildText("AccountList");
    const EquityClass equity_class = ClassOfEquityItem(name);
    const int sign = equity_class == EquityClass::kTreasuryShares ? -1 : 1;
    EquityRow row;
    row.caption = names.count(name) ? names[name] : name;
    row.opening = sign * FigureOf(item->Child("BalanceEndPreviousPeriod"));
    row.closing = sign * FigureOf(item->Child("BalanceEndCurrentPeriod"));
    row.changes.assign(form.reasons.size(), std::nullopt);
    if (const Node* changes = item->Child("ChangesItemsDuringPeriod")) {
      row.change_total = sign * FigureOf(changes->Child("TotalChangesItemsDuringPeriod"));
      for (const Node* change : changes->Children("ChangesItem"))
        for (std::size_t i = 0; i < form.reasons.size(); ++i)
          if (form.reasons[i] == change->ChildText("Reason"))
            row.changes[i] = Plus(row.changes[i].value_or(0), sign * FigureOf(change->Child("Amount")));
    }
    items.push_back({row.caption, equity_class, std::move(row)});
  }

  EquityTable table(std::move(items), form.reasons.size(), &form.rows);
  EquityRow net_assets = table.Empty();
  const char* equity = members ? "社員資本" : "株主資本";
  if (table.Any({EquityClass::kCapital, EquityClass::kCapitalReserve, EquityClass::kOtherCapitalSurplus,
                 EquityClass::kLegalReserve, EquityClass::kVoluntaryReserve,
                 EquityClass::kRetainedBroughtForward, EquityClass::kTreasuryShares})) {
    table.Heading(equity, 0);
    EquityRow sum = table.Items({EquityClass::kCapital}, 1);
    if (table.Any({EquityClass::kCapitalReserve, EquityClass::kOtherCapitalSurplus})) {
      table.Heading("資本剰余金", 1);
      EquityTable::Add(&sum, table.Total("資本剰余金合計", 1,
                                         table.Items({EquityClass::kCapitalReserve, EquityClass::kOtherCapitalSurplus}, 2)));
    }
    if (table.Any({EquityClass::kLegalReserve, EquityClass::kVoluntaryReserve, EquityClass::kRetainedBroughtForward})) {
      table.Heading("利益剰余金", 1);
      EquityRow retained = table.Items({EquityClass::kLegalReserve}, 2);
      if (table.Any({EquityClass::kVoluntaryReserve, EquityClass::kRetainedBroughtForward})) {
        table.Heading("その他利益剰余金", 2);
        EquityTable::Add(&retained, table.Items({EquityClass::kVoluntaryReserve}, 3));
        EquityTable::Add(&retained, table.Items({EquityClass::kRetainedBroughtForward}, 3));
      }
      EquityTable::Add(&sum, table.Total("利益剰余金合計", 1, retained));
    }
    EquityTable::Add(&sum, table.Items({EquityClass::kTreasuryShares}, 1));
    EquityTable::Add(&net_assets, table.Total(std::string(equity) + "合計", 0, sum));
  }
  if (table.Any({EquityClass::kValuation})) {
    table.Heading("評価・換算差額等", 0);
    EquityTable::Add(&net_assets, table.Total("評価・換算差額等合計", 0, table.Items({EquityClass::kValuation}, 1)));
  }
  EquityTable::Add(&net_assets, table.Items({EquityClass::kSubscriptionRights}, 0));
  EquityTable::Add(&net_assets, table.Items({EquityClass::kUnplaced}, 0));
  table.Total("純資産合計", 0, net_assets);
  return form;
}

} // namespace stmtlink::report

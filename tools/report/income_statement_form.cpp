// 損益計算書 and 製造原価報告書 in report form, and the selling and
// administrative expenses in detail.
#include "tools/report/era_date.h"
#include "tools/report/findings.h"
#include "tools/report/statement_forms.h"
#include "tools/report/statement_terms.h"

namespace stmtlink::report {
namespace {

constexpr const char kIncome[] = "損益計算書";

// Each step of the income statement: the sections before it move the
// running result (+1 adds, -1 takes off); a result names it.
struct Step {
  const char* element;
  int sign;                        // for a section: how it moves the running result
  const char* profit = nullptr;    // for a result: its names
  const char* loss = nullptr;
};
const Step kSteps[] = {
    {"NetSales", +1},
    {"CostOfSales", -1},
    {"GrossProfit", 0, "売上総利益", "売上総損失"},
    {"SellingGeneralAndAdministrativeExpenses", -1},
    {"OperatingIncome", 0, "営業利益", "営業損失"},
    {"NonOperatingIncome", +1},
    {"NonOperatingExpenses", -1},
    {"OrdinaryIncome", 0, "経常利益", "経常損失"},
    {"ExtraordinaryIncome", +1},
    {"ExtraordinaryLoss", -1},
    {"IncomeBeforeIncomeTaxes", 0, "税引前当期純利益", "税引前当期純損失"},
    {"IncomeTaxes", -1},
    {"NetIncome", 0, "当期純利益", "当期純損失"},
};

StatementRow FormRow(std::string caption, int level, RowKind kind, std::string key) {
  StatementRow row;
  row.caption = std::move(caption);
  row.level = level;
  row.kind = kind;
  row.key = std::move(key);
  return row;
}

// An item's caption in a section: the purchases of goods as the form names
// them, and the gross sales when their section repeats the name.
std::string ItemCaption(const Node& section, const std::string& label, bool several) {
  if (section.name == "CostOfSales" && label == "仕入高") return "当期商品仕入高";
  if (several && label == SectionName(section.name)) return "総" + label;
  return label;
}

// One section of a report form. A section shown on one line (its only item
// repeats its name, it has no items, or one_line) carries its total on its
// heading; otherwise its items go in the inner column, the additions'
// 合計 before deductions that close the section, and the total in the outer
// column of the last row. numbering "" : no heading (the taxes).
void FormSection(const Node& section, const std::string& numbering, bool one_line, const std::string& prefix,
                 std::vector<StatementRow>* rows) {
  const std::string name = SectionName(section.name);
  const std::string here = prefix + " / " + name;
  const std::int64_t total = SectionTotal(section);
  const std::vector<const Node*> items = section.Children("Item");
  const std::string total_key = section.has_amount_attribute ? here + " / " + TotalCaption(section) : "";
  const bool repeats = items.size() == 1 && items[0]->label.value_or("") == name &&
                       !IsDeduction(section.name, name);
  if (one_line || items.empty() || repeats) {
    StatementRow row = FormRow(numbering.empty() ? name : numbering + "　" + name, 0, RowKind::kHeading,
                               total_key.empty() && repeats ? here + " / " + name : total_key);
    row.outer = total;
    row.value = total;
    rows->push_back(std::move(row));
    return;
  }
  if (!numbering.empty()) rows->push_back(FormRow(numbering + "　" + name, 0, RowKind::kHeading, ""));
  const int level = numbering.empty() ? 0 : 1;
  // Where the additions end: the first deduction after which only deductions come.
  std::size_t first_deduction = items.size();
  while (first_deduction > 0 && IsDeduction(section.name, items[first_deduction - 1]->label.value_or("")))
    --first_deduction;
  std::int64_t additions = 0;
  for (std::size_t i = 0; i < items.size(); ++i) {
    if (i == first_deduction && i >= 2) {
      StatementRow subtotal = FormRow("合計", level + 1, RowKind::kSubtotal, here + " / 合計");
      subtotal.inner = additions;
      subtotal.value = additions;
      rows->push_back(std::move(subtotal));
    }
    const std::string label = items[i]->label.value_or("");
    const std::int64_t amount = items[i]->amount.value_or(0);
    StatementRow row = FormRow(ItemCaption(section, label, items.size() > 1), level, RowKind::kItem,
                               here + " / " + label);
    row.deduction = IsDeduction(section.name, label);
    row.inner = row.deduction ? -amount : amount;
    row.value = amount;
    if (!row.deduction) additions = Plus(additions, amount);
    rows->push_back(std::move(row));
  }
  rows->back().outer = total;
  rows->back().outer_key = total_key;
  rows->back().outer_caption = section.has_amount_attribute ? TotalCaption(section) : name + "計";
}

StatementRow Result(const Step& step, std::int64_t value, const std::string& prefix) {
  StatementRow row = FormRow(value < 0 ? step.loss : step.profit, 0, RowKind::kResult,
                             prefix + " / " + SectionName(step.element));
  row.outer = value < 0 ? Minus(0, value) : value;
  row.value = value;
  row.profit_caption = step.profit;
  row.loss_caption = step.loss;
  return row;
}

// A statement of the business year: its title, and the period under it.
Statement PeriodStatement(const Node& root, std::string title) {
  Statement statement;
  statement.title = std::move(title);
  const ReportHeader header = HeaderOf(root);
  statement.date_line = EraPeriod(header.period_from, header.period_to);
  return statement;
}

} // namespace

Statement IncomeStatementForm(const Node& root) {
  Statement statement = PeriodStatement(root, kIncome);
  const Node& income = *root.Child("DATA")->Child("IncomeStatement");
  std::int64_t running = 0;
  int number = 0;
  bool moved = false; // a section moved the result since the last result line
  for (std::size_t s = 0; s < sizeof kSteps / sizeof kSteps[0]; ++s) {
    const Step& step = kSteps[s];
    const Node* node = income.Child(step.element);
    if (step.profit != nullptr) {
      // The report's figure when it has the line; else the sum, so every step shows.
      if (node != nullptr && node->has_amount_attribute) running = node->amount.value_or(0);
      if (node != nullptr || moved) statement.rows.push_back(Result(step, running, kIncome));
      moved = false;
      continue;
    }
    if (node == nullptr) continue;
    running = step.sign > 0 ? Plus(running, SectionTotal(*node)) : Minus(running, SectionTotal(*node));
    if (!SectionHasContent(*node)) continue;
    moved = true;
    const bool taxes = node->name == "IncomeTaxes";
    FormSection(*node, taxes ? "" : RomanNumeral(++number),
                node->name == "SellingGeneralAndAdministrativeExpenses", kIncome, &statement.rows);
    if (taxes && statement.rows.back().kind == RowKind::kHeading) // one line, not a section's heading
      statement.rows.back().kind = RowKind::kItem;
  }
  return statement;
}

Statement ManufacturingForm(const Node& root) {
  Statement statement = PeriodStatement(root, "製造原価報告書");
  const Node& schedule = *root.Child("DATA")->Child("ScheduleCostGoodsManufactured");
  int number = 0;
  for (const Node& node : schedule.children) {
    const bool cost = node.name == "MaterialCost" || node.name == "LaborCost" || node.name == "OverheadExpenses";
    if (cost) {
      if (SectionHasContent(node)) FormSection(node, RomanNumeral(++number), false, statement.title, &statement.rows);
      continue;
    }
    const bool inventory = node.name == "WorkProcessBeginningInventories" || node.name == "WorkProcessClosingInventories";
    if (inventory) {
      if (!SectionHasContent(node)) continue;
      FormSection(node, "", true, statement.title, &statement.rows);
      StatementRow& row = statement.rows.back();
      row.level = 0;
      row.kind = RowKind::kItem;
      if (node.name == "WorkProcessClosingInventories") { // taken off the subtotal
        row.deduction = true;
        row.outer = Minus(0, *row.outer);
      }
      continue;
    }
    if (!node.has_amount_attribute) continue;
    const std::string caption = SectionName(node.name);
    StatementRow row = FormRow(caption, 0, RowKind::kResult, statement.title + " / " + caption + " / " +
                                                                 TotalCaption(node));
    row.outer = node.amount.value_or(0);
    row.value = *row.outer;
    statement.rows.push_back(std::move(row));
  }
  return statement;
}

Statement ExpenseDetailForm(const Node& root) {
  Statement statement = PeriodStatement(root, "販売費及び一般管理費内訳書");
  statement.one_column = true;
  const Node& section = *root.Child("DATA")->Child("IncomeStatement")->Child("SellingGeneralAndAdministrativeExpenses");
  const std::string here = std::string(kIncome) + " / " + SectionName(section.name);
  for (const Node* item : section.Children("Item")) {
    const std::string label = item->label.value_or("");
    StatementRow row = FormRow(label, 0, RowKind::kItem, here + " / " + label);
    row.outer = item->amount.value_or(0);
    row.value = *row.outer;
    statement.rows.push_back(std::move(row));
  }
  StatementRow total = FormRow(TotalCaption(section), 0, RowKind::kTotal,
                               section.has_amount_attribute ? here + " / " + TotalCaption(section) : "");
  total.outer = SectionTotal(section);
  total.value = *total.outer;
  statement.rows.push_back(std::move(total));
  return statement;
}

} // namespace stmtlink::report

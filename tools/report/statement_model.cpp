#include "tools/report/statement_model.h"

#include "tools/report/findings.h"
#include "tools/report/statement_forms.h"
#include "tools/report/statement_terms.h"

namespace stmtlink::report {

bool SectionHasContent(const Node& section) {
  if (section.amount.value_or(0) != 0) return true;
  for (const Node& child : section.children)
    if (child.name == "Item" || SectionHasContent(child)) return true;
  return false;
}

std::int64_t SectionTotal(const Node& section) {
  if (section.has_amount_attribute) return section.amount.value_or(0);
  std::int64_t sum = 0;
  for (const Node& child : section.children) {
    if (child.name != "Item") sum = Plus(sum, SectionTotal(child));
    else if (IsDeduction(section.name, child.label.value_or(""))) sum = Minus(sum, child.amount.value_or(0));
    else sum = Plus(sum, child.amount.value_or(0));
  }
  return sum;
}

std::string TotalCaption(const Node& section) {
  if (section.label && !section.label->empty()) return *section.label;
  return SectionName(section.name) + "合計";
}

std::string RomanNumeral(int n) {
  static const char* const kNumerals[] = {"Ⅰ", "Ⅱ", "Ⅲ", "Ⅳ", "Ⅴ", "Ⅵ", "Ⅶ", "Ⅷ", "Ⅸ", "Ⅹ",
                                          "Ⅺ", "Ⅻ", "ⅩⅢ", "ⅩⅣ", "ⅩⅤ", "ⅩⅥ", "ⅩⅦ", "ⅩⅧ", "ⅩⅨ", "ⅩⅩ"};
  return n >= 1 && n <= 20 ? kNumerals[n - 1] : std::to_string(n);
}

Statements BuildStatements(const Node& root) {
  Statements statements;
  const Node* data = root.Child("DATA");
  if (data == nullptr) return statements;
  if (data->Child("BalanceSheet")) statements.balance_sheet = BalanceSheetForm(root);
  if (const Node* income = data->Child("IncomeStatement")) {
    statements.income = IncomeStatementForm(root);
    if (income->Child("SellingGeneralAndAdministrativeExpenses")) statements.expenses = ExpenseDetailForm(root);
  }
  if (data->Child("ScheduleCostGoodsManufactured")) statements.manufacturing = ManufacturingForm(root);
  return statements;
}

} // namespace stmtlink::report

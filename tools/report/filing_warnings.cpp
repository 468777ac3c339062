#include "tools/report/filing_warnings.h"

#include <chrono>
#include <string>
#include <string_view>

#include "tools/report/era_date.h"
#include "tools/report/quoted_text.h"
#include "tools/report/statement_terms.h"

namespace stmtlink::report {
namespace {

bool Has(std::string_view text, std::string_view part) {
  return text.find(part) != std::string_view::npos;
}

// Cash, deposits, receivables and inventories, by the words of their names.
bool IsCashReceivableOrInventory(std::string_view label) {
  for (std::string_view word : {"現金", "預金", "受取手形", "売掛金", "未収", "商品", "製品",
                                "原材料", "材料", "仕掛品", "貯蔵品", "棚卸資産"})
    if (Has(label, word)) return true;
  return false;
}

void Walk(const Node& node, const std::string& path, const std::string& section,
          bool in_current_assets, Findings* findings) {
  const std::string here = path + "/" + node.name;
  for (const Node& child : node.children) {
    if (child.name != "Item") {
      Walk(child, here, child.name, in_current_assets || child.name == "CurrentAssets", findings);
      continue;
    }
    if (!child.label || !child.amount) continue;
    const std::string& label = *child.label;
    const std::int64_t amount = *child.amount;
    const std::string item_path = here + "/Item";
    if (in_current_assets && amount < 0 && IsCashReceivableOrInventory(label) &&
        !IsDeduction(section, label))
      findings->Add(Severity::kWarning, "warn.negative",
                    "「" + Quoted(label) + "」の残高が " + Yen(amount) + " とマイナスです。",
                    child.line, item_path);
    if ((Has(label, "仮払消費税") || Has(label, "仮受消費税")) && amount != 0)
      findings->Add(Severity::kWarning, "warn.consumption_tax",
                    "「" + Quoted(label) + "」に期末残高 " + Yen(amount) +
                        " が残っています。税抜経理では期末に精算します。",
                    child.line, item_path);
    if ((Has(label, "諸口") || Has(label, "未確定勘定")) && amount != 0)
      findings->Add(Severity::kWarning, "warn.suspense",
                    "「" + Quoted(label) + "」に残高 " + Yen(amount) +
                        " があります。振替先の科目を確かめてください。",
                    child.line, item_path);
  }
}

std::chrono::year_month_day DateOf(int yyyymmdd) {
  return std::chrono::year_month_day{std::chrono::year{yyyymmdd / 10000},
                                     std::chrono::month{static_cast<unsigned>(yyyymmdd / 100 % 100)},
                                     std::chrono::day{static_cast<unsigned>(yyyymmdd % 100)}};
}

} // namespace

bool IsWholeYear(int from, int to) {
  using namespace std::chrono;
  const year_month_day start = DateOf(from), end = DateOf(to);
  if (!start.ok() || !end.ok()) return false;
  const year_month_day later = start + years{1};
  // A year from 29 February ends on the last day of the next February.
  const sys_days target =
      later.ok() ? sys_days{later}
                 : sys_days{year_month_day_last{later.year(), month_day_last{later.month()}}} + days{1};
  return sys_days{end} + days{1} == target;
}

void AddFilingWarnings(const Node& root, Findings* findings) {
  const Node* data = root.Child("DATA");
  if (data != nullptr) {
    for (const Node& statement : data->children)
      if (statement.name == "BalanceSheet" || statement.name == "IncomeStatement" ||
          statement.name == "ScheduleCostGoodsManufactured")
        Walk(statement, "/REPORT/DATA", statement.name, false, findings);
    if (const Node* sheet = data->Child("BalanceSheet"))
      if (const Node* net = sheet->Child("NetAssets")) {
        std::int64_t value = 0;
        if (net->has_amount_attribute) {
          value = net->amount.value_or(0);
        } else {
          for (const Node* item : net->Children("Item"))
            value = item->label && IsDeduction("NetAssets", *item->label)
                        ? Minus(value, item->amount.value_or(0))
                        : Plus(value, item->amount.value_or(0));
        }
        if (value < 0)
          findings->Add(Severity::kWarning, "warn.net_assets",
                        "純資産合計が " + Yen(value) + " とマイナスです（債務超過）。", net->line,
                        "/REPORT/DATA/BalanceSheet/NetAssets");
      }
  }
  const ReportHeader header = HeaderOf(root);
  if (header.period_from != 0 && header.period_to != 0 &&
      !IsWholeYear(header.period_from, header.period_to))
    findings->Add(Severity::kWarning, "warn.period",
                  "事業年度（" + EraDate(header.period_from) + "〜" + EraDate(header.period_to) +
                      "）が1年ではありません。",
                  0, "/REPORT/BASIC");
}

} // namespace stmtlink::report

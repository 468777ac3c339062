#include "tools/report/statement_terms.h"

#include <utility>

namespace stmtlink::report {
namespace {

const std::pair<std::string_view, std::string_view> kNames[] = {
    {"BalanceSheet", "貸借対照表"},
    {"Assets", "資産の部"},
    {"CurrentAssets", "流動資産"},
    {"NoncurrentAssets", "固定資産"},
    {"PropertyPlantAndEquipment", "有形固定資産"},
    {"IntangibleAssets", "無形固定資産"},
    {"InvestmentsAndOtherAssets", "投資その他の資産"},
    {"DeferredAssets", "繰延資産"},
    {"Liabilities", "負債の部"},
    {"CurrentLiabilities", "流動負債"},
    {"NoncurrentLiabilities", "固定負債"},
    {"NetAssets", "純資産の部"},
    {"IncomeStatement", "損益計算書"},
    {"NetSales", "売上高"},
    {"CostOfSales", "売上原価"},
    {"GrossProfit", "売上総利益"},
    {"SellingGeneralAndAdministrativeExpenses", "販売費及び一般管理費"},
    {"OperatingIncome", "営業利益"},
    {"NonOperatingIncome", "営業外収益"},
    {"NonOperatingExpenses", "営業外費用"},
    {"OrdinaryIncome", "経常利益"},
    {"ExtraordinaryIncome", "特別利益"},
    {"ExtraordinaryLoss", "特別損失"},
    {"IncomeBeforeIncomeTaxes", "税引前当期純利益"},
    {"IncomeTaxes", "法人税、住民税及び事業税"},
    {"NetIncome", "当期純利益"},
    {"ScheduleCostGoodsManufactured", "製造原価報告書"},
    {"MaterialCost", "材料費"},
    {"LaborCost", "労務費"},
    {"OverheadExpenses", "製造経費"},
    {"TotalProductionCostUtilized", "当期総製造費用"},
    {"WorkProcessBeginningInventories", "期首仕掛品棚卸高"},
    {"SubtotalScheduleCostGoodsManufactured", "小計"},
    {"WorkProcessClosingInventories", "期末仕掛品棚卸高"},
    {"CostFinishedGoods", "当期製品製造原価"},
    {"StatementChangesNetAssets", "株主資本等変動計算書"},
    {"ListNotesNonConsolidated", "個別注記表"},
    {"HJ00780S", "総勘定元帳"},
};

bool Has(std::string_view text, std::string_view part) {
  return text.find(part) != std::string_view::npos;
}

bool IsAssetSection(std::string_view section) {
  return section == "CurrentAssets" || section == "PropertyPlantAndEquipment" ||
         section == "IntangibleAssets" || section == "InvestmentsAndOtherAssets" ||
         section == "DeferredAssets" || section == "NoncurrentAssets";
}

} // namespace

std::string SectionName(std::string_view element) {
  for (const auto& [name, japanese] : kNames)
    if (name == element) return std::string(japanese);
  return std::string(element);
}

bool IsDeduction(std::string_view section, std::string_view label) {
  if (IsAssetSection(section)) return Has(label, "引当金") || Has(label, "累計額");
  if (section == "NetSales") return Has(label, "値引") || Has(label, "戻り") || Has(label, "割戻");
  if (section == "CostOfSales" || section == "MaterialCost")
    return (Has(label, "期末") && Has(label, "棚卸")) || Has(label, "値引") ||
           Has(label, "戻し") || Has(label, "割戻") || Has(label, "他勘定振替");
  if (section == "NetAssets") return Has(label, "自己株式") && !Has(label, "申込証拠金");
  return false;
}

} // namespace stmtlink::report

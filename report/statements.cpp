// The three statements built from account balances alone: the balance
// sheet, the income statement and the schedule of cost of goods
// manufactured. Each is a fixed skeleton of sections; accounts are placed by
// their account-nature code. The first failure ends a statement at once,
// without the remaining end tags.
#include "report/index_scope.h"
#include "report/report_writer.h"
#include "report/xml_writer.h"

namespace stmtlink {
namespace {

// One step of a statement skeleton.
enum class Step {
  kSection,     // category, items one level deeper, end tag
  kOpen,        // category only; a later kClose ends it
  kClose,       // end tag
  kSubtotal,    // one-line computed total
  kUnclassified // kSection plus the unclassified noncurrent assets, in its total too
};

struct Row {
  Step step;
  const char* name;
  int depth;
  std::uint32_t code;
  int warn = 0; // kUnclassified: whether its accounts are shown in a warning
};

constexpr Row kBalanceSheet[] = {
    {Step::kOpen, "Assets", 3, 0x80800000},
    {Step::kSection, "CurrentAssets", 4, 0x80880000},
    {Step::kOpen, "NoncurrentAssets", 4, 0x80840000},
    {Step::kSection, "PropertyPlantAndEquipment", 5, 0x80848000},
    {Step::kSection, "IntangibleAssets", 5, 0x80844000},
    // An account with only the general noncurrent-asset code is listed
    // once, here, where the noncurrent assets that are neither tangible nor
    // intangible belong; the section's total takes it in, so that the three
    // sections add up to the noncurrent assets' total that holds it.
    {Step::kUnclassified, "InvestmentsAndOtherAssets", 5, 0x80842000, 1},
    {Step::kClose, "NoncurrentAssets", 4, 0},
    {Step::kSection, "DeferredAssets", 4, 0x80820000},
    {Step::kClose, "Assets", 3, 0},
    {Step::kOpen, "Liabilities", 3, 0x80400000},
    {Step::kSection, "CurrentLiabilities", 4, 0x80480000},
    {Step::kSection, "NoncurrentLiabilities", 4, 0x80440000},
    {Step::kClose, "Liabilities", 3, 0},
    // Every net-assets account is an item here; the breakdown by equity item
    // is the statement of changes in net assets.
    {Step::kSection, "NetAssets", 3, 0x80200000},
};

constexpr Row kIncomeStatementBeforeTaxes[] = {
    {Step::kSection, "NetSales", 3, 0x40888000},
    {Step::kSection, "CostOfSales", 3, 0x40884000},
    {Step::kSubtotal, "GrossProfit", 3, 0x40880008},
    {Step::kSection, "SellingGeneralAndAdministrativeExpenses", 3, 0x40882000},
    {Step::kSubtotal, "OperatingIncome", 3, 0x40880000},
    {Step::kSection, "NonOperatingIncome", 3, 0x40848000},
    {Step::kSection, "NonOperatingExpenses", 3, 0x40844000},
    {Step::kSubtotal, "OrdinaryIncome", 3, 0x40800000},
    {Step::kSection, "ExtraordinaryIncome", 3, 0x40480000},
    {Step::kSection, "ExtraordinaryLoss", 3, 0x40440000},
    {Step::kSubtotal, "IncomeBeforeIncomeTaxes", 3, 0x40200080},
};

constexpr Row kManufacturingCost[] = {
    {Step::kSection, "MaterialCost", 3, 0x20800000},
    {Step::kSection, "LaborCost", 3, 0x20400000},
    {Step::kSection, "OverheadExpenses", 3, 0x20200000},
    {Step::kSubtotal, "TotalProductionCostUtilized", 3, 0x20080000},
    {Step::kSection, "WorkProcessBeginningInventories", 3, 0x20108000},
    {Step::kSubtotal, "SubtotalScheduleCostGoodsManufactured", 3, 0x20100008},
    {Step::kSection, "WorkProcessClosingInventories", 3, 0x20102000},
    // The income statement's line for the cost of finished goods.
    {Step::kSubtotal, "CostFinishedGoods", 3, 0x40884200},
};

template <std::size_t N>
int WriteRows(ReportWriter& report, XmlWriter& xml, const Row (&rows)[N]) {
  for (const Row& row : rows) {
    switch (row.step) {
      case Step::kOpen:
        if (!report.WriteCategory(xml, row.code, row.name, row.depth)) return 0;
        break;
      case Step::kClose:
        if (!xml.CloseElement(row.name, row.depth)) return 0;
        break;
      case Step::kSubtotal:
        if (!report.WriteSubtotal(xml, row.code, row.name, row.depth)) return 0;
        break;
      case Step::kSection:
      case Step::kUnclassified: {
        std::int64_t unclassified = 0;
        if (row.step == Step::kUnclassified && !report.SumUnclassifiedAssets(&unclassified)) return 0;
        if (!report.WriteCategory(xml, row.code, row.name, row.depth, unclassified) ||
            !report.WriteItems(xml, row.code, row.depth + 1))
          return 0;
        if (row.step == Step::kUnclassified &&
            !report.WriteUnclassifiedAssets(xml, row.depth + 1, row.warn))
          return 0;
        if (!xml.CloseElement(row.name, row.depth)) return 0;
        break;
      }
    }
  }
  return 1;
}

} // namespace

int ReportWriter::WriteBalanceSheet(XmlWriter& xml) {
  IndexScope scope(this);
  if (!scope.ok() || !xml.OpenElement("BalanceSheet", 2)) return 0;
  if (!WriteRows(*this, xml, kBalanceSheet)) return 0;
  return xml.CloseElement("BalanceSheet", 2);
}

int ReportWriter::WriteIncomeStatement(XmlWriter& xml) {
  IndexScope scope(this);
  if (!scope.ok() || !xml.OpenElement("IncomeStatement", 2)) return 0;
  if (!WriteRows(*this, xml, kIncomeStatementBeforeTaxes)) return 0;
  if (!xml.OpenElement("IncomeTaxes", 3) || !WriteIncomeTaxItems(xml, 4) ||
      !xml.CloseElement("IncomeTaxes", 3))
    return 0;
  if (!WriteSubtotal(xml, 0x40200040, "NetIncome", 3)) return 0;
  return xml.CloseElement("IncomeStatement", 2);
}

int ReportWriter::WriteManufacturingCost(XmlWriter& xml) {
  IndexScope scope(this);
  if (!scope.ok() || !xml.OpenElement("ScheduleCostGoodsManufactured", 2)) return 0;
  if (!WriteRows(*this, xml, kManufacturingCost)) return 0;
  return xml.CloseElement("ScheduleCostGoodsManufactured", 2);
}

} // namespace stmtlink

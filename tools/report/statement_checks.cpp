#include "tools/report/statement_checks.h"

#include <string>

#include "tools/report/quoted_text.h"
#include "tools/report/statement_terms.h"

namespace stmtlink::report {
namespace {

// A figure of a statement as the checks use it: the amount the report
// shows, or, where the report has no line for it, the sum of its parts;
// terms says how truncation moved the amounts that went into it.
struct Figure {
  std::int64_t value = 0;
  TruncatedTerms terms;
};

// A figure the report shows: one truncated term.
Figure Shown(std::int64_t value) {
  Figure figure{value, {}};
  figure.terms.Add(value, 1);
  return figure;
}
Figure FigurePlus(Figure a, Figure b) { return {report::Plus(a.value, b.value), a.terms + b.terms}; }
Figure FigureMinus(Figure a, Figure b) { return {report::Minus(a.value, b.value), a.terms + b.terms.Flipped()}; }

class StatementChecker {
 public:
  explicit StatementChecker(Findings* findings) : findings_(findings) {}

  void BalanceSheet(const Node& sheet, const std::string& path);
  void IncomeStatement(const Node& statement, const std::string& path);
  void Manufacturing(const Node& schedule, const Node* income, const std::string& path);
  void Equity(const Node& statement, const std::string& path);

  // Filled on the way, for the equity statement.
  bool have_net_assets = false;
  Figure net_assets;
  bool have_net_income = false;
  Figure net_income;

 private:
  Figure Category(const Node& node, const std::string& path);
  // The category child `name` of a statement; nothing when it has none.
  Figure ChildCategory(const Node& statement, const char* name, const std::string& path) {
    const Node* node = statement.Child(name);
    return node ? Category(*node, path) : Figure{};
  }
  // A computed line: compared with what the chain gives, then its own
  // figure (or the chain's when the report has no line for it).
  Figure Subtotal(const Node* node, Figure chain, const std::string& parts,
                  const std::string& path, const char* element);
  std::string Name(const Node& node) const {
    return node.label && !node.label->empty() ? *node.label : SectionName(node.name);
  }

  Findings* findings_;
  std::string check_; // "bs", "pl", "mfg"
  std::string title_; // the statement's Japanese name
};

Figure StatementChecker::Category(const Node& node, const std::string& path) {
  const std::string here = path + "/" + node.name;
  Figure sum;
  int terms = 0;
  for (const Node& child : node.children) {
    if (child.name == "Item") {
      const std::int64_t value = child.amount.value_or(0);
      const bool deducted = child.label && IsDeduction(node.name, *child.label);
      sum.value = deducted ? report::Minus(sum.value, value) : report::Plus(sum.value, value);
      sum.terms.Add(value, deducted ? -1 : 1);
    } else {
      sum = FigurePlus(sum, Category(child, here));
    }
    ++terms;
  }
  if (!node.has_amount_attribute) return sum;
  const std::int64_t shown = node.amount.value_or(0);
  findings_->CompareFigure(check_ + ".category", title_ + "の「" + Quoted(Name(node)) + "」", shown,
                           terms == 0 ? "項目がなく、その合計" : "内訳の合計", sum.value,
                           sum.terms, node.line, here);
  return Shown(shown);
}

Figure StatementChecker::Subtotal(const Node* node, Figure chain, const std::string& parts,
                                  const std::string& path, const char* element) {
  if (node == nullptr || !node->has_amount_attribute) return chain;
  const std::int64_t shown = node->amount.value_or(0);
  findings_->CompareFigure(check_ + ".chain", title_ + "の「" + Quoted(Name(*node)) + "」", shown, parts,
                           chain.value, chain.terms, node->line, path + "/" + element);
  return Shown(shown);
}

void StatementChecker::BalanceSheet(const Node& sheet, const std::string& path) {
  const std::string here = path + "/BalanceSheet";
  check_ = "bs";
  title_ = "貸借対照表";
  const Node* assets = sheet.Child("Assets");
  const Node* liabilities = sheet.Child("Liabilities");
  const Node* equity = sheet.Child("NetAssets");
  if (!assets || !liabilities || !equity) return; // the schema has said so
  const Figure a = Category(*assets, here);
  const Figure l = Category(*liabilities, here);
  const Figure n = Category(*equity, here);
  have_net_assets = true;
  net_assets = n;
  // An account whose nature names no noncurrent subsection comes out in all
  // three: say so, beside the totals it throws off.
  if (const Node* noncurrent = assets->Child("NoncurrentAssets")) {
    const Node* ppe = noncurrent->Child("PropertyPlantAndEquipment");
    const Node* intangible = noncurrent->Child("IntangibleAssets");
    const Node* other = noncurrent->Child("InvestmentsAndOtherAssets");
    if (ppe && intangible && other)
      for (const Node* item : ppe->Children("Item")) {
        auto has = [&](const Node* section) {
          for (const Node* i : section->Children("Item"))
            if (i->label == item->label && i->amount == item->amount) return true;
          return false;
        };
        if (has(intangible) && has(other))
          findings_->Add(Severity::kError, "bs.unclassified",
                         "「" + Quoted(item->label.value_or("")) + "」（" + Yen(item->amount.value_or(0)) +
                             "）が有形固定資産・無形固定資産・投資その他の資産の三か所に載っています。"
                             "固定資産のどの区分かが決まっていない科目です。",
                         item->line, here + "/Assets/NoncurrentAssets/PropertyPlantAndEquipment/Item");
      }
  }
  findings_->CompareFigure("bs.balance", "貸借対照表の資産合計", a.value,
                           "負債合計と純資産合計の和", report::Plus(l.value, n.value), l.terms + n.terms,
                           assets->line, here + "/Assets");
}

void StatementChecker::IncomeStatement(const Node& s, const std::string& path) {
  const std::string here = path + "/IncomeStatement";
  check_ = "pl";
  title_ = "損益計算書";
  auto category = [&](const char* name) { return ChildCategory(s, name, here); };
  const Figure sales = category("NetSales");
  const Figure cost = category("CostOfSales");
  Figure gross = Subtotal(s.Child("GrossProfit"), FigureMinus(sales, cost), "売上高から売上原価を引いた額",
                          here, "GrossProfit");
  const Figure sga = category("SellingGeneralAndAdministrativeExpenses");
  Figure operating = Subtotal(s.Child("OperatingIncome"), FigureMinus(gross, sga),
                              "売上総利益から販売費及び一般管理費を引いた額", here,
                              "OperatingIncome");
  const Figure non_operating_income = category("NonOperatingIncome");
  const Figure non_operating_expenses = category("NonOperatingExpenses");
  Figure ordinary = Subtotal(s.Child("OrdinaryIncome"),
                             FigureMinus(FigurePlus(operating, non_operating_income), non_operating_expenses),
                             "営業利益に営業外収益を足し営業外費用を引いた額", here,
                             "OrdinaryIncome");
  const Figure extraordinary_income = category("ExtraordinaryIncome");
  const Figure extraordinary_loss = category("ExtraordinaryLoss");
  Figure pretax = Subtotal(s.Child("IncomeBeforeIncomeTaxes"),
                           FigureMinus(FigurePlus(ordinary, extraordinary_income), extraordinary_loss),
                           "経常利益に特別利益を足し特別損失を引いた額", here,
                           "IncomeBeforeIncomeTaxes");
  const Figure taxes = category("IncomeTaxes");
  net_income = Subtotal(s.Child("NetIncome"), FigureMinus(pretax, taxes),
                        "税引前当期純利益から法人税等を引いた額", here, "NetIncome");
  have_net_income = true;
}

void StatementChecker::Manufacturing(const Node& s, const Node* income, const std::string& path) {
  const std::string here = path + "/ScheduleCostGoodsManufactured";
  check_ = "mfg";
  title_ = "製造原価報告書";
  auto category = [&](const char* name) { return ChildCategory(s, name, here); };
  const Figure material = category("MaterialCost");
  const Figure labor = category("LaborCost");
  const Figure overhead = category("OverheadExpenses");
  const Figure total = Subtotal(s.Child("TotalProductionCostUtilized"),
                                FigurePlus(FigurePlus(material, labor), overhead),
                                "材料費・労務費・製造経費の和", here,
                                "TotalProductionCostUtilized");
  const Figure opening = category("WorkProcessBeginningInventories");
  const Figure subtotal = Subtotal(s.Child("SubtotalScheduleCostGoodsManufactured"),
                                   FigurePlus(total, opening), "当期総製造費用と期首仕掛品棚卸高の和",
                                   here, "SubtotalScheduleCostGoodsManufactured");
  const Figure closing = category("WorkProcessClosingInventories");
  const Node* finished = s.Child("CostFinishedGoods");
  const Figure cost = Subtotal(finished, FigureMinus(subtotal, closing),
                               "小計から期末仕掛品棚卸高を引いた額", here,
                               "CostFinishedGoods");
  // The cost of finished goods reaches the income statement's cost of
  // sales as an item of the same name.
  if (income == nullptr || finished == nullptr || !finished->label) return;
  const Node* cost_of_sales = income->Child("CostOfSales");
  if (cost_of_sales == nullptr) return;
  for (const Node* item : cost_of_sales->Children("Item")) {
    if (item->label != finished->label) continue;
    findings_->CompareFigure("mfg.cost_of_sales", "損益計算書の売上原価の「" + Quoted(*item->label) + "」",
                             item->amount.value_or(0), "製造原価報告書の当期製品製造原価",
                             cost.value, {}, item->line,
                             path + "/IncomeStatement/CostOfSales/Item");
  }
}

void StatementChecker::Equity(const Node& s, const std::string& path) {
  const std::string here = path + "/StatementChangesNetAssets";
  const std::string title = s.ChildText("Select") == "2" ? "社員資本等変動計算書" : "株主資本等変動計算書";
  Figure closing_total;
  bool net_income_seen = false;
  const Node* retained = nullptr;
  for (const Node* item : s.Children("ChangesNetAssetsItem")) {
    const std::string name = item->ChildText("AccountList");
    const std::string item_path = here + "/ChangesNetAssetsItem";
    auto amount_of = [](const Node* node) { return node ? node->amount.value_or(0) : 0; };
    const std::int64_t opening = amount_of(item->Child("BalanceEndPreviousPeriod"));
    const Node* changes = item->Child("ChangesItemsDuringPeriod");
    const std::int64_t change = changes ? amount_of(changes->Child("TotalChangesItemsDuringPeriod")) : 0;
    const std::int64_t closing = amount_of(item->Child("BalanceEndCurrentPeriod"));
    findings_->CompareFigure("equity.item", title + "の「" + Quoted(name) + "」の当期末残高", closing,
                             "前期末残高と当期変動額合計の和", report::Plus(opening, change),
                             Shown(opening).terms + Shown(change).terms, item->line, item_path);
    const bool deducted = name == "自己株式";
    closing_total.value = deducted ? report::Minus(closing_total.value, closing)
                                   : report::Plus(closing_total.value, closing);
    closing_total.terms.Add(closing, deducted ? -1 : 1);
    if (name == "繰越利益剰余金") retained = item;
    if (changes == nullptr) continue;
    for (const Node* reason : changes->Children("ChangesItem")) {
      if (reason->ChildText("Reason") != "当期純利益") continue;
      net_income_seen = true;
      if (have_net_income)
        findings_->CompareFigure("equity.net_income", title + "の当期純利益",
                                 amount_of(reason->Child("Amount")), "損益計算書の当期純利益",
                                 net_income.value, {}, reason->line, item_path + "/ChangesItemsDuringPeriod/ChangesItem");
    }
  }
  if (have_net_income && net_income.value != 0 && !net_income_seen)
    findings_->Add(Severity::kError, "equity.net_income",
                   title + "に当期純利益（損益計算書では " + Yen(net_income.value) +
                       "）の変動がありません。",
                   retained ? retained->line : s.line, here);
  if (have_net_assets)
    findings_->CompareFigure("equity.net_assets", "貸借対照表の純資産合計", net_assets.value,
                             title + "の当期末残高の合計", closing_total.value,
                             closing_total.terms, s.line, here);
}

} // namespace

void CheckStatements(const Node& root, Findings* findings) {
  const Node* data = root.Child("DATA");
  if (data == nullptr) return;
  const std::string path = "/REPORT/DATA";
  StatementChecker checker(findings);
  if (const Node* sheet = data->Child("BalanceSheet")) checker.BalanceSheet(*sheet, path);
  const Node* income = data->Child("IncomeStatement");
  if (income) checker.IncomeStatement(*income, path);
  if (const Node* schedule = data->Child("ScheduleCostGoodsManufactured"))
    checker.Manufacturing(*schedule, income, path);
  if (const Node* equity = data->Child("StatementChangesNetAssets")) checker.Equity(*equity, path);
}

} // namespace stmtlink::report

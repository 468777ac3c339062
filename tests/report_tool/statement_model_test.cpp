// The statement model on small reports built in memory: the balance sheet's
// form (「現在」, numbered sections, an empty section left out, deductions
// as △, net assets in their hierarchy as the equity statement places them,
// the bottom row), and the income statement's (a loss named and unsigned,
// the cost of sales with its 合計, a section repeating its name once).
#include <gtest/gtest.h>

#include "tools/report/equity_form.h"
#include "tools/report/net_assets_classes.h"
#include "tools/report/notes_form.h"
#include "tools/report/previous_year.h"
#include "tools/report/statements_html.h"

#include <regex>
#include <sstream>
#include "tools/report/statement_model.h"

namespace stmtlink::report {
namespace {

Node Element(std::string name, std::vector<Node> children = {}) {
  Node node;
  node.name = std::move(name);
  node.children = std::move(children);
  return node;
}
Node Category(std::string name, std::string label, std::int64_t amount, std::vector<Node> children) {
  Node node = Element(std::move(name), std::move(children));
  node.label = std::move(label);
  node.has_amount_attribute = true;
  node.amount = amount;
  return node;
}
Node ItemOf(std::string label, std::int64_t amount) {
  Node node = Element("Item");
  node.label = std::move(label);
  node.amount = amount;
  return node;
}
Node Text(std::string name, std::string text) {
  Node node = Element(std::move(name));
  node.text = std::move(text);
  return node;
}
Node Figure(std::string name, std::int64_t amount) {
  Node node = Element(std::move(name));
  node.amount = amount;
  return node;
}
Node EquityItem(const std::string& name, std::int64_t closing) {
  return Element("ChangesNetAssetsItem", {Text("AccountList", name), Figure("BalanceEndCurrentPeriod", closing)});
}
Node Report(std::vector<Node> statements) {
  return Element("REPORT", {Element("BASIC", {Text("KOMONSAKINAME", "株式会社　見本"),
                                              Text("JIGYOUNENDOFROM", "20250401"),
                                              Text("JIGYOUNENDOTO", "20260331")}),
                            Element("DATA", std::move(statements))});
}

// "caption amount" of each row with a figure, "caption" of the others.
std::vector<std::string> Captions(const std::vector<StatementRow>& rows) {
  std::vector<std::string> out;
  for (const StatementRow& row : rows) {
    std::string line = std::string(row.level, ' ') + row.caption;
    if (row.inner) line += " " + std::to_string(*row.inner);
    if (row.outer) line += " | " + std::to_string(*row.outer);
    out.push_back(line);
  }
  return out;
}

TEST(StatementModel, BalanceSheetInTheFormOfTheRules) {
  const Node report = Report({
      Element("BalanceSheet",
              {Category("Assets", "資産合計", 1650, {
                   Category("CurrentAssets", "流動資産合計", 950, {ItemOf("現金", 1000), ItemOf("貸倒引当金", 50)}),
                   Category("NoncurrentAssets", "固定資産合計", 700, {
                       Category("PropertyPlantAndEquipment", "有形固定資産合計", 700,
                                {ItemOf("建物", 900), ItemOf("減価償却累計額", 200)}),
                       Category("IntangibleAssets", "無形固定資産合計", 0, {})}),
                   Category("DeferredAssets", "繰延資産合計", 0, {})}),
               Category("Liabilities", "負債合計", 300, {
                   Category("CurrentLiabilities", "流動負債合計", 300, {ItemOf("買掛金", 300)}),
                   Category("NoncurrentLiabilities", "固定負債合計", 0, {})}),
               Category("NetAssets", "純資産合計", 1350, {
                   ItemOf("資本金", 500), ItemOf("新株式申込証拠金", 10), ItemOf("資本準備金", 100),
                   ItemOf("利益準備金", 50), ItemOf("圧縮積立金", 70), ItemOf("繰越利益剰余金", 550),
                   ItemOf("自己株式", 30), ItemOf("その他有価証券評価差額金", 80), ItemOf("新株予約権", 20)})}),
      Element("StatementChangesNetAssets",
              {Text("Select", "1"), EquityItem("資本金", 500), EquityItem("資本準備金", 100),
               EquityItem("利益準備金", 50), EquityItem("任意積立金", 70), EquityItem("繰越利益剰余金", 550),
               EquityItem("自己株式", 30), EquityItem("その他有価証券評価差額金", 80),
               EquityItem("新株予約権", 20)})});
  const Statement sheet = *BuildStatements(report).balance_sheet;
  EXPECT_EQ("令和8年3月31日現在", sheet.date_line);
  ASSERT_TRUE(sheet.account_form());
  const std::vector<std::string> left = {
      "資産の部", " Ⅰ　流動資産", "  現金 | 1000", "  貸倒引当金 | -50", " 流動資産合計 | 950",
      " Ⅱ　固定資産", "  1　有形固定資産", "   建物 | 900", "   減価償却累計額 | -200",
      "  有形固定資産合計 | 700", " 固定資産合計 | 700", "資産合計 | 1650"};
  EXPECT_EQ(left, Captions(sheet.rows));
  const std::vector<std::string> right = {
      "負債の部", " Ⅰ　流動負債", "  買掛金 | 300", " 流動負債合計 | 300", "負債合計 | 300",
      "純資産の部", " Ⅰ　株主資本", "  資本金 | 500", "  資本剰余金", "   資本準備金 | 100",
      "  資本剰余金合計 | 100", "  利益剰余金", "   利益準備金 | 50", "   その他利益剰余金",
      "    圧縮積立金 | 70", "    繰越利益剰余金 | 550", "  利益剰余金合計 | 670", "  自己株式 | -30",
      " 株主資本合計 | 1240", " Ⅱ　評価・換算差額等", "  その他有価証券評価差額金 | 80",
      " 評価・換算差額等合計 | 80", " Ⅲ　新株予約権 | 20", " 新株式申込証拠金 | 10",
      "純資産合計 | 1350", "負債・純資産合計 | 1650"};
  EXPECT_EQ(right, Captions(sheet.right));
  ASSERT_EQ(1u, sheet.remarks.size()); // the account no equity item answers for is said, not guessed
  EXPECT_NE(std::string::npos, sheet.remarks[0].find("「新株式申込証拠金」"));
}

TEST(StatementModel, NetAssetsArePlacedByTheEquityStatementOnly) {
  const Node net = Category("NetAssets", "純資産合計", 0, {
      ItemOf("任意積立金", 40), ItemOf("圧縮積立金", 40), ItemOf("特別償却準備金", 60),
      ItemOf("配当平均積立金", 60), ItemOf("その他資本剰余金", 5)});
  const Node equity = Element("StatementChangesNetAssets",
                              {EquityItem("任意積立金", 40), EquityItem("別途積立金", 60)});
  const std::vector<NetAssetsAccount> placed = ClassifyNetAssets(net, &equity);
  ASSERT_EQ(5u, placed.size());
  // The name takes its own item; the amount cannot hand it to another account.
  EXPECT_EQ("任意積立金", placed[0].equity_item);
  EXPECT_EQ(EquityClass::kUnplaced, placed[1].equity_class);
  // Two accounts of the one amount: neither is guessed.
  EXPECT_EQ(EquityClass::kUnplaced, placed[2].equity_class);
  EXPECT_EQ(EquityClass::kUnplaced, placed[3].equity_class);
  // A name the statement does not carry is not placed by its name either.
  EXPECT_EQ(EquityClass::kUnplaced, placed[4].equity_class);
  EXPECT_EQ(EquityClass::kUnplaced, ClassifyNetAssets(net, nullptr)[0].equity_class);
}

TEST(StatementModel, IncomeStatementNamesLossesAndShowsTheCostOfSales) {
  const Node report = Report({Element("IncomeStatement", {
      Category("NetSales", "売上高合計", 1000, {ItemOf("売上高", 1000)}),
      Category("CostOfSales", "売上原価合計", 650, {ItemOf("期首商品棚卸高", 100), ItemOf("仕入高", 700),
                                                 ItemOf("期末商品棚卸高", 150)}),
      // no GrossProfit line in this chart: the form shows it all the same
      Category("SellingGeneralAndAdministrativeExpenses", "販売費及び一般管理費合計", 500,
               {ItemOf("給料手当", 500)}),
      Category("OperatingIncome", "営業利益金額", -150, {}),
      Category("NonOperatingIncome", "営業外収益合計", 0, {}),
      Category("NonOperatingExpenses", "営業外費用合計", 20, {ItemOf("支払利息", 20)}),
      Category("OrdinaryIncome", "経常利益", -170, {}),
      Category("ExtraordinaryIncome", "特別利益合計", 200, {ItemOf("固定資産売却益", 200)}),
      Category("ExtraordinaryLoss", "特別損失合計", 0, {}),
      Category("IncomeBeforeIncomeTaxes", "税引前当期純利益", 30, {}),
      Element("IncomeTaxes", {ItemOf("法人税、住民税及び事業税", 70)}),
      Category("NetIncome", "当期純利益", -40, {})})});
  const Statement income = *BuildStatements(report).income;
  EXPECT_EQ("自 令和7年4月1日　至 令和8年3月31日", income.date_line);
  const std::vector<std::string> rows = {
      "Ⅰ　売上高 | 1000", "Ⅱ　売上原価", " 期首商品棚卸高 100", " 当期商品仕入高 700", "  合計 800",
      " 期末商品棚卸高 -150 | 650", "売上総利益 | 350", "Ⅲ　販売費及び一般管理費 | 500", "営業損失 | 150",
      "Ⅳ　営業外費用", " 支払利息 20 | 20", "経常損失 | 170", "Ⅴ　特別利益", " 固定資産売却益 200 | 200",
      "税引前当期純利益 | 30", "法人税、住民税及び事業税 | 70", "当期純損失 | 40"};
  EXPECT_EQ(rows, Captions(income.rows));
}


Node Changing(const std::string& name, std::int64_t opening, std::int64_t change, const std::string& reason) {
  Node item = EquityItem(name, opening + change);
  item.children.insert(item.children.begin() + 1, Figure("BalanceEndPreviousPeriod", opening));
  item.children.insert(item.children.begin() + 2,
                       Element("ChangesItemsDuringPeriod",
                               {Figure("TotalChangesItemsDuringPeriod", change),
                                Element("ChangesItem", {Text("Reason", reason), Figure("Amount", change)})}));
  return item;
}

TEST(StatementModel, EquityStatementFillsEveryTotalUnderEveryChange) {
  const Node report = Report({
      Element("BalanceSheet", {Category("NetAssets", "純資産合計", 0,
                                        {ItemOf("資本金", 100), ItemOf("圧縮積立金", 30), ItemOf("繰越利益剰余金", 40),
                                         ItemOf("自己株式", 5)})}),
      Element("StatementChangesNetAssets",
              {Text("Select", "2"), EquityItem("資本金", 100), EquityItem("任意積立金", 30),
               Changing("繰越利益剰余金", 50, -10, "当期純利益"), Changing("自己株式", 0, 5, "自己株式の取得")})});
  const EquityStatement form = *EquityForm(report);
  EXPECT_EQ("社員資本等変動計算書", form.title);
  ASSERT_EQ((std::vector<std::string>{"当期純利益", "自己株式の取得"}), form.reasons);
  std::vector<std::string> rows;
  for (const EquityRow& row : form.rows) {
    std::string line = std::string(row.level, ' ') + row.caption;
    if (row.kind != RowKind::kHeading) {
      line += " " + std::to_string(row.opening);
      for (const auto& change : row.changes) line += change ? " " + std::to_string(*change) : " .";
      line += " " + std::to_string(row.change_total) + " " + std::to_string(row.closing);
    }
    rows.push_back(line);
  }
  const std::vector<std::string> expected = {
      "社員資本", " 資本金 0 . . 0 100", " 利益剰余金", "  その他利益剰余金",
      "   圧縮積立金 0 . . 0 30", "   繰越利益剰余金 50 -10 . -10 40", " 利益剰余金合計 50 -10 0 -10 70",
      " 自己株式 0 . -5 -5 -5", "社員資本合計 50 -10 -5 -15 165", "純資産合計 50 -10 -5 -15 165"};
  EXPECT_EQ(expected, rows);
}

TEST(StatementModel, NotesAreOnePageWithEachHeadingOnceInTheReportsOrder) {
  EXPECT_TRUE(NotesForm(nullptr).empty());
  const Node notes = Element("ListNotesNonConsolidated", {
      Element("NotesGoingConcernAssumption"), // nothing to say: no heading
      Element("NoteBalanceSheet", {Element("PledgedAssets", {Text("Line", "担保資産")})}),
      Element("NotesSignificantAccountingPolicy", {Text("Line", "方針")}),
      Element("AmountGuaranties", {Text("Line", "保証債務")})}); // in place of its hidden parent
  const std::vector<NoteSection> sections = NotesForm(&notes);
  ASSERT_EQ(2u, sections.size());
  EXPECT_EQ("1．貸借対照表に関する注記", sections[0].heading);
  ASSERT_EQ(2u, sections[0].lines.size());
  EXPECT_EQ("保証債務", sections[0].lines[1].text);
  EXPECT_EQ(sections[0].lines[0].depth, sections[0].lines[1].depth);
  EXPECT_EQ("2．重要な会計方針に係る事項に関する注記", sections[1].heading);
  EXPECT_EQ(0, sections[1].lines[0].depth);
}


TEST(StatementModel, LastYearBesideThisKeepsTheItemsOfEitherYear) {
  auto year = [](const char* from, const char* to, const char* company, std::vector<Node> items) {
    Node report = Report({Element("BalanceSheet", {Category("Assets", "資産合計", 0, {
                              Category("CurrentAssets", "流動資産合計", 0, std::move(items))})})});
    report.children[0].children = {Text("KOMONSAKINAME", company), Text("JIGYOUNENDOFROM", from),
                                   Text("JIGYOUNENDOTO", to)};
    return report;
  };
  const Node now = year("20250401", "20260331", "株式会社　見本", {ItemOf("現金", 10), ItemOf("売掛金", 20)});
  const Node last = year("20240401", "20250331", "株式会社　見本", {ItemOf("現金", 5), ItemOf("商品", 7)});
  std::vector<std::string> captions;
  const Statements merged = BuildStatements(WithItemsOf(now, last));
  for (const StatementRow& row : merged.balance_sheet->rows)
    captions.push_back(row.caption + (row.Shown() ? " " + std::to_string(*row.Shown()) : ""));
  // 商品 only last year had, in its place, with this year's figure 0.
  EXPECT_EQ((std::vector<std::string>{"資産の部", "Ⅰ　流動資産", "現金 10", "商品 0", "売掛金 20",
                                      "流動資産合計 0", "資産合計 0"}),
            captions);
  EXPECT_EQ("", PreviousRefusal(now, last));
  EXPECT_EQ("", PreviousPeriodRemark(now, last));
  const Node other = year("20240401", "20250331", "株式会社　他社", {});
  EXPECT_NE(std::string::npos, PreviousRefusal(now, other).find("「株式会社　見本」"));
  EXPECT_NE(std::string::npos, PreviousRefusal(now, other).find("「株式会社　他社」"));
  const Node early = year("20240101", "20241231", "株式会社　見本", {});
  EXPECT_NE(std::string::npos, PreviousPeriodRemark(now, early).find("自 令和6年1月1日　至 令和6年12月31日"));
}


// The HTML writes the model: one bottom row for both grand totals, 「現在」
// under the balance sheet, a loss by its name and unsigned, the notes' page
// saying there are none, the cover's contents and its remark on last year.
TEST(StatementModel, HtmlPrintsTheModelAsTheDocument) {
  const Node report = Report({
      Element("BalanceSheet", {Category("Assets", "資産合計", 100, {Category("CurrentAssets", "流動資産合計", 100,
                                                                            {ItemOf("現金", 100)})}),
                               Category("Liabilities", "負債合計", 40, {Category("CurrentLiabilities", "流動負債合計", 40,
                                                                                 {ItemOf("未払金", 40)})}),
                               Category("NetAssets", "純資産合計", 60, {ItemOf("資本金", 60)})}),
      Element("IncomeStatement", {Category("NetSales", "売上高合計", 10, {ItemOf("売上高", 10)}),
                                  Category("NetIncome", "当期純利益", -7, {})}),
      Element("StatementChangesNetAssets", {Text("Select", "1"), EquityItem("資本金", 60)})});
  for (bool for_qt : {false, true}) {
    std::ostringstream out;
    HtmlOptions options;
    options.for_qt = for_qt;
    options.previous = for_qt ? &report : nullptr; // as last year: the same period, which is said
    StatementsHtml html(out, options);
    html.WriteStatements(report);
    html.Finish();
    const std::string text = out.str();
    EXPECT_NE(std::string::npos, text.find("令和8年3月31日現在"));
    EXPECT_TRUE(std::regex_search(text, std::regex("<tr>.*資産合計.*負債・純資産合計.*</tr>"))) << "one bottom row";
    EXPECT_NE(std::string::npos, text.find("当期純損失"));
    EXPECT_EQ(std::string::npos, text.find("△7<")) << "a loss is shown without a sign";
    EXPECT_NE(std::string::npos, text.find(kNoNotes));
    EXPECT_NE(std::string::npos, text.find("目　次"));
    EXPECT_EQ(for_qt, text.find("当期の開始日") != std::string::npos) << "said only when last year does not meet this one";
  }
}

} // namespace
} // namespace stmtlink::report

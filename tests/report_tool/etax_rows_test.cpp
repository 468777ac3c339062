// The e-Tax rows of small statements built in memory: where each code
// comes from (the table's name, the shipped list, a branch of the heading,
// a company's map), that shared codes are summed and the table's headings
// written above deeper rows; the character rule; and etax-check's rules on
// files edited by hand.
#include <gtest/gtest.h>

#include <map>

#include "platform/text_codec.h"
#include "tests/support/temp_dir.h"
#include "tools/report/etax_build.h"
#include "tools/report/etax_file_check.h"
#include "tools/report/etax_text.h"

namespace stmtlink::report {
namespace {

Node EtaxElement(std::string name, std::vector<Node> children = {}, std::string text = "") {
  Node node;
  node.name = std::move(name);
  node.children = std::move(children);
  node.text = std::move(text);
  return node;
}
Node EtaxCategory(std::string name, std::string label, std::int64_t amount, std::vector<Node> children = {}) {
  Node node = EtaxElement(std::move(name), std::move(children));
  node.label = std::move(label);
  node.has_amount_attribute = true;
  node.amount = amount;
  return node;
}
Node EtaxItem(std::string label, std::int64_t amount) {
  Node node = EtaxElement("Item");
  node.label = std::move(label);
  node.amount = amount;
  return node;
}
Node EtaxEquity(const std::string& name, std::int64_t closing) {
  Node closing_node = EtaxElement("BalanceEndCurrentPeriod");
  closing_node.amount = closing;
  return EtaxElement("ChangesNetAssetsItem", {EtaxElement("AccountList", {}, name), closing_node});
}

// A company's year: cash in two accounts, an allowance after the
// receivables, an account the table does not know, buildings with their
// depreciation, a long-term loan (whose table heading must come first).
// manufacturing: the cost of sales also holds 当期製品製造原価.
Node EtaxSampleReport(bool manufacturing = false) {
  Node sheet = EtaxElement("BalanceSheet", {
      EtaxCategory("Assets", "資産合計", 4630, {
          EtaxCategory("CurrentAssets", "流動資産合計", 3830,
                       {EtaxItem("現金", 1000), EtaxItem("普通預金", 2000), EtaxItem("売掛金", 500),
                        EtaxItem("貸倒引当金", 10), EtaxItem("仮払法人税等", 300), EtaxItem("前払費用", 40)}),
          EtaxCategory("NoncurrentAssets", "固定資産合計", 800, {
              EtaxCategory("PropertyPlantAndEquipment", "有形固定資産合計", 800,
                           {EtaxItem("建物", 900), EtaxItem("減価償却累計額", 200), EtaxItem("工具器具備品", 100)})})}),
      EtaxCategory("Liabilities", "負債合計", 1630, {
          EtaxCategory("CurrentLiabilities", "流動負債合計", 630, {EtaxItem("買掛金", 630)}),
          EtaxCategory("NoncurrentLiabilities", "固定負債合計", 1000, {EtaxItem("長期借入金", 1000)})}),
      EtaxCategory("NetAssets", "純資産合計", 3000, {EtaxItem("資本金", 1000), EtaxItem("繰越利益剰余金", 2000)})});
  Node income = EtaxElement("IncomeStatement", {
      EtaxCategory("NetSales", "売上高合計", 5000, {EtaxItem("売上高", 5000)}),
      manufacturing ? EtaxCategory("CostOfSales", "売上原価合計", 3000,
                                   {EtaxItem("期首商品棚卸高", 500), EtaxItem("仕入高", 2000),
                                    EtaxItem("当期製品製造原価", 1000), EtaxItem("期末商品棚卸高", 500)})
                    : EtaxCategory("CostOfSales", "売上原価合計", 3000,
                                   {EtaxItem("期首商品棚卸高", 500), EtaxItem("仕入高", 3000),
                                    EtaxItem("期末商品棚卸高", 500)}),
      EtaxCategory("GrossProfit", "売上総利益", 2000),
      EtaxCategory("SellingGeneralAndAdministrativeExpenses", "販売費及び一般管理費合計", 1500,
                   {EtaxItem("給料手当", 1000), EtaxItem("雑費", 200), EtaxItem("特別な経費", 300)}),
      EtaxCategory("OperatingIncome", "営業利益", 500),
      EtaxCategory("OrdinaryIncome", "経常利益", 500),
      EtaxCategory("IncomeBeforeIncomeTaxes", "税引前当期純利益", 500),
      EtaxCategory("IncomeTaxes", "法人税等", 150, {EtaxItem("法人税、住民税及び事業税", 150)}),
      EtaxCategory("NetIncome", "当期純利益", 350)});
  Node equity = EtaxElement("StatementChangesNetAssets",
                            {EtaxElement("Select", {}, "1"), EtaxEquity("資本金", 1000), EtaxEquity("繰越利益剰余金", 2000)});
  return EtaxElement("REPORT", {EtaxElement("BASIC", {EtaxElement("KOMONSAKINAME", {}, "株式会社　見本"),
                                                      EtaxElement("JIGYOUNENDOFROM", {}, "20250401"),
                                                      EtaxElement("JIGYOUNENDOTO", {}, "20260331")}),
                                EtaxElement("DATA", {sheet, income, equity})});
}

// "name amount depth" (amount "T" for a heading) by code, and the order of codes.
struct EtaxRowsSeen {
  std::map<std::string, std::string> by_code;
  std::vector<std::string> codes;
};
EtaxRowsSeen Seen(const EtaxSheet& sheet) {
  EtaxRowsSeen seen;
  for (const EtaxRow& row : sheet.rows) {
    seen.by_code[row.code] = row.name + " " + (row.amount ? std::to_string(*row.amount) : "T") + " " +
                             std::to_string(row.depth);
    seen.codes.push_back(row.code);
  }
  return seen;
}
std::size_t Where(const EtaxRowsSeen& seen, const std::string& code) {
  return static_cast<std::size_t>(std::find(seen.codes.begin(), seen.codes.end(), code) - seen.codes.begin());
}

class EtaxRowsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    std::string error;
    ASSERT_TRUE(tables.Load(&error)) << error;
  }
  EtaxTables tables;
  stmtlink::testing::TempDir dir;
};

TEST_F(EtaxRowsTest, CodesComeFromTheTableTheShippedListBranchesAndTheMap) {
  EtaxFiles files;
  std::string refusal;
  ASSERT_TRUE(BuildEtaxFiles(EtaxSampleReport(), tables, nullptr, "", &files, &refusal)) << refusal;
  const EtaxRowsSeen bs = Seen(files.sheets[0]);
  const EtaxRowsSeen pl = Seen(files.sheets[1]);
  EXPECT_EQ(bs.by_code.at("10A100020"), "現金及び預金 3000 4");   // 現金 + 普通預金, one row
  EXPECT_EQ(bs.by_code.at("10A100090"), "売掛金 500 4");
  EXPECT_EQ(bs.by_code.at("10A100100"), "貸倒引当金 -10 5");      // the allowance of 売掛金, deducted
  EXPECT_EQ(bs.by_code.at("10A100010-1"), "仮払法人税等 300 4");  // not in the table: 流動資産's branch
  EXPECT_EQ(bs.by_code.at("10A101160"), "流動資産合計 3830 4");
  EXPECT_EQ(bs.by_code.at("10A210020"), "建物及び暖房、照明、通風等の附属設備 T 5");
  EXPECT_EQ(bs.by_code.at("10A210030"), "建物 900 6");
  EXPECT_EQ(bs.by_code.at("10A210040"), "減価償却累計額 -200 7"); // the buildings' own
  EXPECT_EQ(bs.by_code.at("10A210410"), "工具、器具及び備品 100 5"); // the shipped list
  EXPECT_EQ(bs.by_code.at("10A000020"), "資産合計 4630 3");
  EXPECT_EQ(bs.by_code.at("10B200070"), "長期借入金 T 4");
  EXPECT_EQ(bs.by_code.at("10C000040"), "負債純資産合計 4630 2");
  EXPECT_LT(Where(bs, "10A210020"), Where(bs, "10A210030"));
  EXPECT_EQ(Where(bs, "10B200070") + 1, Where(bs, "10B200080"));
  EXPECT_EQ(bs.by_code.count("10A100040"), 0u); // no second allowance of another receivable
  EXPECT_EQ(pl.by_code.at("10D100030"), "売上高 5000 4");
  EXPECT_EQ(pl.by_code.at("10E100150"), "合計 3500 5");
  EXPECT_EQ(pl.by_code.at("10E100140"), "商品期末たな卸高 -500 5");
  EXPECT_EQ(pl.by_code.at("10E200370"), "給料及び手当 1000 3");
  EXPECT_EQ(pl.by_code.at("10E200010-1"), "特別な経費 300 3");
  EXPECT_EQ(pl.by_code.at("10E201330"), "販売費及び一般管理費合計 1500 3");
  EXPECT_EQ(pl.by_code.at("10F100060"), "法人税等合計 150 2");
  EXPECT_EQ(pl.by_code.at("10F000160"), "当期純利益 350 2");
  for (const EtaxSheet& sheet : files.sheets) { // the hierarchy rule on every row
    int previous = 1;
    for (const EtaxRow& row : sheet.rows) {
      EXPECT_GE(row.depth, 2) << row.code;
      EXPECT_LE(row.depth, previous + 1) << row.code;
      previous = row.depth;
    }
  }

  // Goods bought and made: their 合計 is no 合計 of the table's 商品売上原価.
  ASSERT_TRUE(BuildEtaxFiles(EtaxSampleReport(true), tables, nullptr, "", &files, &refusal)) << refusal;
  EXPECT_EQ(Seen(files.sheets[1]).by_code.count("10E100150"), 0u);
  EXPECT_EQ(Seen(files.sheets[1]).by_code.at("10E100230"), "当期製品製造原価 1000 5");
  EXPECT_EQ(Seen(files.sheets[1]).by_code.at("10E100020-1"), "合計 3500 4");

  // A company's map: a code of the table for an account, a new name.
  ASSERT_TRUE(stmtlink::testing::WriteTextFile(dir.File("map.csv"), "仮払法人税等,10A100700\n特別な経費,,特別経費\n"));
  AccountMap map;
  ASSERT_TRUE(map.Load(dir.File("map.csv"), tables.balance_sheet, tables.income, &refusal)) << refusal;
  ASSERT_TRUE(BuildEtaxFiles(EtaxSampleReport(), tables, &map, "", &files, &refusal)) << refusal;
  EXPECT_EQ(Seen(files.sheets[0]).by_code.at("10A100700"), "未収還付法人税等 300 5");
  EXPECT_EQ(Seen(files.sheets[0]).by_code.count("10A100010-1"), 0u);
  EXPECT_EQ(Seen(files.sheets[1]).by_code.at("10E200010-1"), "特別経費 300 3");

  // A code of another section, a malformed line, an unknown code: refused by line.
  ASSERT_TRUE(stmtlink::testing::WriteTextFile(dir.File("wrong.csv"), "# comment\n売掛金,10A210030\n"));
  ASSERT_TRUE(map.Load(dir.File("wrong.csv"), tables.balance_sheet, tables.income, &refusal));
  EXPECT_FALSE(BuildEtaxFiles(EtaxSampleReport(), tables, &map, "", &files, &refusal));
  EXPECT_NE(refusal.find("wrong.csv の 2 行目"), std::string::npos) << refusal;
  EXPECT_NE(refusal.find("売掛金"), std::string::npos) << refusal;
  for (const auto& [text, words] : {std::pair<std::string, std::string>{"売掛金\n", "1 行目"},
                                    {"売掛金,10A999999\n", "コード表にないコード"},
                                    {"売掛金,10A100090,名前,余分\n", "1 行目"},
                                    {"売掛金,,髙橋\n", "IBM 拡張文字"}}) {
    ASSERT_TRUE(stmtlink::testing::WriteTextFile(dir.File("bad.csv"), text));
    AccountMap bad;
    EXPECT_FALSE(bad.Load(dir.File("bad.csv"), tables.balance_sheet, tables.income, &refusal)) << text;
    EXPECT_NE(refusal.find(words), std::string::npos) << refusal;
  }
  std::string sjis;
  ASSERT_TRUE(Utf8ToCp932("特別な経費,,特別経費\r\n", &sjis)); // Shift_JIS maps are read too
  ASSERT_TRUE(stmtlink::testing::WriteTextFile(dir.File("sjis.csv"), sjis));
  AccountMap shift_jis;
  ASSERT_TRUE(shift_jis.Load(dir.File("sjis.csv"), tables.balance_sheet, tables.income, &refusal)) << refusal;
  EXPECT_EQ(shift_jis.Of("特別な経費").size(), 1u);
}

TEST(EtaxText, OnlyJisX0208IsWrittenAndCommasBecomeFullWidth) {
  std::string bytes;
  TextFault fault;
  EXPECT_TRUE(EtaxEncode("亜唖娃阿 高橋 ABC-1 （株）・〒", &bytes, &fault));
  for (const auto& [text, character, kind, position] :
       {std::tuple<std::string, std::string, std::string, std::size_t>{"髙橋商店", "髙", "IBM 拡張文字", 1},
        {"売掛金①", "①", "NEC 特殊文字", 4},
        {"㈱見本", "㈱", "NEC 特殊文字", 1},
        {"第Ⅰ期", "Ⅰ", "NEC 特殊文字", 2},
        {"ｱｲｳ", "ｱ", "半角カタカナ", 1},
        {"絵😀", "😀", "Shift_JIS にない文字", 2}}) {
    EXPECT_FALSE(EtaxEncode(text, &bytes, &fault)) << text;
    EXPECT_EQ(fault.character, character);
    EXPECT_NE(fault.kind.find(kind), std::string::npos) << fault.kind;
    EXPECT_EQ(fault.position, position) << text;
  }
  EXPECT_EQ(EtaxFieldText("雑費,その他\"特\""), "雑費，その他”特”");
}

TEST_F(EtaxRowsTest, HandEditedFilesAreFoundByTheirRules) {
  EtaxFiles files;
  std::string refusal;
  ASSERT_TRUE(BuildEtaxFiles(EtaxSampleReport(), tables, nullptr, "", &files, &refusal)) << refusal;
  std::string text;
  ASSERT_TRUE(Cp932ToUtf8(files.bytes[0], &text));
  auto check = [&](const std::string& utf8) {
    std::string bytes; // the edit is made in UTF-8 and written back as Shift_JIS
    EXPECT_TRUE(Utf8ToCp932(utf8, &bytes));
    Findings findings;
    EtaxFileContent content;
    CheckEtaxFile(bytes, EtaxKind::kBalanceSheet, tables.balance_sheet, "HOT010_3.0_BS.csv", &findings, &content);
    std::string checks;
    for (const Finding& finding : findings.list()) checks += finding.check + " ";
    return checks;
  };
  auto edited = [&text](const std::string& from, const std::string& to) {
    std::string copy = text;
    const std::size_t at = copy.find(from);
    EXPECT_NE(at, std::string::npos) << from;
    if (at != std::string::npos) copy.replace(at, from.size(), to);
    return copy;
  };
  EXPECT_EQ(check(text), "");
  EXPECT_EQ(check(edited("建物及び暖房、照明、通風等の附属設備,,T,5,10A210020\r\n", "")), "etax.depth ");
  EXPECT_EQ(check(edited("売掛金,500,1,4,10A100090", "売掛金,500,1,4,10A100020")), "etax.duplicate ");
  EXPECT_EQ(check(edited("現金及び預金,3000,", "現金及び預金,3,000,")), "etax.fields ");
  EXPECT_EQ(check(edited("売掛金,500,1,4,10A100090\r\n", "売掛金,500,1,4,10A100090\n")), "etax.line_end ");
  EXPECT_EQ(check(edited("流動資産,,T,3", "流動資産,5,T,3")), "etax.amount ");
  EXPECT_EQ(check(edited("売掛金,500,1,4,10A100090", "売掛金,+500,1,4,10A100090")), "etax.amount ");
  EXPECT_EQ(check(edited("10A100010-1", "10A999990-1")), "etax.code ");
  EXPECT_EQ(check(edited("仮払法人税等", "髙橋商店")), "etax.character ");
  EXPECT_EQ(check(edited("A,BS,,,", "A,PL,,,")), "etax.head ");
  EXPECT_EQ(check(text + "\"x\",1,1,2,10A100010-9\r\n"), "etax.quote ");
}

// Members' equity, a subscription right on one line, an allowance that
// follows no receivable: each where the table puts it.
TEST_F(EtaxRowsTest, NetAssetsAndAllowancesStandWhereTheTablePutsThem) {
  Node report = EtaxSampleReport();
  Node& data = report.children[1];
  Node& current = data.children[0].children[0].children[0];
  std::swap(current.children[3], current.children[5]); // 貸倒引当金 last, after no receivable
  Node& net_assets = data.children[0].children[2];
  net_assets.children.push_back(EtaxItem("新株予約権", 100));
  net_assets.amount = 3100;
  data.children[0].children[1].amount = 1530; // liabilities give way to keep the sheet in balance
  data.children[0].children[1].children[1].children[0].amount = 900;
  data.children[0].children[1].children[1].amount = 900;
  Node& equity = data.children[2];
  equity.children[0].text = "2";
  equity.children.push_back(EtaxEquity("新株予約権", 100));
  EtaxFiles files;
  std::string refusal;
  ASSERT_TRUE(BuildEtaxFiles(report, tables, nullptr, "", &files, &refusal)) << refusal;
  const EtaxRowsSeen bs = Seen(files.sheets[0]);
  EXPECT_EQ(bs.by_code.at("10A101040"), "流動資産に属する資産に係る引当金 T 4");
  EXPECT_EQ(bs.by_code.at("10A101050"), "貸倒引当金 -10 5");
  EXPECT_EQ(bs.by_code.count("10A100100"), 0u);
  EXPECT_EQ(bs.by_code.at("10C100010"), "株主資本 T 3"); // 社員資本 in the statement
  EXPECT_EQ(bs.by_code.at("10C100040"), "株主資本合計 3000 4");
  EXPECT_EQ(bs.by_code.at("10C300010"), "新株予約権 100 3");
  EXPECT_EQ(bs.by_code.at("10C000030"), "純資産合計 3100 3");
  EXPECT_EQ(bs.by_code.at("10C000040"), "負債純資産合計 4630 2");
}

} // namespace
} // namespace stmtlink::report

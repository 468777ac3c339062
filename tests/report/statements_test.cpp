#include <gtest/gtest.h>

#include "report/report_writer.h"
#include "tests/report/report_lines.h"
#include "tests/report/section_output.h"
#include "tests/support/recording_front_end.h"

namespace stmtlink {
namespace {

using testing::AddLine;
using testing::CountOf;
using testing::kYen;
using testing::WriteSection;

class StatementsTest : public ::testing::Test {
 protected:
  StatementsTest() { report_.lines = &lines_; }

  std::string BalanceSheet() {
    auto out = WriteSection([&](XmlWriter& xml) { return report_.WriteBalanceSheet(xml); });
    EXPECT_EQ(out.result, 1);
    return out.text;
  }
  std::string IncomeStatement() {
    auto out = WriteSection([&](XmlWriter& xml) { return report_.WriteIncomeStatement(xml); });
    EXPECT_EQ(out.result, 1);
    return out.text;
  }

  AccountLineList lines_;
  ReportWriter report_;
  testing::RecordingFrontEnd front_end_;
};

TEST_F(StatementsTest, ZeroTotalGivesEmptyAmountAndItemsStillFollow) {
  AddLine(&lines_, {1000, "流動資産合計", 0x80880000, 2, 4999});
  AddLine(&lines_, {1110, "現金", 0x80880001, 0, 50 * kYen});
  AddLine(&lines_, {1120, "売掛金", 0x80880004, 0, -5000}); // minus half a yen
  std::string text = BalanceSheet();
  EXPECT_NE(text.find("\t\t\t\t<CurrentAssets Label=\"流動資産合計\" Amount=\"\">\r\n"
                      "\t\t\t\t\t<Item Label=\"現金\">50</Item>\r\n"
                      "\t\t\t\t</CurrentAssets>\r\n"),
            std::string::npos)
      << text;
  EXPECT_EQ(text.find("売掛金"), std::string::npos);
}

TEST_F(StatementsTest, TotalRowsAreNeverItems) {
  // A total row carrying the section's bits and more must not be listed.
  AddLine(&lines_, {1010, "小計", 0x80880001, 2, 10 * kYen});
  AddLine(&lines_, {1011, "計算項目", 0x80880002, 3, 20 * kYen});
  std::string text = BalanceSheet();
  EXPECT_EQ(text.find("小計"), std::string::npos);
  EXPECT_NE(text.find("<Item Label=\"計算項目\">20</Item>"), std::string::npos);
  // Without total lines every category is written without attributes.
  EXPECT_NE(text.find("\t\t\t<Assets>\r\n"), std::string::npos);
}

TEST_F(StatementsTest, UnclassifiedAssetIsWarnedAndListedOnceUnderInvestmentsAndOtherAssets) {
  report_.ownerWindow = 0x1234;
  AddLine(&lines_, {1200, "固定資産合計", 0x80840000, 2, 100 * kYen});
  AddLine(&lines_, {1210, "有形固定資産合計", 0x80848000, 2, 0});
  AddLine(&lines_, {1230, "投資その他の資産合計", 0x80842000, 2, 30 * kYen});
  AddLine(&lines_, {1235, "長期前払費用", 0x80842001, 0, 30 * kYen});
  AddLine(&lines_, {1240, "保証金（仮）", 0x80840000, 0, 70 * kYen});
  AddLine(&lines_, {1250, "ゼロ残高", 0x80840004, 0, 0});
  std::string text = BalanceSheet();
  // Once, after the section's own items, and in the section's total, so
  // that the three sections add up to the noncurrent assets' 100.
  EXPECT_NE(text.find("<InvestmentsAndOtherAssets Label=\"投資その他の資産合計\" Amount=\"100\">\r\n"
                      "\t\t\t\t\t\t<Item Label=\"長期前払費用\">30</Item>\r\n"
                      "\t\t\t\t\t\t<Item Label=\"保証金仮\">70</Item>\r\n"),
            std::string::npos)
      << text;
  EXPECT_EQ(CountOf(text, "保証金仮"), 1);
  EXPECT_NE(text.find("<PropertyPlantAndEquipment Label=\"有形固定資産合計\" Amount=\"\">"), std::string::npos);
  EXPECT_EQ(text.find("ゼロ残高"), std::string::npos);
  ASSERT_EQ(front_end_.messages.size(), 1u);
  const auto& message = front_end_.messages[0];
  EXPECT_EQ(message.owner, 0x1234u);
  EXPECT_EQ(message.caption, "決算書");
  EXPECT_EQ(message.flags, MB_OK | MB_ICONEXCLAMATION);
  // The code users see and the name as the user entered it.
  EXPECT_NE(message.text.find("科目コード\t： 1240\r\n正式名称\t： 保証金（仮）\r\n"),
            std::string::npos);
  EXPECT_EQ(message.text.rfind("以下の科目は、", 0), 0u);
}

TEST_F(StatementsTest, NoWarningWithoutOwnerWindow) {
  AddLine(&lines_, {1240, "保証金", 0x80840008, 0, 70 * kYen});
  std::string text = BalanceSheet();
  EXPECT_EQ(CountOf(text, "保証金"), 1);
  EXPECT_TRUE(front_end_.messages.empty());
}

TEST_F(StatementsTest, SubtotalsIncomeTaxesAndLabels) {
  AddLine(&lines_, {5900, "売上総利益金額", 0x40880008, 2, 9 * kYen, 0, 0, "売上総利益"});
  AddLine(&lines_, {6900, "営業 利益", 0x40880000, 2, 0});
  AddLine(&lines_, {8810, "法人税等", 0x40200001, 0, 3 * kYen});
  AddLine(&lines_, {8820, "除外10", 0x40200010, 0, 3 * kYen});
  AddLine(&lines_, {8830, "除外20", 0x40200020, 0, 3 * kYen});
  AddLine(&lines_, {8840, "除外80", 0x40200080, 3, 3 * kYen});
  AddLine(&lines_, {8850, "計算40", 0x40200040, 3, 4 * kYen});
  std::string text = IncomeStatement();
  EXPECT_NE(text.find("\t\t\t<GrossProfit Label=\"売上総利益\" Amount=\"9\"></GrossProfit>\r\n"),
            std::string::npos);
  // No statement name: the cleaned formal name; zero: an empty amount.
  EXPECT_NE(text.find("<OperatingIncome Label=\"営業利益\" Amount=\"\"></OperatingIncome>"),
            std::string::npos);
  // Missing subtotal lines are left out.
  EXPECT_EQ(text.find("OrdinaryIncome"), std::string::npos);
  EXPECT_NE(text.find("\t\t\t<IncomeTaxes>\r\n"
                      "\t\t\t\t<Item Label=\"法人税等\">3</Item>\r\n"
                      "\t\t\t\t<Item Label=\"計算40\">4</Item>\r\n"
                      "\t\t\t</IncomeTaxes>\r\n"),
            std::string::npos)
      << text;
  EXPECT_EQ(text.find("除外10"), std::string::npos);
  EXPECT_EQ(text.find("除外20"), std::string::npos);
}

TEST_F(StatementsTest, ManufacturingScheduleInOrder) {
  AddLine(&lines_, {9000, "材料費合計", 0x20800000, 2, 5 * kYen});
  AddLine(&lines_, {9120, "材料仕入高", 0x20800002, 0, 5 * kYen});
  AddLine(&lines_, {9330, "減価償却費(製)", 0x20200003, 0, 2 * kYen});
  AddLine(&lines_, {9400, "当期総製造費用", 0x20080000, 2, 7 * kYen});
  AddLine(&lines_, {5130, "当期製品製造原価", 0x40884200, 3, 7 * kYen});
  auto out = WriteSection([&](XmlWriter& xml) { return report_.WriteManufacturingCost(xml); });
  EXPECT_EQ(out.result, 1);
  EXPECT_EQ(out.text,
            "\t\t<ScheduleCostGoodsManufactured>\r\n"
            "\t\t\t<MaterialCost Label=\"材料費合計\" Amount=\"5\">\r\n"
            "\t\t\t\t<Item Label=\"材料仕入高\">5</Item>\r\n"
            "\t\t\t</MaterialCost>\r\n"
            "\t\t\t<LaborCost>\r\n"
            "\t\t\t</LaborCost>\r\n"
            "\t\t\t<OverheadExpenses>\r\n"
            "\t\t\t\t<Item Label=\"減価償却費\">2</Item>\r\n"
            "\t\t\t</OverheadExpenses>\r\n"
            "\t\t\t<TotalProductionCostUtilized Label=\"当期総製造費用\" Amount=\"7\">"
            "</TotalProductionCostUtilized>\r\n"
            "\t\t\t<WorkProcessBeginningInventories>\r\n"
            "\t\t\t</WorkProcessBeginningInventories>\r\n"
            "\t\t\t<WorkProcessClosingInventories>\r\n"
            "\t\t\t</WorkProcessClosingInventories>\r\n"
            "\t\t\t<CostFinishedGoods Label=\"当期製品製造原価\" Amount=\"7\"></CostFinishedGoods>\r\n"
            "\t\t</ScheduleCostGoodsManufactured>\r\n");
}

TEST_F(StatementsTest, LongNamesAreWrittenWhole) {
  // Names fill their 30 bytes; escaping can make a label longer than the
  // field, and the amount is as long as a 64-bit value allows.
  AddLine(&lines_, {1110, "&&&&&&&&&&&&&&&&&&&&&&&&&&&&&&", 0x80880001, 0, INT64_MAX});
  std::string text = BalanceSheet();
  std::string label;
  for (int i = 0; i < 30; ++i) label += "&amp;";
  EXPECT_NE(text.find("<Item Label=\"" + label + "\">922337203685477</Item>"), std::string::npos);
}

} // namespace
} // namespace stmtlink

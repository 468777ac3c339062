#include <gtest/gtest.h>

#include "report/report_writer.h"
#include "tests/report/report_lines.h"
#include "tests/report/section_output.h"

namespace stmtlink {
namespace {

using testing::AddLine;
using testing::CountOf;
using testing::kYen;
using testing::WriteSection;

class NetAssetsChangesTest : public ::testing::Test {
 protected:
  NetAssetsChangesTest() { report_.lines = &lines_; }

  testing::SectionOutput Write() {
    return WriteSection([&](XmlWriter& xml) { return report_.WriteNetAssetsChanges(xml); });
  }

  AccountLineList lines_;
  ReportWriter report_;
};

TEST_F(NetAssetsChangesTest, CapitalAndRetainedEarningsWithNetIncome) {
  report_.equityKind = 2;
  AddLine(&lines_, {3110, "資本金", 0x80288000, 0, 100 * kYen, 100 * kYen, 0});
  AddLine(&lines_, {3340, "繰越利益剰余金", 0x80281048, 0, 800 * kYen, 800 * kYen, 0});
  AddLine(&lines_, {8900, "当期純利益", 0x40200040, 2, 500000 * kYen, 0, 500000 * kYen});
  auto out = Write();
  EXPECT_EQ(out.result, 1);
  EXPECT_EQ(out.text,
            "\t\t<StatementChangesNetAssets>\r\n"
            "\t\t\t<Select>2</Select>\r\n"
            "\t\t\t<ChangesNetAssetsItem>\r\n"
            "\t\t\t\t<AccountList>資本金</AccountList>\r\n"
            "\t\t\t\t<BalanceEndPreviousPeriod>100</BalanceEndPreviousPeriod>\r\n"
            "\t\t\t\t<BalanceEndCurrentPeriod>100</BalanceEndCurrentPeriod>\r\n"
            "\t\t\t</ChangesNetAssetsItem>\r\n"
            "\t\t\t<ChangesNetAssetsItem>\r\n"
            "\t\t\t\t<AccountList>繰越利益剰余金</AccountList>\r\n"
            "\t\t\t\t<BalanceEndPreviousPeriod>800</BalanceEndPreviousPeriod>\r\n"
            "\t\t\t\t<ChangesItemsDuringPeriod>\r\n"
            "\t\t\t\t\t<TotalChangesItemsDuringPeriod>0</TotalChangesItemsDuringPeriod>\r\n"
            "\t\t\t\t\t<ChangesItem>\r\n"
            "\t\t\t\t\t\t<Reason>当期純利益</Reason>\r\n"
            "\t\t\t\t\t\t<Amount>500000</Amount>\r\n"
            "\t\t\t\t\t</ChangesItem>\r\n"
            "\t\t\t\t</ChangesItemsDuringPeriod>\r\n"
            "\t\t\t\t<BalanceEndCurrentPeriod>800</BalanceEndCurrentPeriod>\r\n"
            "\t\t\t</ChangesNetAssetsItem>\r\n"
            "\t\t</StatementChangesNetAssets>\r\n");
}

TEST_F(NetAssetsChangesTest, ReservesAreSplitByName) {
  AddLine(&lines_, {3320, "（旧）別途 積立金", 0x80281040, 0, 30 * kYen, 10 * kYen, 20 * kYen});
  AddLine(&lines_, {3330, "圧縮積立金", 0x80281040, 0, 7 * kYen, 7 * kYen, 0});
  AddLine(&lines_, {3331, "配当平均積立金", 0x80281040, 0, 5 * kYen, 0, 5 * kYen});
  auto out = Write();
  EXPECT_EQ(out.result, 1);
  EXPECT_NE(out.text.find("<AccountList>別途積立金</AccountList>\r\n"
                          "\t\t\t\t<BalanceEndPreviousPeriod>10</BalanceEndPreviousPeriod>\r\n"
                          "\t\t\t\t<ChangesItemsDuringPeriod>\r\n"
                          "\t\t\t\t\t<TotalChangesItemsDuringPeriod>20</TotalChangesItemsDuringPeriod>\r\n"
                          "\t\t\t\t</ChangesItemsDuringPeriod>\r\n"
                          "\t\t\t\t<BalanceEndCurrentPeriod>30</BalanceEndCurrentPeriod>\r\n"),
            std::string::npos)
      << out.text;
  EXPECT_NE(out.text.find("<AccountList>任意積立金</AccountList>\r\n"
                          "\t\t\t\t<BalanceEndPreviousPeriod>7</BalanceEndPreviousPeriod>\r\n"
                          "\t\t\t\t<ChangesItemsDuringPeriod>\r\n"
                          "\t\t\t\t\t<TotalChangesItemsDuringPeriod>5</TotalChangesItemsDuringPeriod>\r\n"
                          "\t\t\t\t</ChangesItemsDuringPeriod>\r\n"
                          "\t\t\t\t<BalanceEndCurrentPeriod>12</BalanceEndCurrentPeriod>\r\n"),
            std::string::npos)
      << out.text;
  // Item 4 comes before item 5.
  EXPECT_LT(out.text.find("別途積立金"), out.text.find("任意積立金"));
}

TEST_F(NetAssetsChangesTest, LinesAreTruncatedBeforeTheyAreSummed) {
  // Three lines of 0.6 yen each: 0 + 0 + 0, not 1.8.
  for (int i = 0; i < 3; ++i) AddLine(&lines_, {3410 + i, "自己株式", 0x80280800, 0, 6000, 6000, 6000});
  // Capital's three natures add up; an account of type 2 is no member.
  AddLine(&lines_, {3110, "資本金", 0x80288000, 0, 1 * kYen, 1 * kYen});
  AddLine(&lines_, {3111, "資本金B", 0x80288040, 0, 2 * kYen, 2 * kYen});
  AddLine(&lines_, {3112, "資本金C", 0x80288020, 0, 4 * kYen, 4 * kYen});
  AddLine(&lines_, {3113, "資本金計", 0x80288000, 2, 7 * kYen, 7 * kYen});
  auto out = Write();
  EXPECT_EQ(out.result, 1);
  EXPECT_EQ(out.text.find("自己株式"), std::string::npos);
  EXPECT_EQ(CountOf(out.text, "<ChangesNetAssetsItem>"), 1);
  EXPECT_NE(out.text.find("<BalanceEndPreviousPeriod>7</BalanceEndPreviousPeriod>"), std::string::npos);
  EXPECT_EQ(out.text.find("ChangesItemsDuringPeriod"), std::string::npos);
}

TEST_F(NetAssetsChangesTest, OnlyTheNonzeroBalancesAreWritten) {
  AddLine(&lines_, {3610, "新株予約権", 0x80220000, 0, 9 * kYen, 0, 9 * kYen});
  AddLine(&lines_, {3510, "評価差額金", 0x80248000, 0, 0, 4 * kYen, -4 * kYen});
  auto out = Write();
  EXPECT_EQ(out.result, 1);
  EXPECT_NE(out.text.find("\t\t\t\t<AccountList>その他有価証券評価差額金</AccountList>\r\n"
                          "\t\t\t\t<BalanceEndPreviousPeriod>4</BalanceEndPreviousPeriod>\r\n"
                          "\t\t\t\t<ChangesItemsDuringPeriod>\r\n"
                          "\t\t\t\t\t<TotalChangesItemsDuringPeriod>-4</TotalChangesItemsDuringPeriod>\r\n"
                          "\t\t\t\t</ChangesItemsDuringPeriod>\r\n"
                          "\t\t\t</ChangesNetAssetsItem>\r\n"),
            std::string::npos)
      << out.text;
  EXPECT_NE(out.text.find("\t\t\t\t<AccountList>新株予約権</AccountList>\r\n"
                          "\t\t\t\t<ChangesItemsDuringPeriod>\r\n"),
            std::string::npos);
  // Items in the order of the table: 8 before 11.
  EXPECT_LT(out.text.find("評価差額金"), out.text.find("新株予約権"));
}

TEST_F(NetAssetsChangesTest, RetainedEarningsWithoutNetIncomeLineFails) {
  AddLine(&lines_, {3340, "繰越利益剰余金", 0x80281048, 0, 8 * kYen, 8 * kYen});
  auto out = Write();
  EXPECT_EQ(out.result, 0);
  EXPECT_EQ(out.text.find("繰越利益剰余金"), std::string::npos);
  // With all balances zero the item is skipped and nothing is missing.
  lines_.Clear();
  AddLine(&lines_, {3340, "繰越利益剰余金", 0x80281048, 0, 0});
  EXPECT_EQ(Write().result, 1);
}

} // namespace
} // namespace stmtlink

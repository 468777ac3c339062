#include "report/report_writer.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "tests/report/report_lines.h"
#include "tests/report/section_output.h"
#include "tests/support/fault_injection_env.h"
#include "tests/support/recording_front_end.h"
#include "tests/support/scratch_home.h"
#include "tests/support/temp_dir.h"
#include "tests/support/xmllint.h"

namespace stmtlink {
namespace {

using testing::AddLine;
using testing::CountOf;
using testing::kYen;
using testing::ReadTextFile;
using testing::ScopedCurrentDir;

// The small company of the golden report, line by line as the aggregation
// hands it over.
void AddSmallCompany(AccountLineList* lines) {
  AddLine(lines, {1000, "流動資産合計", 0x80880000, 2, 23876543211});
  AddLine(lines, {1110, "現金", 0x80880001, 0, 600000 * kYen + 5000});
  AddLine(lines, {1120, "普通預金", 0x80880002, 0, 17876533211});
  AddLine(lines, {1140, "売掛金", 0x80880004, 0, 5000});
  AddLine(lines, {1200, "固定資産合計", 0x80840000, 2, 1300000 * kYen});
  AddLine(lines, {1210, "有形固定資産合計", 0x80848000, 2, 1000000 * kYen});
  AddLine(lines, {1211, "建物", 0x80848001, 0, 1000000 * kYen});
  AddLine(lines, {1230, "投資その他の資産合計", 0x80842000, 2, 0});
  AddLine(lines, {1240, "差入保証金（仮）", 0x80840008, 0, 300000 * kYen});
  AddLine(lines, {1900, "資産合計", 0x80800000, 2, 36876543211});
  AddLine(lines, {2000, "流動負債合計", 0x80480000, 2, 3876543211});
  AddLine(lines, {2110, "買掛金", 0x80480001, 0, 400000 * kYen});
  AddLine(lines, {2130, "未払金", 0x80480003, 0, -123456789});
  AddLine(lines, {2900, "負債合計", 0x80400000, 2, 3876543211});
  AddLine(lines, {3110, "資本金", 0x80288000, 0, 1000000 * kYen, 1000000 * kYen, 0});
  AddLine(lines, {3320, "別途積立金", 0x80281040, 0, 200000 * kYen, 200000 * kYen, 0});
  AddLine(lines, {3330, "圧縮 積立金", 0x80281040, 0, 100000 * kYen, 0, 100000 * kYen});
  AddLine(lines, {3340, "繰越利益剰余金", 0x80281048, 0, 2000000 * kYen, 1500000 * kYen, 500000 * kYen});
  AddLine(lines, {3800, "純資産合計", 0x80200000, 2, 3300000 * kYen});
  AddLine(lines, {4000, "売上高合計", 0x40888000, 2, 5000000 * kYen});
  AddLine(lines, {4110, "売上高", 0x40888001, 0, 5000000 * kYen});
  AddLine(lines, {5000, "売上原価合計", 0x40884000, 2, 3000000 * kYen});
  AddLine(lines, {5120, "仕入高", 0x40884002, 0, 3000000 * kYen});
  AddLine(lines, {5900, "売上総利益金額", 0x40880008, 2, 2000000 * kYen, 0, 0, "売上総利益"});
  AddLine(lines, {6000, "販売費及び一般管理費合計", 0x40882000, 2, 1300000 * kYen});
  AddLine(lines, {6120, "給料手当", 0x40882002, 0, 1000000 * kYen});
  AddLine(lines, {6180, "【本社】地代家賃", 0x40882008, 0, 300000 * kYen});
  AddLine(lines, {6900, "営業利益", 0x40880000, 2, 700000 * kYen});
  AddLine(lines, {7900, "経常利益金額", 0x40800000, 2, 700000 * kYen, 0, 0, "経常利益"});
  AddLine(lines, {8800, "税引前当期純利益", 0x40200080, 2, 700000 * kYen});
  AddLine(lines, {8810, "法人税、住民税及び事業税", 0x40200001, 0, 200000 * kYen});
  AddLine(lines, {8820, "法人税等調整額", 0x40200010, 0, 10000 * kYen});
  AddLine(lines, {8900, "当期純利益", 0x40200040, 2, 500000 * kYen, 0, 500000 * kYen});
}

StDATAINFO SmallCompanyData() {
  StDATAINFO data{};
  std::strcpy(data.companyNameText, "ｻﾝﾌﾟﾙ商事(株) A&B");
  data.periodStart = 20250401;
  data.periodEnd = 20260331;
  return data;
}

class ReportWriterTest : public ::testing::Test {
 protected:
  ReportWriterTest() : cwd_(home_.dir()) {
    report_.lines = &lines_;
    report_.ownerWindow = 0x4242;
    data_ = SmallCompanyData();
  }

  std::string ReportFile() { return ReadTextFile(home_.Path("drive_c/report.xml")); }

  ScratchHome home_;
  ScopedCurrentDir cwd_; // the program's folder, where SUPPORT.INF is looked for
  testing::RecordingFrontEnd front_end_;
  AccountLineList lines_;
  ReportWriter report_;
  StDATAINFO data_{};
};

TEST_F(ReportWriterTest, SmallCompanyMatchesTheGoldenFileByteForByte) {
  AddSmallCompany(&lines_);
  ASSERT_EQ(report_.WriteReport("C:\\report.xml", 7, &data_), 1);
  std::string expected =
      ReadTextFile(std::string(STMTLINK_SOURCE_DIR) + "/tests/report/golden/small_company.xml");
  ASSERT_FALSE(expected.empty());
  EXPECT_EQ(ReportFile(), expected);
  // The unclassified guarantee deposit was shown once.
  ASSERT_EQ(front_end_.messages.size(), 1u);
  EXPECT_NE(front_end_.messages[0].text.find("1240"), std::string::npos);
}

TEST_F(ReportWriterTest, ManufacturingScheduleFollowsTheCompanyFlag) {
  AddSmallCompany(&lines_);
  ASSERT_EQ(report_.WriteReport("C:\\report.xml", 3, &data_), 1);
  std::string without = ReportFile();
  EXPECT_NE(without.find("<Cos>F1</Cos>"), std::string::npos);
  EXPECT_EQ(without.find("ScheduleCostGoodsManufactured"), std::string::npos);
  EXPECT_NE(without.find("<FUNCTIONID>3</FUNCTIONID>"), std::string::npos);

  data_.keepsMfgSchedule = 1;
  ASSERT_EQ(report_.WriteReport("C:\\report.xml", 3, &data_), 1);
  std::string with = ReportFile();
  EXPECT_NE(with.find("<Cos>F3</Cos>"), std::string::npos);
  // Between the income statement and the equity statement.
  std::size_t schedule = with.find("\t\t<ScheduleCostGoodsManufactured>\r\n");
  ASSERT_NE(schedule, std::string::npos);
  EXPECT_LT(with.find("</IncomeStatement>"), schedule);
  EXPECT_LT(schedule, with.find("<StatementChangesNetAssets>"));
}

TEST_F(ReportWriterTest, SupportFileNamesTheHostProduct) {
  // Other lines around the keys; the value ends at its CR LF.
  home_.WriteFile("SUPPORT.INF",
                  "[SUPPORT]\r\n[=製品名=]ヴェルカ２０ NEO 特別版\r\n"
                  "[=製品ﾊﾞｰｼﾞｮﾝ=]20.00.05\x1A");
  ASSERT_EQ(report_.WriteReport("C:\\report.xml", 7, &data_), 1);
  std::string text = ReportFile();
  EXPECT_NE(text.find("\t\t<PROGRAMNAME>ヴェルカ２０ NEO 特別版</PROGRAMNAME>\r\n"
                      "\t\t<PROGRAMVER>20.00.05</PROGRAMVER>\r\n"),
            std::string::npos)
      << text;
}

TEST_F(ReportWriterTest, SupportFileIsReadOnlyUpTo30000Bytes) {
  // The name lies within the first 30,000 bytes, the version beyond them.
  std::string contents = "[=製品名=]A&B\r\n" + std::string(30000, ';') + "\r\n[=製品ﾊﾞｰｼﾞｮﾝ=]9.9\r\n";
  home_.WriteFile("SUPPORT.INF", contents);
  ASSERT_EQ(report_.WriteReport("C:\\report.xml", 7, &data_), 1);
  std::string text = ReportFile();
  EXPECT_NE(text.find("<PROGRAMNAME>A&amp;B</PROGRAMNAME>"), std::string::npos);
  EXPECT_NE(text.find("<PROGRAMVER>20.00.0X</PROGRAMVER>"), std::string::npos);
}

TEST_F(ReportWriterTest, SupportFileWithoutKeysGivesTheEditionDefaults) {
  home_.WriteFile("SUPPORT.INF", "[=製品名=\r\n製品名=x\r\n");
  ASSERT_EQ(report_.WriteReport("C:\\report.xml", 7, &data_), 1);
  std::string text = ReportFile();
  EXPECT_NE(text.find("<PROGRAMNAME>ヴェルカ２０</PROGRAMNAME>"), std::string::npos);
  EXPECT_NE(text.find("<PROGRAMVER>20.00.0X</PROGRAMVER>"), std::string::npos);
}

TEST_F(ReportWriterTest, AFailedReportLeavesTheEarlierOneAsItWas) {
  ASSERT_EQ(report_.WriteReport("C:\\report.xml", 7, &data_), 1);
  const std::string earlier = ReportFile();
  // Retained earnings without a net-income line: the equity statement fails.
  AddLine(&lines_, {3340, "繰越利益剰余金", 0x80281048, 0, 8 * kYen, 8 * kYen});
  EXPECT_EQ(report_.WriteReport("C:\\report.xml", 7, &data_), 0);
  EXPECT_EQ(ReportFile(), earlier);
}

TEST_F(ReportWriterTest, NotesComeAfterTheEquityStatementOnlyWhenAvailable) {
  const std::vector<std::string> note_lines = {"<ID>1000010</ID>", "", "", "<Disp>1</Disp>",
                                               "<Value>", "<Line>x</Line>"};
  unsigned char groups[50] = {1};
  report_.noteLines = &note_lines;
  report_.noteGroupFlags = groups;
  ASSERT_EQ(report_.WriteReport("C:\\report.xml", 7, &data_), 1);
  EXPECT_EQ(ReportFile().find("ListNotesNonConsolidated"), std::string::npos);

  report_.notesAvailable = 1;
  ASSERT_EQ(report_.WriteReport("C:\\report.xml", 7, &data_), 1);
  const std::string file = ReportFile();
  const std::size_t equity_end = file.find("\t\t</StatementChangesNetAssets>\r\n");
  const std::size_t notes = file.find("\t\t<ListNotesNonConsolidated>\r\n"
                                      "\t\t\t<NotesGoingConcernAssumption>\r\n"
                                      "\t\t\t\t<Line>x</Line>\r\n");
  ASSERT_NE(notes, std::string::npos);
  EXPECT_LT(equity_end, notes);
  EXPECT_LT(notes, file.find("\t</DATA>\r\n"));
}

TEST_F(ReportWriterTest, MissingFolderCreatesNothing) {
  EXPECT_EQ(report_.WriteReport("C:\\no folder\\report.xml", 7, &data_), 0);
  FileStatus status;
  EXPECT_FALSE(Env::Real()->Stat(home_.Path("drive_c/no folder"), &status));
  EXPECT_EQ(report_.WriteReport("Q:\\report.xml", 7, &data_), 0);
}

TEST_F(ReportWriterTest, FullDeviceIsAFailure) {
  AddSmallCompany(&lines_);
  EXPECT_EQ(report_.WriteReport("Z:\\dev\\full", 7, &data_), 0);
}

TEST_F(ReportWriterTest, EveryShortDiskFailsTheReportAndKeepsThePartialFile) {
  AddSmallCompany(&lines_);
  ASSERT_EQ(report_.WriteReport("C:\\report.xml", 7, &data_), 1);
  const std::string whole = ReportFile();
  FaultInjectionEnv env;
  ScopedEnv use(&env);
  for (std::size_t space = 0; space < whole.size(); space += 61) {
    env.Clear();
    env.SetDiskSpace(space);
    EXPECT_EQ(report_.WriteReport("C:\\report.xml", 7, &data_), 0) << space << " bytes free";
    std::string partial = ReportFile();
    EXPECT_EQ(partial, whole.substr(0, partial.size())) << space << " bytes free";
  }
  env.Clear();
  env.SetDiskSpace(whole.size());
  EXPECT_EQ(report_.WriteReport("C:\\report.xml", 7, &data_), 1);
}

TEST_F(ReportWriterTest, FailedFinalFlushIsAFailure) {
  AddSmallCompany(&lines_);
  FaultInjectionEnv env;
  ScopedEnv use(&env);
  env.Fail(FaultInjectionEnv::Op::kClose);
  EXPECT_EQ(report_.WriteReport("C:\\report.xml", 7, &data_), 0);
}

// A realistic book: many accounts, names with characters that need escaping
// and double-byte characters whose trail bytes look like ASCII.
void AddRealisticBook(AccountLineList* lines) {
  AddSmallCompany(lines);
  const char* names[] = {"A&B商事<売掛>", "\"表\"ソフト'社'", "ソ連絡費", "予備費１２３"};
  for (int i = 0; i < 400; ++i) {
    std::uint32_t natures[] = {0x80880010, 0x80848010, 0x80480010, 0x40882010, 0x40848001};
    AddLine(lines, {7000 + i, names[i % 4], natures[i % 5], 0, (i * 7919 - 1000000) * kYen + i});
  }
}

TEST_F(ReportWriterTest, RealisticReportIsWellFormedShiftJis) {
  if (!testing::HaveXmllint())
    GTEST_SKIP() << "xmllint is not installed (scripts/lib/common.sh installs it)";
  AddRealisticBook(&lines_);
  data_.keepsMfgSchedule = 1;
  // (A double quote would become the code page's full-width quote FA 57, an
  // extension character that a strict Shift_JIS reader refuses.)
  std::strcpy(data_.companyNameText, "ﾃｽﾄ&<商事>表");
  ASSERT_EQ(report_.WriteReport("C:\\report.xml", 7, &data_), 1);
  EXPECT_EQ(testing::XmllintComplaints(home_.Path("drive_c/report.xml")), "");
}

} // namespace
} // namespace stmtlink

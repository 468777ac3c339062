// A year's journal as Japanese bookkeeping software exports it: short tax
// categories, era and other date forms, 部門 and 税金額 columns, a 決算
// column, a column the import does not know, a company's own account name
// (by --map), spaces after names and headings, the empty rows a
// spreadsheet leaves. In UTF-8 with and without a byte-order mark and in
// CP932, found out or given: each imports as it is, to the figures worked
// out by hand. And its faults are each refused with file, line and column.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <map>

#include "platform/text_codec.h"
#include "tests/support/program_runner.h"
#include "tests/support/report_items.h"
#include "tests/support/temp_dir.h"
#include "tests/support/utf8.h"

namespace stmtlink {
namespace {

using testing::BuiltProgram;
using testing::ProgramRun;
using testing::RunBooksTool;
using testing::ReadTextFile;
using testing::ReportItems;
using testing::RunProgram;
using testing::TempDir;
using testing::U8;
using testing::WriteTextFile;

// Amounts hold their tax (内税). The heading 借方勘定科目 ends in a
// full-width space, 摘要 starts with a space; 消耗品費 has one after it.
const char8_t kExported[] =
    u8"伝票番号,日付,決算,借方勘定科目　,借方補助科目,借方部門,借方金額,借方税区分,借方税金額,"
    u8"貸方勘定科目,貸方補助科目,貸方部門,貸方金額,貸方税区分,貸方税金額, 摘要,識別フラグ\r\n"
    u8"1,2025/4/1,,普通預金,,,2900000,,,資本金,,,3000000,対象外,,設立,0\r\n"
    u8",2025/4/1,,現金,,,100000,,,,,,,,,設立,0\r\n"
    u8"2,令和7年4月10日,,仕入高,,本社,110000,課対仕入10%,,買掛金,,,110000,,,仕入,0\r\n"
    u8"3,R7/4/15,,売掛金,,,1080000,,,売上高,,営業部,1080000,課税売上8%(軽),,食品,0\r\n"
    u8"4,R07.04.20,,消耗品費 ,,,3300,課仕10%,300,現金,,,3300,,,文具,0\r\n"
    u8"5,2025年4月25日,,給与手当,,,200000,,,普通預金,,,200000,,,給与,0\r\n"
    u8"6,2025.4.30,,普通預金,,,12,,,受取利息　,,,12,非課売上,,利息,0\r\n"
    u8",,,,,,,,,,,,,,,,\r\n"
    u8"7,20250501,,地代家賃,,,55000,課税仕入 １０％,,普通預金,,,55000,,,家賃,0\r\n"
    u8"8,2026-03-31,本決,支払手数料,,,1000,対象外,,未払金,,,1000,,,未払計上,0\r\n"
    u8"9,R7.9.30,中間決算,支払手数料,,,500,,,未払金,,,500,,,中間未払,0\r\n"
    u8",,,,,,,,,,,,,,,,\r\n"
    u8" , ,　,,,,,,,,,,,,,,\r\n";

std::string ExportedReport(const std::string& home) {
  return testing::YearReport(home, {"--ledger", "0"});
}

TEST(ExportedJournal, EveryFormInEitherEncodingGivesTheHandFigures) {
  TempDir dir;
  const std::string utf8 = U8(kExported);
  std::string cp932;
  ASSERT_TRUE(Utf8ToCp932(utf8, &cp932));
  // The map is the user's file too: CP932 where --encoding says so.
  const std::string map = U8(u8"account,code\n給与手当,給料手当\n");
  std::string map_cp932;
  ASSERT_TRUE(Utf8ToCp932(map, &map_cp932));
  ASSERT_TRUE(WriteTextFile(dir.File("map.csv"), map));
  ASSERT_TRUE(WriteTextFile(dir.File("map-cp932.csv"), map_cp932));
  const struct {
    const char* name;
    std::string bytes;
    const char* encoding;
  } files[] = {{"utf8.csv", utf8, "auto"},
               {"bom.csv", "\xEF\xBB\xBF" + utf8, "auto"},
               {"sjis.csv", cp932, "auto"},
               {"sjis-given.csv", cp932, "cp932"}};
  std::string first_report;
  for (const auto& f : files) {
    ASSERT_TRUE(WriteTextFile(dir.File(f.name), f.bytes));
    const std::string home = dir.File(std::string("home-") + f.name);
    ProgramRun imported =
        RunBooksTool({"import", "--home", home, "--journal", dir.File(f.name), "--map",
                       dir.File(f.encoding == std::string("cp932") ? "map-cp932.csv" : "map.csv"),
                       "--company", "X", "--interim", "--encoding", f.encoding});
    ASSERT_EQ(0, imported.exit_status) << f.name << ": " << imported.err;
    EXPECT_NE(std::string::npos, imported.out.find("3 empty rows")) << imported.out;
    EXPECT_NE(std::string::npos, imported.out.find(U8(u8"column '識別フラグ' of ")))
        << imported.out;
    const std::string report = ExportedReport(home);
    if (first_report.empty()) {
      first_report = report;
    } else {
      EXPECT_TRUE(report == first_report) << f.name;
      continue;
    }
    // By hand: the taxes of the taxed lines on the two tax accounts
    // (110,000 at 10%: 10,000; 1,080,000 at 8%: 80,000; 300 as given;
    // 55,000 at 10%: 5,000), the rest without them. The interim
    // adjustment (500) belongs to the interim statements, and the year's
    // (months 4 to 3 and the year-end) leave it out, as the program does.
    const std::map<std::string, long long> items = ReportItems(report);
    const std::pair<const char8_t*, long long> want[] = {
        {u8"現金", 96700},         {u8"普通預金", 2645012},  {u8"売掛金", 1080000},
        {u8"仮払消費税", 15300},   {u8"買掛金", 110000},     {u8"仮受消費税", 80000},
        {u8"未払金", 1000},        {u8"資本金", 3000000},    {u8"売上高", 1000000},
        {u8"仕入高", 100000},      {u8"消耗品費", 3000},     {u8"給料手当", 200000},
        {u8"地代家賃", 50000},     {u8"支払手数料", 1000},   {u8"受取利息", 12},
        {u8"当期純利益", 646012},  {u8"資産合計", 3837012},  {u8"負債合計", 191000},
        {u8"純資産合計", 3646012},
    };
    testing::ExpectItems(items, {std::begin(want), std::end(want)});
    // The 本決 line is a year-end adjustment, the 中間決算 one an interim
    // one, the others lines of their month.
    ASSERT_EQ(0, RunBooksTool({"export", "--home", home, "--out", dir.File("out")}).exit_status);
    const std::string journal = ReadTextFile(dir.File("out/journal.csv"));
    EXPECT_NE(std::string::npos, journal.find("2026-03-31,year-end,6200,1000")) << journal;
    EXPECT_NE(std::string::npos, journal.find("2025-09-30,interim,6200,500")) << journal;
    EXPECT_EQ(journal.find("year-end"), journal.rfind("year-end")) << journal;
    EXPECT_EQ(journal.find("interim"), journal.rfind("interim")) << journal;
  }
}

// Each fault of an exported journal is one message with file, line and
// column; nothing is written.
TEST(ExportedJournal, FaultsAreRefusedWithFileLineAndColumn) {
  TempDir dir;
  const std::string head =
      U8(u8"伝票番号,日付,決算,借方勘定科目,借方金額,借方税区分,貸方勘定科目,貸方金額,摘要\n");
  ASSERT_TRUE(WriteTextFile(
      dir.File("j.csv"),
      head + U8(u8"1,平成31年5月1日,,現金,100,,資本金,100,era ended\n"
                u8"2,2025/4/2,期末,現金,100,,資本金,100,no such adjustment\n"
                u8"3,2025/4/3,,法人税等,100,,現金,100,short name\n"
                u8"4,2025/4/4,,仕入高,110,課対仕入11%,現金,110,no such rate\n"
                u8"5,2025/4/5,,給与手当,100,,現金,100,not in the map\n"
                u8"6,2025/9/30,中決,支払手数料,100,,現金,100,no interim closing\n")));
  ASSERT_TRUE(WriteTextFile(dir.File("map.csv"), U8(u8"account,code\n旅費,旅費交通費\n")));
  ProgramRun run = RunBooksTool({"import", "--home", dir.File("home"), "--journal",
                                  dir.File("j.csv"), "--company", "X", "--map", dir.File("map.csv")});
  EXPECT_EQ(2, run.exit_status);
  const std::string expected[] = {
      U8(u8"j.csv:2:2: date '平成31年5月1日' is not a calendar day (write a date as"),
      U8(u8"j.csv:3:3: adjustment '期末' is not 本決 (決算, 決算整理), 中決 (中間決算) or empty"),
      U8(u8"j.csv:4:4: unknown account '法人税等' (closest known: 法人税、住民税及び事業税, "),
      U8(u8"j.csv:5:6: tax category '課対仕入11%' is not known (closest known: 課税仕入10%"),
      U8(u8"j.csv:6:4: unknown account '給与手当' (closest known: 給料手当"),
      "j.csv:7:3: an interim adjustment, but the data set keeps no interim closing (give --interim)",
      "Nothing was imported."};
  for (const std::string& e : expected)
    EXPECT_NE(std::string::npos, run.err.find(e)) << e << "\n" << run.err;
  EXPECT_EQ(7, std::count(run.err.begin(), run.err.end(), '\n')) << run.err;
  EXPECT_FALSE(std::filesystem::exists(dir.File("home/books.db")));

  // --strict: a column the import does not read is refused, not skipped.
  ASSERT_TRUE(WriteTextFile(dir.File("k.csv"), U8(u8"日付,借方勘定科目,貸方勘定科目,金額,識別フラグ\n"
                                                  u8"2025/4/1,現金,資本金,100,0\n")));
  run = RunBooksTool({"import", "--home", dir.File("home"), "--journal", dir.File("k.csv"),
                       "--company", "X", "--strict"});
  EXPECT_EQ(2, run.exit_status);
  EXPECT_EQ(0u, run.err.find(dir.File(U8(u8"k.csv:1:5: unknown column '識別フラグ'\n")))) << run.err;
}

// The tool speaks Japanese unless the locale asks for English; a refusal
// still names file, line and column.
TEST(ExportedJournal, SpeaksJapaneseUnlessTheLocaleIsEnglish) {
  EXPECT_EQ(0u, RunBooksTool({"--help"}, "ja_JP.UTF-8").out.find(U8(u8"使い方: stmtlink-books")));
  EXPECT_EQ(0u, RunBooksTool({"--help"}, "").out.find(U8(u8"使い方: stmtlink-books")));
  EXPECT_EQ(0u, RunBooksTool({"--help"}).out.find("Usage: stmtlink-books"));
  const ProgramRun messages = RunProgram(BuiltProgram("stmtlink-books"), {"--help"},
                                         {"LC_ALL=", "LC_MESSAGES=en_GB.UTF-8", "LANG=ja_JP.UTF-8"});
  EXPECT_EQ(0u, messages.out.find("Usage: stmtlink-books"));

  TempDir dir;
  ASSERT_TRUE(WriteTextFile(dir.File("j.csv"), U8(u8"日付,借方勘定科目,貸方勘定科目,金額\n"
                                                  u8"R7/2/30,現金,売上,100\n")));
  const ProgramRun run = RunBooksTool(
      {"import", "--home", dir.File("home"), "--journal", dir.File("j.csv"), "--company", "X"},
      "ja_JP.UTF-8");
  EXPECT_EQ(2, run.exit_status);
  EXPECT_NE(std::string::npos, run.err.find(dir.File(U8(u8"j.csv:2:1: 日付 'R7/2/30' が実在する日ではありません ("))))
      << run.err;
  EXPECT_NE(std::string::npos, run.err.find(dir.File(U8(u8"j.csv:2:3: 勘定科目 '売上' がありません (近いもの: 売上高"))))
      << run.err;
  EXPECT_NE(std::string::npos, run.err.find(U8(u8"何もインポートしませんでした。"))) << run.err;
}

} // namespace
} // namespace stmtlink

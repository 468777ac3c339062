// A first quarter kept the Japanese way: Japanese headings, tax categories
// on the lines, a sub-account named by 補助科目. It imports to statements
// whose figures are the hand-computed ones; the same journal with its tax
// columns filled gives the same books; and its books exported and imported
// again give a byte-identical report.
#include <gtest/gtest.h>

#include <cstdlib>
#include <map>

#include "tests/support/program_runner.h"
#include "tests/support/report_items.h"
#include "tests/support/temp_dir.h"
#include "tests/support/utf8.h"
#include "tools/books/books_import.h"
#include "tools/books/chart_csv.h"

namespace stmtlink {
namespace {

using testing::ProgramRun;
using testing::RunBooksTool;
using testing::ReadTextFile;
using testing::ReportItems;
using testing::TempDir;
using testing::U8;
using testing::WriteTextFile;

std::string Report(const std::string& home, const char* ledger = "1") {
  return testing::YearReport(home, {"--ledger", ledger});
}

// Amounts hold their tax (内税), as written on receipts; one line is 外税.
const char8_t kQuarter[] =
    u8"伝票番号,日付,借方勘定科目,借方補助科目,借方金額,借方税区分,借方税額,"
    u8"貸方勘定科目,貸方補助科目,貸方金額,貸方税区分,貸方税額,税計算区分,摘要\n"
    u8"1,2025/4/1,普通預金,東都銀行,\"2,800,000\",,,資本金,,3000000円,対象外,,,設立\n"
    u8",2025/4/1,現金,,200000,,,,,,,,,設立\n"
    u8"2,2025/4/5,仕入高,,550000,課税仕入10%,%T1%,買掛金,,550000,,,,商品仕入\n"
    u8"3,2025/4/10,売掛金,,\"１，０８０，０００\",,,売上高,,1080000,課税売上8%(軽減),%T2%,,食品売上\n"
    u8"4,2025/4/25,地代家賃,,100000,課税仕入 10％,%T3%,普通預金,東都銀行,110000,,,外税,家賃\n"
    u8"5,2025/5/20,普通預金,東都銀行,1080000,,,売掛金,,1080000,,,,回収\n"
    u8"6,2025/5/31,買掛金,,550000,,,普通預金,東都銀行,550000,,,,支払\n"
    u8"7,2025/6/10,消耗品費,,3334,課税仕入10%,%T4%,現金,,3334,,,,文具\n"
    u8"8,2025/6/15,普通預金,東都銀行,12,,,受取利息,,12,非課税売上,,,利息\n";

std::string Quarter(bool tax_filled) {
  std::string text = U8(kQuarter);
  const char* taxes[] = {"50000", "80000", "10000", "303"};
  for (int i = 0; i < 4; ++i) {
    const std::string mark = "%T" + std::to_string(i + 1) + "%";
    text.replace(text.find(mark), mark.size(), tax_filled ? taxes[i] : "");
  }
  return text;
}

TEST(JapaneseBooks, FirstQuarterWithTaxCategoriesGivesTheHandFigures) {
  TempDir dir;
  ASSERT_TRUE(WriteTextFile(dir.File("q.csv"), Quarter(false)));
  ProgramRun imported =
      RunBooksTool({"import", "--home", dir.File("home"), "--journal", dir.File("q.csv"), "--company",
             U8(u8"株式会社テスト"), "--create-sub-accounts"});
  ASSERT_EQ(0, imported.exit_status) << imported.err;
  EXPECT_NE(std::string::npos, imported.out.find("1 sub-account was added")) << imported.out;
  const std::string report = Report(dir.File("home"));
  const std::map<std::string, long long> items = ReportItems(report);
  // By hand: tax-excluded books, the taxes on the two tax accounts.
  const std::pair<const char8_t*, long long> want[] = {
      {u8"現金", 196666},          {u8"仮払消費税", 60303},  {u8"仮受消費税", 80000},
      {u8"資本金", 3000000},       {u8"売上高", 1000000},    {u8"仕入高", 500000},
      {u8"地代家賃", 100000},      {u8"消耗品費", 3031},     {u8"受取利息", 12},
      {u8"当期純利益", 396981},    {u8"資産合計", 3476981},  {u8"負債合計", 80000},
      {u8"純資産合計", 3396981},
  };
  testing::ExpectItems(items, {std::begin(want), std::end(want)});

  // Books kept with tax: the same journal lines, each account taking its
  // amount and its tax.
  ProgramRun with_tax =
      RunBooksTool({"import", "--home", dir.File("with-tax"), "--journal", dir.File("q.csv"),
             "--company", "X", "--create-sub-accounts", "--tax-included"});
  ASSERT_EQ(0, with_tax.exit_status) << with_tax.err;
  const std::map<std::string, long long> taxed = ReportItems(Report(dir.File("with-tax")));
  const std::pair<const char8_t*, long long> want_taxed[] = {
      {u8"売上高", 1080000},    {u8"仕入高", 550000},      {u8"地代家賃", 110000},
      {u8"消耗品費", 3334},     {u8"当期純利益", 416678},  {u8"資産合計", 3416678},
  };
  for (const auto& [label, yen] : want_taxed) {
    ASSERT_TRUE(taxed.count(U8(label))) << U8(label);
    EXPECT_EQ(yen, taxed.at(U8(label))) << U8(label);
  }

  // The same journal with the tax columns filled: the same books.
  ASSERT_EQ(0, RunBooksTool({"export", "--home", dir.File("home"), "--out", dir.File("a")}).exit_status);
  ASSERT_TRUE(WriteTextFile(dir.File("filled.csv"), Quarter(true)));
  ProgramRun filled =
      RunBooksTool({"import", "--home", dir.File("filled"), "--journal", dir.File("filled.csv"),
             "--company", U8(u8"株式会社テスト"), "--create-sub-accounts"});
  ASSERT_EQ(0, filled.exit_status) << filled.err;
  EXPECT_EQ(std::string::npos, filled.out.find("differs")) << filled.out;
  ASSERT_EQ(0,
            RunBooksTool({"export", "--home", dir.File("filled"), "--out", dir.File("b")}).exit_status);
  for (const char* name : {"chart.csv", "journal.csv", "opening.csv"})
    EXPECT_EQ(ReadTextFile(dir.File("a/") + name), ReadTextFile(dir.File("b/") + name)) << name;

  // Exported and imported again: the very same report.
  ProgramRun again = RunBooksTool({"import", "--home", dir.File("again"), "--from", dir.File("a")});
  ASSERT_EQ(0, again.exit_status) << again.err;
  EXPECT_TRUE(report == Report(dir.File("again")));
}

TEST(JapaneseBooks, TaxFigureOfTheFileIsKeptAndAFarOneNoted) {
  TempDir dir;
  std::string text = Quarter(true);
  text.replace(text.find(",303,"), 5, ",310,"); // 7 yen from the computed 303
  ASSERT_TRUE(WriteTextFile(dir.File("q.csv"), text));
  ProgramRun imported = RunBooksTool({"import", "--home", dir.File("home"), "--journal",
                               dir.File("q.csv"), "--company", "X", "--create-sub-accounts"});
  ASSERT_EQ(0, imported.exit_status) << imported.err;
  EXPECT_NE(std::string::npos,
            imported.out.find(":9:7: the tax 310 yen differs from 303 yen computed at 10%"))
      << imported.out;
  ASSERT_EQ(0, RunBooksTool({"export", "--home", dir.File("home"), "--out", dir.File("a")}).exit_status);
  EXPECT_NE(std::string::npos,
            ReadTextFile(dir.File("a/journal.csv")).find("2025-06-10,,6160,3024,310,1110,3334,"));
}

// Every account of the standard chart, a thousand yen on its normal side:
// the statements place each one as an item and still balance.
TEST(JapaneseBooks, EveryStandardAccountIsPlacedByTheStatements) {
  ImportProblems problems;
  CsvFile file;
  ASSERT_TRUE(CsvFile::Load(StandardChartPath(), TextEncoding::kAuto, &file, &problems));
  ImportedChart chart;
  ASSERT_TRUE(ReadChartCsv(file, true, &chart, &problems)) << problems.Text();
  std::string journal = "entry,date,debit,debit_amount,credit,credit_amount\n";
  std::vector<const ChartAccount*> posted;
  int entry = 0;
  for (const ChartAccount& a : chart.accounts) {
    // Cash and capital are the other sides; the two outside the statements
    // and the carried profit are left out.
    if (a.line_type != 0 || (a.nature & 0x08000000u) || a.nature == 0x80202010u ||
        a.code == 11100000 || a.code == 31100000)
      continue;
    const std::string code = std::to_string(a.code / 10000);
    journal += std::to_string(++entry) + ",2025-05-01," +
               (a.normal_side == 1 ? code + ",1000,3110,1000\n" : "1110,1000," + code + ",1000\n");
    posted.push_back(&a);
  }
  TempDir dir;
  ASSERT_TRUE(WriteTextFile(dir.File("all.csv"), journal));
  ProgramRun imported =
      RunBooksTool({"import", "--home", dir.File("home"), "--journal", dir.File("all.csv"), "--company",
             "X", "--period", "20250401-20260331", "--manufacturing"});
  ASSERT_EQ(0, imported.exit_status) << imported.err;
  const std::map<std::string, long long> items = ReportItems(Report(dir.File("home"), "0"));
  for (const ChartAccount* a : posted) {
    // The schedule's items are shown without their "(製)".
    std::string label = a->formal_name;
    if (const std::size_t mark = label.find(U8(u8"(製)")); mark != std::string::npos)
      label.erase(mark);
    ASSERT_TRUE(items.count(label)) << a->code / 10000;
    EXPECT_EQ(1000, std::llabs(items.at(label))) << a->code / 10000;
  }
  EXPECT_EQ(items.at(U8(u8"資産合計")), items.at(U8(u8"負債合計")) + items.at(U8(u8"純資産合計")));
}

} // namespace
} // namespace stmtlink

// The books tool's export and import against the program's own report: the
// sample's books exported and imported again give a byte-identical report,
// and a hand-written hledger journal imports to statements whose figures
// are hledger's own balances.
#include <gtest/gtest.h>

#include <cstdlib>
#include <map>
#include <regex>

#include "tests/support/program_runner.h"
#include "tests/support/report_items.h"
#include "tests/support/temp_dir.h"
#include "tests/support/utf8.h"

namespace stmtlink {
namespace {

using testing::ProgramRun;
using testing::RunBooksTool;
using testing::ReadTextFile;
using testing::ReportItems;
using testing::TempDir;
using testing::U8;
using testing::WriteTextFile;

std::string Report(const std::string& home, const std::vector<std::string>& conditions) {
  return testing::YearReport(home, conditions);
}

TEST(BooksRoundTrip, ImportOfTheExportGivesTheSameReportAndTheSameFiles) {
  const std::vector<std::vector<std::string>> samples = {
      {"--entries", "300"},
      {"--entries", "300", "--accounts", "160", "--manufacturing", "--interim", "--unclassified",
       "--tax-included", "--seed", "9"}};
  for (const std::vector<std::string>& options : samples) {
    TempDir dir;
    const std::string original = dir.File("original"), copy = dir.File("copy");
    std::vector<std::string> make = {"sample", "--home", original};
    make.insert(make.end(), options.begin(), options.end());
    ASSERT_EQ(0, RunBooksTool(make).exit_status);
    ProgramRun exported = RunBooksTool({"export", "--home", original, "--out", dir.File("csv")});
    ASSERT_EQ(0, exported.exit_status) << exported.err;
    ProgramRun imported = RunBooksTool({"import", "--home", copy, "--from", dir.File("csv")});
    ASSERT_EQ(0, imported.exit_status) << imported.err;

    for (const std::vector<std::string>& conditions :
         {std::vector<std::string>{"--equity", "1", "--ledger", "0"},
          std::vector<std::string>{"--equity", "2", "--ledger", "1"}}) {
      const std::string expected = Report(original, conditions);
      ASSERT_GT(expected.size(), 10000u);
      EXPECT_TRUE(expected == Report(copy, conditions)) << "options " << options.back();
    }
    // The imported books export to the very same files.
    ASSERT_EQ(0, RunBooksTool({"export", "--home", copy, "--out", dir.File("again")}).exit_status);
    for (const char* name : {"company.csv", "chart.csv", "opening.csv", "journal.csv", "notes.csv"})
      EXPECT_EQ(ReadTextFile(dir.File("csv/") + name), ReadTextFile(dir.File("again/") + name))
          << name;
  }
}

// Texts a spreadsheet would take as formulas: the export guards them with
// an apostrophe, and the import of the export gives them back exactly (a
// name that itself starts with an apostrophe too), so the report is the
// same byte for byte.
TEST(BooksRoundTrip, TextsThatLookLikeFormulasComeBackExactly) {
  TempDir dir;
  ASSERT_EQ(0, RunBooksTool({"sample", "--home", dir.File("sample"), "--entries", "100"}).exit_status);
  ASSERT_EQ(0,
            RunBooksTool({"export", "--home", dir.File("sample"), "--out", dir.File("in")}).exit_status);
  // As a person writes them: the texts as they are, an apostrophe doubled
  // where the name starts with one.
  const auto replace_first = [](std::string* text, const std::string& from, const std::string& to) {
    const std::size_t at = text->find(from);
    ASSERT_NE(std::string::npos, at) << from;
    text->replace(at, from.size(), to);
  };
  std::string chart = ReadTextFile(dir.File("in/chart.csv"));
  replace_first(&chart, U8(u8",現金,"), ",=cmd|' /C calc'!A0,");
  replace_first(&chart, U8(u8",普通預金,"), ",''=SUM(A1),");
  ASSERT_TRUE(WriteTextFile(dir.File("in/chart.csv"), chart));
  std::string journal = ReadTextFile(dir.File("in/journal.csv"));
  const std::size_t second_line = journal.find("\r\n", journal.find("\r\n") + 2);
  journal.insert(journal.rfind(',', second_line) + 1, U8(u8"-返品 "));
  ASSERT_TRUE(WriteTextFile(dir.File("in/journal.csv"), journal));

  ProgramRun first = RunBooksTool({"import", "--home", dir.File("a"), "--from", dir.File("in")});
  ASSERT_EQ(0, first.exit_status) << first.err;
  ASSERT_EQ(0, RunBooksTool({"export", "--home", dir.File("a"), "--out", dir.File("out")}).exit_status);
  const std::string exported_chart = ReadTextFile(dir.File("out/chart.csv"));
  EXPECT_NE(std::string::npos, exported_chart.find(",'=cmd|' /C calc'!A0,")) << exported_chart;
  EXPECT_NE(std::string::npos, exported_chart.find(",''=SUM(A1),")) << exported_chart;
  EXPECT_NE(std::string::npos, ReadTextFile(dir.File("out/journal.csv")).find(U8(u8",'-返品 ")));
  ProgramRun second = RunBooksTool({"import", "--home", dir.File("b"), "--from", dir.File("out")});
  ASSERT_EQ(0, second.exit_status) << second.err;
  const std::string report = Report(dir.File("a"), {"--ledger", "1"});
  EXPECT_NE(std::string::npos, report.find("=cmd|")); // ASCII: the same in Shift_JIS
  EXPECT_TRUE(report == Report(dir.File("b"), {"--ledger", "1"}));
  ASSERT_EQ(0, RunBooksTool({"export", "--home", dir.File("b"), "--out", dir.File("again")}).exit_status);
  for (const char* file : {"company.csv", "chart.csv", "opening.csv", "journal.csv", "notes.csv"})
    EXPECT_EQ(ReadTextFile(dir.File("out/") + file), ReadTextFile(dir.File("again/") + file))
        << file;
}

TEST(BooksRoundTrip, CommandLinesOfImportAndExport) {
  TempDir dir;
  for (std::vector<std::string> args :
       {std::vector<std::string>{"import", "--home", dir.path(), "--period", "20250401"},
        {"import", "--home", dir.path(), "--encoding", "latin1", "--journal", "j.csv"},
        {"import", "--bogus"},
        {"export", "--home", dir.path()},
        {"export", "--out", dir.path(), "--data", "x"}}) {
    ProgramRun run = RunBooksTool(args);
    EXPECT_EQ(2, run.exit_status) << args[2];
    EXPECT_NE(std::string::npos, run.err.find("--help")) << run.err;
  }
  ASSERT_TRUE(WriteTextFile(dir.File("j.csv"),
                            "entry,date,debit,debit_amount,credit,credit_amount\n"
                            "1,2025-04-01,1110,5,4110,4\n"));
  ProgramRun refused =
      RunBooksTool({"import", "--home", dir.File("h"), "--journal", dir.File("j.csv"), "--company", "X"});
  EXPECT_EQ(2, refused.exit_status);
  EXPECT_EQ(dir.File("j.csv") +
                ":2: entry 1 does not balance: debits 5 yen, credits 4 yen\n"
                "Nothing was imported.\n",
            refused.err);
  // Without --period the year starts with the month of the first line.
  ASSERT_TRUE(WriteTextFile(dir.File("k.csv"), "entry,date,debit,debit_amount,credit,credit_amount\n"
                                               "1,2025-10-15,1110,5,4110,5\n"));
  ProgramRun imported =
      RunBooksTool({"import", "--home", dir.File("h"), "--journal", dir.File("k.csv"), "--company", "X"});
  EXPECT_EQ(0, imported.exit_status) << imported.err;
  EXPECT_NE(std::string::npos,
            imported.out.find("2025-10-01 to 2026-09-30, from the journal's first date"))
      << imported.out;
  ProgramRun no_books = RunBooksTool({"export", "--home", dir.File("none"), "--out", dir.File("out")});
  EXPECT_EQ(1, no_books.exit_status);
  EXPECT_NE(std::string::npos, RunBooksTool({"--help"}).out.find("export [--home DIR] --out FOLDER"));
}

// A company's first month in plain-text accounting: capital paid in,
// purchases and sales with 10% consumption tax, salaries with withholding,
// and a compound entry (rent and utilities from the bank and in cash).
const char8_t kFirstMonth[] =
    u8R"(commodity ¥1,000.

2025-04-01 設立 資本金払込
    資産:東都銀行                  ¥5,000,000
    純資産:資本金

2025-04-03 商品仕入
    費用:仕入高                    ¥800,000
    資産:仮払消費税                ¥80,000
    負債:買掛金

2025-04-10 商品売上 青葉商店
    資産:売掛金                    ¥1,320,000
    収益:売上高                    ¥-1,200,000
    負債:仮受消費税                ¥-120,000

2025-04-20 売掛金回収
    資産:東都銀行                  ¥1,000,000
    資産:売掛金

2025-04-25 4月分給与
    費用:給料手当                  ¥300,000
    負債:預り金                    ¥-25,000
    資産:東都銀行                  ¥-275,000

2025-04-28 家賃と水道光熱費
    費用:地代家賃                  ¥150,000
    費用:水道光熱費                ¥20,000
    資産:仮払消費税                ¥17,000
    資産:東都銀行                  ¥-180,000
    資産:現金                      ¥-7,000

2025-04-30 現金引出
    資産:現金                      ¥50,000
    資産:東都銀行
)";

TEST(BooksRoundTrip, HledgerJournalImportsToStatementsWithHledgersBalances) {
  TempDir dir;
  ASSERT_TRUE(WriteTextFile(dir.File("first.journal"), U8(kFirstMonth)));
  const std::string hledger = "hledger -f '" + dir.File("first.journal") + "' ";
  ASSERT_EQ(0, std::system((hledger + "print -O csv >'" + dir.File("print.csv") + "'").c_str()));
  ASSERT_EQ(
      0, std::system((hledger + "bal --no-total -O csv >'" + dir.File("bal.csv") + "'").c_str()));
  // Most accounts reach the standard chart by their last name; the map
  // sends the bank account to 普通預金.
  ASSERT_TRUE(WriteTextFile(dir.File("map.csv"), U8(u8"account,code\n資産:東都銀行,普通預金\n")));
  ProgramRun imported = RunBooksTool({"import", "--home", dir.File("home"), "--journal",
                               dir.File("print.csv"), "--map", dir.File("map.csv"), "--company",
                               U8(u8"株式会社テスト"), "--period", "20250401-20260331"});
  ASSERT_EQ(0, imported.exit_status) << imported.err;
  const std::map<std::string, long long> items =
      ReportItems(Report(dir.File("home"), {"--ledger", "0"}));

  // hledger's balances are positive on the debit side; the statements show
  // each account on its normal side (assets and expenses debit).
  const std::string bal = ReadTextFile(dir.File("bal.csv"));
  const std::regex row("\"([^\":]+):([^\"]+)\",\"\xC2\xA5(-?[0-9]+)\"");
  int compared = 0;
  long long profit = 0;
  for (std::sregex_iterator it(bal.begin(), bal.end(), row), end; it != end; ++it) {
    const std::string top = (*it)[1].str();
    std::string name = (*it)[2].str();
    if (name == U8(u8"東都銀行")) name = U8(u8"普通預金");
    const long long balance = std::atoll((*it)[3].str().c_str());
    const bool debit_side = top == U8(u8"資産") || top == U8(u8"費用");
    if (top == U8(u8"収益") || top == U8(u8"費用")) profit -= balance;
    ASSERT_TRUE(items.count(name)) << name;
    EXPECT_EQ(debit_side ? balance : -balance, items.at(name)) << name;
    ++compared;
  }
  EXPECT_EQ(13, compared);
  EXPECT_EQ(profit, items.at(U8(u8"当期純利益")));
  EXPECT_EQ(items.at(U8(u8"資産合計")), items.at(U8(u8"負債合計")) + items.at(U8(u8"純資産合計")));
}

} // namespace
} // namespace stmtlink

// The whole run of the real programs on fresh sample books: dialog, month
// conditions, aggregation, notes, report, remembered conditions, closing
// message and the outcome for the host.
#include <gtest/gtest.h>
#include <sqlite3.h>

#include <filesystem>
#include <thread>

#include "tests/support/program_runner.h"
#include "tests/support/temp_dir.h"
#include "tests/support/utf8.h"
#include "tests/support/xmllint.h"

namespace stmtlink {
namespace {

using testing::BuiltProgram;
using testing::ProgramRun;
using testing::ReadTextFile;
using testing::RunProgram;
using testing::TempDir;
using testing::U8;

class RunE2eTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ProgramRun made = RunProgram(BuiltProgram("stmtlink-books"),
                                 {"sample", "--home", home_.path(), "--entries", "200"});
    ASSERT_EQ(0, made.exit_status) << made.err;
  }
  ProgramRun Run(const std::string& program, std::vector<std::string> args) {
    std::filesystem::remove(home_.File("host-window.log"));
    args.insert(args.begin(), {"--ui", "batch", "--home", home_.path()});
    return RunProgram(BuiltProgram(program), args);
  }
  std::string DriveC(const std::string& name) { return home_.File("drive_c/" + name); }
  std::string Settings(const char* file = "StmtLinkStd.env") {
    return ReadTextFile(DriveC(std::string("HostApp/Settings/") + file));
  }
  std::string PostedResult() {
    std::string log = ReadTextFile(home_.File("host-window.log"));
    std::size_t at = log.find("lParam=");
    return at == std::string::npos ? "" : log.substr(at + 7, 1);
  }

  TempDir home_;
};

// Two runs on one output at once (both with the ledger, over other months,
// so that they write at the same time): each leaves a whole report (the
// last to finish wins), never a mixture, and no temporary stays beside it.
TEST_F(RunE2eTest, TwoRunsOnOneOutputEachLeaveAWholeReport) {
  ProgramRun made = RunProgram(BuiltProgram("stmtlink-books"),
                               {"sample", "--home", home_.path(), "--entries", "3000", "--force"});
  ASSERT_EQ(0, made.exit_status) << made.err;
  auto args = [](const char* from, const char* output) {
    return std::vector<std::string>{"--from", from, "--to", "3", "--ledger", "1", "--output", output, "--answer", "yes"};
  };
  ASSERT_EQ(0, Run("StmtLinkStd", args("4", "C:\\plain.xml")).exit_status);
  ASSERT_EQ(0, Run("StmtLinkStd", args("5", "C:\\ledger.xml")).exit_status);
  const std::string plain = ReadTextFile(DriveC("plain.xml")), ledger = ReadTextFile(DriveC("ledger.xml"));
  ASSERT_NE(plain, ledger);
  for (int round = 0; round < 6; ++round) {
    ProgramRun first, second;
    std::thread other([&] { first = Run("StmtLinkStd", args("4", "C:\\shared.xml")); });
    second = Run("StmtLinkStd", args("5", "C:\\shared.xml"));
    other.join();
    EXPECT_EQ(0, first.exit_status) << first.err;
    EXPECT_EQ(0, second.exit_status) << second.err;
    const std::string shared = ReadTextFile(DriveC("shared.xml"));
    EXPECT_TRUE(shared == plain || shared == ledger) << "round " << round << ": a torn report of "
                                                      << shared.size() << " bytes";
  }
  for (const std::string& name : testing::FolderEntries(home_.File("drive_c")))
    EXPECT_EQ(std::string::npos, name.find(".tmp")) << name;
}

TEST_F(RunE2eTest, CompletedRunWritesTheReportAndRemembersTheConditions) {
  ProgramRun run = Run("StmtLinkStd", {"--from", "4", "--to", "3", "--equity", "2", "--ledger", "0",
                                       "--output", "C:\\out\\report.xml", "--answer", "yes"});
  EXPECT_EQ(0, run.exit_status) << run.err;
  EXPECT_NE(std::string::npos,
            run.err.find(U8(u8"決算書 [information] 決算書情報の出力が終了しました。"))) << run.err;
  std::string report = ReadTextFile(DriveC("out/report.xml"));
  EXPECT_EQ(0u, report.find("<?xml version=\"1.0\" encoding=\"Shift_JIS\"?>\r\n<REPORT>\r\n"));
  EXPECT_NE(std::string::npos, report.find("\t\t<BalanceSheet>\r\n"));
  EXPECT_NE(std::string::npos, report.find("\t\t\t<Select>2</Select>\r\n"));
  EXPECT_NE(std::string::npos, report.find("\t\t<PROGRAMNAME>ヴェルカ２０</PROGRAMNAME>\r\n"));
  EXPECT_EQ(report.size() - 11, report.rfind("</REPORT>\r\n"));
  // The sample's notes: shown notes with their text, entities escaped
  // again, a switched-off group and a hidden note left out.
  EXPECT_NE(std::string::npos, report.find("\t\t<ListNotesNonConsolidated>\r\n"));
  EXPECT_NE(std::string::npos, report.find("<Line>重要な後発事象はありません。</Line>"));
  EXPECT_NE(std::string::npos, report.find("株式会社S&amp;Kサービス"));
  EXPECT_EQ(std::string::npos, report.find("NotesRelatedPartyTransactions"));
  EXPECT_EQ(std::string::npos, report.find("RecordingBasisRevenueExpense"));
  // The hidden heading's shown children stand in its place, once each.
  EXPECT_EQ(std::string::npos, report.find("<NoteIncomeStatement>"));
  EXPECT_NE(std::string::npos, report.find("\t\t\t\t<TransactionsAffiliates>\r\n"));
  // The scripts install xmllint: the report must be well-formed Shift_JIS XML.
  EXPECT_EQ("", testing::XmllintComplaints(DriveC("out/report.xml")));
  EXPECT_EQ("USER01/0/1:4/3/2/0/C:\\out\\report.xml\n", Settings());

  // A second run starts from the remembered conditions.
  std::filesystem::remove(DriveC("out/report.xml"));
  run = Run("StmtLinkStd", {"--answer", "yes"});
  EXPECT_EQ(0, run.exit_status) << run.err;
  EXPECT_NE(std::string::npos, ReadTextFile(DriveC("out/report.xml")).find("<Select>2</Select>"));
}

// The text between the first <tag> after `from` and its </tag>.
std::string ElementAfter(const std::string& xml, std::size_t from, const std::string& tag) {
  const std::string open = "<" + tag + ">", close = "</" + tag + ">";
  const std::size_t start = xml.find(open, from);
  if (start == std::string::npos) return "";
  const std::size_t end = xml.find(close, start);
  return xml.substr(start + open.size(), end - start - open.size());
}

TEST_F(RunE2eTest, LedgerRunWritesEveryAccountsLedgerLast) {
  ProgramRun run = Run("StmtLinkStd", {"--from", "4", "--to", "3", "--ledger", "1", "--output",
                                       "C:\\out\\ledger.xml", "--answer", "yes"});
  ASSERT_EQ(0, run.exit_status) << run.err;
  const std::string report = ReadTextFile(DriveC("out/ledger.xml"));
  // The ledger is the last section of DATA.
  const std::size_t ledger = report.find("\t\t<HJ00780S>\r\n");
  ASSERT_NE(std::string::npos, ledger);
  EXPECT_EQ(report.find("\t\t</HJ00780S>\r\n\t</DATA>\r\n"), report.rfind("\t\t</HJ00780S>\r\n"));
  // 現金's block: era dates, 諸口 rows, and its last running balance is
  // the closing balance the block states.
  const std::size_t cash = report.find("<HJ00780S0010>現金</HJ00780S0010>", ledger);
  ASSERT_NE(std::string::npos, cash);
  const std::size_t block_end = report.find("</HJ00780S01>", cash);
  const std::string block = report.substr(cash, block_end - cash);
  EXPECT_EQ(0u, ElementAfter(block, 0, "HJ00780S0060").find("令和"));
  EXPECT_NE(std::string::npos, block.find("<HJ00780S0080>諸口</HJ00780S0080>"));
  const std::size_t last_row = block.rfind("<HJ00780S02>");
  ASSERT_NE(std::string::npos, last_row);
  EXPECT_EQ(ElementAfter(block, 0, "HJ00780S0040"), ElementAfter(block, last_row, "HJ00780S0120"));
  // Accounts kept out of the ledger have no block.
  EXPECT_EQ(std::string::npos, report.find("<HJ00780S0010>雑費</HJ00780S0010>"));
  EXPECT_EQ(std::string::npos, report.find("<HJ00780S0010>通信費</HJ00780S0010>"));
  EXPECT_EQ("", testing::XmllintComplaints(DriveC("out/ledger.xml")));
}

TEST_F(RunE2eTest, CancelledDialogTellsTheHostOne) {
  ProgramRun run = Run("StmtLinkStd", {"--output", "C:\\a*b.xml", "4660,1025,7,"});
  EXPECT_EQ(1, run.exit_status) << run.err;
  EXPECT_EQ("1", PostedResult());
  EXPECT_EQ("", Settings());
}

TEST_F(RunE2eTest, ReportThatCannotBeCreatedFailsAndSavesNothing) {
  ProgramRun run = Run("StmtLinkStd", {"--output", "Z:\\proc\\x.xml", "4660,1025,7,"});
  EXPECT_EQ(2, run.exit_status) << run.err;
  EXPECT_NE(std::string::npos,
            run.err.find(U8(u8"決算書 [exclamation] XMLファイルの出力に失敗しました。"))) << run.err;
  EXPECT_EQ("2", PostedResult());
  EXPECT_EQ("", Settings());
}

TEST_F(RunE2eTest, FailedAggregationStopsBeforeAnyFileIsWritten) {
  std::string ini = ReadTextFile(home_.File("host.ini"));
  ASSERT_NE(std::string::npos, ini.find("[Faults]\n"));
  ini.replace(ini.find("[Faults]\n"), 9, "[Faults]\nClRuleKamoku::GetSumCount=7\n");
  ASSERT_TRUE(testing::WriteTextFile(home_.File("host.ini"), ini));

  ProgramRun run = Run("StmtLinkStd", {"--output", "C:\\never.xml", "4660,1025,7,"});
  EXPECT_EQ(2, run.exit_status) << run.err;
  EXPECT_NE(std::string::npos,
            run.err.find(U8(u8"決算書 [exclamation] 決算書情報の集計に失敗しました。"))) << run.err;
  EXPECT_EQ(std::string::npos, run.err.find(U8(u8"出力が終了しました")));
  EXPECT_FALSE(std::filesystem::exists(DriveC("never.xml")));
  EXPECT_EQ("2", PostedResult());
  EXPECT_EQ("", Settings());
}

TEST_F(RunE2eTest, BooksThatAreNoDatabaseAreRefusedOnceWithTheFileAndTheCause) {
  ASSERT_TRUE(testing::WriteTextFile(home_.File("books.db"), "not books at all"));
  ProgramRun run = Run("StmtLinkStd", {"--output", "C:\\never.xml", "4660,1025,7,"});
  EXPECT_EQ(2, run.exit_status) << run.err;
  const std::size_t refusal = run.err.find(U8(u8"決算書 [exclamation] 会計データを読み込めません。"));
  EXPECT_NE(std::string::npos, refusal) << run.err;
  EXPECT_NE(std::string::npos,
            run.err.find("the books file " + home_.File("books.db") + " is not an SQLite database."))
      << run.err;
  EXPECT_EQ(refusal, run.err.rfind("[exclamation]") - std::string(U8(u8"決算書 ")).size());
  EXPECT_FALSE(std::filesystem::exists(DriveC("never.xml")));
  EXPECT_EQ("2", PostedResult());
}

// The journal's lines are checked by the run's one reading of the journal,
// after the dialog: a line that breaks a rule is refused in the same words
// as any other fault of the books, with or without the ledger.
TEST_F(RunE2eTest, JournalLineThatBreaksARuleIsRefusedBeforeAnyFigure) {
  sqlite3* db = nullptr;
  ASSERT_EQ(SQLITE_OK, sqlite3_open(home_.File("books.db").c_str(), &db));
  const int changed = sqlite3_exec(db, "UPDATE journal_line SET slot = 15 WHERE rowid = 3", nullptr, nullptr, nullptr);
  sqlite3_close(db);
  ASSERT_EQ(SQLITE_OK, changed);
  for (const char* ledger : {"0", "1"}) {
    ProgramRun run = Run("StmtLinkStd", {"--from", "4", "--to", "3", "--ledger", ledger, "--output",
                                         "C:\\never.xml", "--answer", "yes", "4660,1025,7,"});
    EXPECT_EQ(2, run.exit_status) << run.err;
    EXPECT_NE(std::string::npos, run.err.find(U8(u8"決算書 [exclamation] 会計データを読み込めません。"))) << run.err;
    EXPECT_NE(std::string::npos, run.err.find("the books file " + home_.File("books.db") +
                                              " cannot be used: table journal_line, row 3, column slot: 15 is"))
        << run.err;
    EXPECT_FALSE(std::filesystem::exists(DriveC("never.xml")));
    EXPECT_EQ("2", PostedResult());
    EXPECT_EQ("", Settings());
  }
}

TEST_F(RunE2eTest, ImposedPathIsWrittenButNotRemembered) {
  ASSERT_EQ(0, Run("StmtLinkStd", {"--output", "C:\\first.xml"}).exit_status);
  ProgramRun run = Run("StmtLinkStd", {"--from", "5", "--to", "8", "4660,1025,7,C:\\imposed.xml"});
  EXPECT_EQ(0, run.exit_status) << run.err;
  EXPECT_EQ("0", PostedResult());
  EXPECT_TRUE(std::filesystem::exists(DriveC("imposed.xml")));
  // The months are remembered; the path stays the one remembered before.
  EXPECT_EQ("USER01/0/1:5/8/1/1/C:\\first.xml\n", Settings());
}

TEST_F(RunE2eTest, EachEditionNamesItsOwnProductAndKeepsItsOwnSettings) {
  struct Case {
    const char* program;
    const char* product;
    const char* settings;
  } cases[] = {{"StmtLinkNeo", "ヴェルカ２０ NEO", "StmtLinkNeo.env"},
               {"StmtLinkLumina", "ヴェルカ２０ ルミナ", "StmtLinkLumina.env"}};
  for (const Case& c : cases) {
    ProgramRun run = Run(c.program, {"--output", "C:\\edition.xml", "--answer", "yes"});
    EXPECT_EQ(0, run.exit_status) << run.err;
    EXPECT_NE(std::string::npos, ReadTextFile(DriveC("edition.xml"))
                                     .find(std::string("<PROGRAMNAME>") + c.product + "</PROGRAMNAME>"))
        << c.program;
    EXPECT_NE("", Settings(c.settings)) << c.program;
  }
  EXPECT_EQ("", Settings("StmtLinkStd.env"));
}

} // namespace
} // namespace stmtlink

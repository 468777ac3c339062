// The import's reading and checking of the CSV files, in process: a small
// journal by account names over the standard chart, in each encoding, and
// each bad input refused with its file, line and column, leaving the home
// as it was.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

#include "platform/text_codec.h"
#include "tests/support/temp_dir.h"
#include "tests/support/utf8.h"
#include "tools/books/book_values.h"
#include "tools/books/books_export.h"
#include "tools/books/books_import.h"
#include "tools/books/chart_csv.h"
#include "tools/books/sample_chart.h"

namespace stmtlink {
namespace {

using testing::ReadTextFile;
using testing::TempDir;
using testing::U8;
using testing::WriteTextFile;
namespace fs = std::filesystem;

// A company's first weeks: opening balances as journal lines, a purchase
// and a sale with consumption tax, salaries with withholding and a compound
// entry, amounts with separators, a year-end adjustment.
const char8_t kJournal[] =
    u8"entry,date,slot,debit,debit_amount,debit_tax,credit,credit_amount,credit_tax,description\n"
    u8"1,2025-04-01,opening,現金,300000,,,,,前期繰越\n"
    u8",2025-04-01,opening,普通預金,2700000,,,,,前期繰越\n"
    u8",2025-04-01,opening,,,,資本金,3000000,,前期繰越\n"
    u8"2,2025-04-05,,仕入高,\"800,000\",80000,買掛金,\"880,000\",,商品仕入\n"
    u8"3,2025/4/10,,売掛金,\"1,320,000\",,売上高,\"1,200,000\",120000,商品売上\n"
    u8"4,20250425,,給料手当,300000,,普通預金,275000,,4月分給与\n"
    u8",2025-04-25,,,,,預り金,25000,,4月分給与\n"
    u8"5,2025-04-28,,地代家賃,150000,15000,,,,家賃\n"
    u8",2025-04-28,,水道光熱費,20000.5,2000,普通預金,187000.5,,水道光熱費\n"
    u8"6,2025-05-20,,普通預金,\"1,000,000\",,売掛金,\"1,000,000\",,売掛金回収\n"
    u8"7,2025-05-31,,買掛金,880000,,1120,880000,,買掛金支払\n"
    u8"8,2026-03-31,year-end,法人税、住民税及び事業税,70000,,未払法人税等,70000,,法人税等\n";

class BooksImportTest : public ::testing::Test {
 protected:
  ImportStatus Import(const std::string& journal_utf8, std::string* messages,
                      const std::string& chart = "") {
    EXPECT_TRUE(WriteTextFile(dir_.File("journal.csv"), journal_utf8));
    ImportOptions o;
    o.home = home();
    o.journal = dir_.File("journal.csv");
    o.company_name = U8(u8"株式会社テスト");
    o.period_start = 20250401;
    o.period_end = 20260331;
    o.replace = replace_;
    o.create_sub_accounts = create_sub_accounts_;
    if (!opening_.empty()) {
      EXPECT_TRUE(WriteTextFile(dir_.File("opening.csv"), opening_));
      o.opening = dir_.File("opening.csv");
    }
    if (!chart.empty()) {
      EXPECT_TRUE(WriteTextFile(dir_.File("chart.csv"), chart));
      o.chart = dir_.File("chart.csv");
    }
    summary_.clear();
    return ImportBooks(o, &summary_, messages);
  }
  // The books exported again, one file's text.
  std::string Exported(const char* name) {
    ExportOptions o{home(), dir_.File("out"), 0, true};
    std::string summary, error;
    EXPECT_TRUE(ExportBooks(o, &summary, &error)) << error;
    return ReadTextFile(dir_.File("out/") + name);
  }
  std::string home() const { return dir_.File("home"); }

  TempDir dir_;
  bool replace_ = false;
  bool create_sub_accounts_ = false;
  std::string opening_; // opening.csv when not empty
  std::string summary_; // of the last Import
};

TEST_F(BooksImportTest, JournalByAccountNamesOverTheStandardChartInEachEncoding) {
  std::string cp932;
  ASSERT_TRUE(Utf8ToCp932(U8(kJournal), &cp932));
  std::string first;
  for (const std::string& text : {U8(kJournal), "\xEF\xBB\xBF" + U8(kJournal), cp932}) {
    std::string messages;
    replace_ = true;
    ASSERT_EQ(ImportStatus::kImported, Import(text, &messages)) << messages;
    const std::string journal = Exported("journal.csv");
    if (first.empty()) first = journal;
    EXPECT_EQ(first, journal);
  }
  // Names became codes, separators and decimals exact amounts, the
  // compound entry kept its lines, the adjustment its slot.
  EXPECT_NE(std::string::npos, first.find("2,1,2025-04-05,,5120,800000,80000,2110,880000,,"))
      << first;
  EXPECT_NE(std::string::npos, first.find(",,2025-04-28,,6170,20000.5,2000,1120,187000.5,,"))
      << first;
  EXPECT_NE(std::string::npos, first.find("2026-03-31,year-end,8810,70000,,2140,70000,,")) << first;
  EXPECT_EQ("account,debit,credit\r\n1110,300000,0\r\n1120,2700000,0\r\n3110,0,3000000\r\n",
            Exported("opening.csv"));
  EXPECT_TRUE(fs::exists(home() + "/host.ini"));
  EXPECT_TRUE(fs::exists(home() + "/books.db.bak")); // the second and third replaced books
}

TEST_F(BooksImportTest, BadInputIsRefusedWithFileLineAndColumnAndNothingIsWritten) {
  const std::string head =
      "entry,date,debit,debit_amount,debit_tax,credit,credit_amount,credit_tax,description\n";
  const std::string good = U8(u8"1,2025-04-05,現金,100,,売上高,100,,売上\n");
  struct Case {
    std::string journal;
    std::string expected;
  } const cases[] = {
      {good + U8(u8"2,2025-04-06,現金,\"110,000\",,売上高,\"100,000\",,売上\n"),
       "journal.csv:3: entry 2 does not balance: debits 110,000 yen, credits 100,000 yen"},
      {U8(u8"1,2026-04-01,現金,100,,売上高,100,,売上\n"),
       "journal.csv:2: date 2026-04-01 is outside the period 2025-04-01 to 2026-03-31"},
      {U8(u8"1,2025-02-30,現金,100,,売上高,100,,売上\n"),
       "journal.csv:2:2: date '2025-02-30' is not a calendar day"},
      {U8(u8"1,2025-04-05,普通貯金,100,,売上高,100,,売上\n"),
       U8(u8"journal.csv:2:3: unknown account '普通貯金' (closest known: 普通預金")},
      {U8(u8"1,2025-04-05,現金,\"1,00\",,売上高,100,,売上\n"),
       "journal.csv:2:4: amount '1,00': thousands separators must group three digits"},
      {U8(u8"1,2025-04-05,現金,1.23456,,売上高,100,,売上\n"),
       "journal.csv:2:4: amount '1.23456': more than four decimals"},
      {U8(u8"1,2025-04-05,現金,100000000000000,,売上高,100000000000000,,売上\n"),
       "journal.csv:2:4: amount '100000000000000': beyond the host's range"},
      {U8(u8"1,2025-04-05,現金,100,,売上高,100,,寿司🍣\n"),
       U8(u8"journal.csv:2:9: the description cannot be written in Shift_JIS: '🍣' (U+1F363)")},
      {U8(u8"1,2025-04-05,現金,100,,,,,\n"), "journal.csv:2: entry 1 does not balance"},
      {U8(u8"1,2025-04-05,,100,,売上高,100,,\n"),
       "journal.csv:2:4: an amount with no account on its side"},
      {U8(u8"1,2025-04-05,現金,1,000,,売上高,1000,,売上\n"),
       "journal.csv:2:10: the line has 10 fields, the header 9"},
  };
  for (const Case& c : cases) {
    std::string messages;
    EXPECT_EQ(ImportStatus::kRefused, Import(head + c.journal, &messages));
    EXPECT_NE(std::string::npos, messages.find(dir_.File(c.expected))) << messages;
    EXPECT_FALSE(fs::exists(home())) << c.expected;
  }
  // Opening balances are a balance sheet, whether journal lines or a file.
  std::string messages;
  EXPECT_EQ(ImportStatus::kRefused,
            Import(U8(u8"entry,date,slot,debit,debit_amount,credit,credit_amount\n"
                      u8"1,2025-04-01,opening,普通預金,20,,\n"),
                   &messages));
  EXPECT_NE(std::string::npos,
            messages.find("entry 1 does not balance: debits 20 yen, credits 0 yen"))
      << messages;
  EXPECT_EQ(ImportStatus::kRefused,
            Import(U8(u8"entry,date,slot,debit,debit_amount,credit,credit_amount\n"
                      u8"1,2025-04-01,opening,普通預金,20,,\n"
                      u8",2025-04-01,,,,売上高,20\n"),
                   &messages));
  EXPECT_NE(std::string::npos, messages.find("entry 1 mixes opening balances with lines of the year"))
      << messages;
  // Entry ids out of order are fine until one comes again.
  EXPECT_EQ(ImportStatus::kRefused,
            Import(U8(u8"entry,id,date,debit,debit_amount,credit,credit_amount\n"
                      u8"1,7,2025-04-05,現金,1,売上高,1\n2,3,2025-04-05,現金,1,売上高,1\n"
                      u8"3,5,2025-04-05,現金,1,売上高,1\n4,3,2025-04-05,現金,1,売上高,1\n"
                      u8"5,8,2025-04-05,現金,1,売上高,1\n6,7,2025-04-05,現金,1,売上高,1\n"),
                   &messages));
  EXPECT_NE(std::string::npos, messages.find("journal.csv:5: entry id 3 is given to an earlier"))
      << messages;
  EXPECT_NE(std::string::npos, messages.find("journal.csv:7: entry id 7 is given to an earlier"))
      << messages;
  EXPECT_EQ(std::string::npos, messages.find("entry id 5")) << messages;
  EXPECT_EQ(std::string::npos, messages.find("entry id 8")) << messages;
  opening_ = U8(u8"account,debit,credit\n現金,500,\n資本金,,400\n現金,1,\n");
  EXPECT_EQ(ImportStatus::kRefused, Import(head + good, &messages));
  EXPECT_NE(std::string::npos,
            messages.find(dir_.File(U8(u8"opening.csv:4:1: account '現金' already has an opening "
                                       u8"balance on line 2"))))
      << messages;
  EXPECT_NE(std::string::npos,
            messages.find(dir_.File("opening.csv: the opening balances do not balance: debits 500 "
                                    "yen, credits 400 yen")))
      << messages;
  opening_.clear();
  // The chart's own faults: a code given twice, a nature that is neither.
  EXPECT_EQ(ImportStatus::kRefused,
            Import(head + good, &messages,
                   U8(u8"code,name,nature,side\n1110,現金,流動資産,D\n1110,小口現金,流動資産,D\n"
                      u8"4110,売上高,売り上げ,C\n")));
  EXPECT_NE(std::string::npos,
            messages.find(dir_.File("chart.csv:3:1: code 1110 is already the account on line 2")))
      << messages;
  EXPECT_NE(std::string::npos, messages.find(dir_.File("chart.csv:4:3: nature '"))) << messages;
}

// Journals kept the Japanese way: each fault is one message that says what
// was expected, never followed by a balance message that its own fault made.
TEST_F(BooksImportTest, JapaneseJournalRefusalsAreOneMessageEach) {
  const std::string head =
      U8(u8"伝票番号,日付,借方勘定科目,借方補助科目,借方金額,借方税区分,借方税額,貸方勘定科目,"
         u8"貸方金額,貸方税区分,摘要\n");
  const std::string chart =
      U8(u8"科目コード,補助コード,勘定科目,科目区分,貸借\n1110,,現金,流動資産,借方\n"
         u8"1120,,普通預金,流動資産,借方\n1120,1,東都銀行,,\n4110,,売上高,売上高,貸方\n"
         u8"7110,,受取利息,営業外収益,貸方\n");
  struct Case {
    std::string journal;
    std::string expected;
  } const cases[] = {
      {U8(u8"1,2025-04-05,現金,,100,,,売上高,100,,売上\n"),
       "journal.csv:1: no header line: the first line must name the columns (entry ("},
      {U8(u8"伝票番号,日付,借方勘定科目,借方部門,貸方勘定課目 \n"),
       U8(u8"journal.csv:1:5: unknown column '貸方勘定課目' (closest known: 貸方勘定科目)\n")},
      {head + U8(u8"1,2025-04-05,現金,,12x円,,,売上高,12,,売上\n"),
       "journal.csv:2:5: amount '12x" },
      {head + U8(u8"1,2025-04-05,現金,,110,,,売上高,110,課税売上5%,売上\n"),
       U8(u8"journal.csv:2:10: tax category '課税売上5%' is not known (closest known: 課税売上10%, ")},
      {head + U8(u8"1,2025-04-05,普通預金,東都銀,110,,,売上高,110,,売上\n"),
       U8(u8"journal.csv:2:4: unknown sub-account '東都銀' of 普通預金 (closest known: 東都銀行; "
          u8"give --create-sub-accounts to add it)")},
      {U8(u8"伝票番号,日付,借方勘定科目,貸方勘定科目,金額,税区分,税計算区分\n"
          u8"1,2025-04-05,現金,売上高,110,課税売上10%,別記\n"),
       U8(u8"journal.csv:2:7: tax method '別記' is not 内税 (税込) or 外税 (税抜)")},
      {head + U8(u8"1,2025-04-05,現金,,100,課税仕入10%,110,売上高,100,,売上\n"),
       "journal.csv:2:7: the tax is larger than the amount that holds it"},
      {head + U8(u8"1,2025-04-05,普通預金,,12,,,受取利息,12,非課税売上,利息\n"
                 u8"2,2025-04-05,普通預金,,12,非課税仕入,1,受取利息,13,,利息\n"),
       "journal.csv:3:7: a tax on a line whose category bears none"},
  };
  for (const Case& c : cases) {
    std::string messages;
    EXPECT_EQ(ImportStatus::kRefused, Import(c.journal, &messages, chart));
    EXPECT_EQ(0u, messages.find(dir_.File(c.expected))) << messages;
    EXPECT_EQ(2, std::count(messages.begin(), messages.end(), '\n')) << messages;
  }
  std::string messages;
  EXPECT_EQ(ImportStatus::kRefused,
            Import(head + U8(u8"1,2025-04-05,現金,,12x,,,売上高,12,,売上\n"), &messages, chart));
  EXPECT_NE(std::string::npos, messages.find(kAmountForms)) << messages;
  // A missing company name comes with the journal's problems, not alone.
  ASSERT_TRUE(WriteTextFile(dir_.File("journal.csv"),
                            head + U8(u8"1,2025-04-05,現金,,1,,,売上高,2,,売上\n")));
  ImportOptions o;
  o.home = home();
  o.journal = dir_.File("journal.csv");
  std::string summary;
  EXPECT_EQ(ImportStatus::kRefused, ImportBooks(o, &summary, &messages));
  EXPECT_EQ("no company name: give --company NAME\n" + dir_.File("journal.csv") +
                ":2: entry 1 does not balance: debits 1 yen, credits 2 yen\nNothing was imported.\n",
            messages);
}

// Every file the import reads also takes Japanese headings.
TEST_F(BooksImportTest, SideFilesWithJapaneseHeadings) {
  ASSERT_TRUE(WriteTextFile(dir_.File("company.csv"),
                            U8(u8"項目,値\n会社名,株式会社山桜\n期首日,2025-04-01\n"
                               u8"期末日,2026-03-31\n税込経理,1\n")));
  ASSERT_TRUE(WriteTextFile(dir_.File("opening.csv"),
                            U8(u8"勘定科目,借方残高,貸方残高\n現金,\"１，０００\",\n資本金,,1000円\n")));
  ASSERT_TRUE(WriteTextFile(dir_.File("notes.csv"), U8(u8"種類,内容\n100,注記\n")));
  ASSERT_TRUE(WriteTextFile(dir_.File("chart.csv"),
                            U8(u8"科目コード,勘定科目,科目区分,貸借,行区分\n1110,現金,流動資産,借方,\n"
                               u8"3110,資本金,資本金,貸方,科目\n4110,売上高,売上高,貸方,\n")));
  ASSERT_TRUE(WriteTextFile(dir_.File("journal.csv"),
                            U8(u8"伝票No,取引日,借方科目,貸方科目,金額,税区分,摘要\n"
                               u8"1,2025-04-05,現金,売上高,1100,課税売上10%,売上\n")));
  ImportOptions o;
  o.home = home();
  o.journal = dir_.File("journal.csv");
  o.company = dir_.File("company.csv");
  o.opening = dir_.File("opening.csv");
  o.notes = dir_.File("notes.csv");
  o.chart = dir_.File("chart.csv");
  std::string summary, messages;
  ASSERT_EQ(ImportStatus::kImported, ImportBooks(o, &summary, &messages)) << messages;
  EXPECT_NE(std::string::npos, Exported("company.csv").find(U8(u8"company_name,株式会社山桜")));
  EXPECT_NE(std::string::npos, Exported("company.csv").find("tax_included,1"));
  EXPECT_EQ("account,debit,credit\r\n1110,1000,0\r\n3110,0,1000\r\n", Exported("opening.csv"));
  // One amount for both sides: the sales side without its tax.
  EXPECT_NE(std::string::npos,
            Exported("journal.csv").find("2025-04-05,,1110,1100,,4110,1000,100,"))
      << Exported("journal.csv");
  // Without entry numbers each line is an entry of its own.
  ASSERT_TRUE(WriteTextFile(dir_.File("journal.csv"),
                            U8(u8"日付,借方科目,貸方科目,金額\n2025-04-05,現金,売上高,100\n"
                               u8"2025-04-06,現金,売上高,200\n")));
  o.replace = true;
  ASSERT_EQ(ImportStatus::kImported, ImportBooks(o, &summary, &messages)) << messages;
  EXPECT_NE(std::string::npos, Exported("journal.csv").find("\r\n2,2,2025-04-06,,1110,200,"))
      << Exported("journal.csv");
}

TEST_F(BooksImportTest, CompanyFileProblemsNameTheFileAndLongNamesGetNoSlowSuggestion) {
  ASSERT_TRUE(WriteTextFile(dir_.File("journal.csv"),
                            "entry,date,debit,debit_amount,credit,credit_amount\n1,2025-04-05," +
                                std::string(40000, 'x') + U8(u8",1,売上高,1\n")));
  // Outside the assertion: its text is spelled out in CP932, which has no 🍣.
  const std::string company = U8(u8"field,value\ncompany_name,寿司🍣\n") +
                              "period_start,2025-04-01\nperiod_end,2027-03-31\n";
  ASSERT_TRUE(WriteTextFile(dir_.File("company.csv"), company));
  ImportOptions o;
  o.home = home();
  o.journal = dir_.File("journal.csv");
  o.company = dir_.File("company.csv");
  std::string summary, messages;
  EXPECT_EQ(ImportStatus::kRefused, ImportBooks(o, &summary, &messages));
  EXPECT_NE(std::string::npos,
            messages.find(dir_.File("company.csv:2:2: the company name cannot be written in Shift_JIS")))
      << messages;
  EXPECT_NE(std::string::npos,
            messages.find(dir_.File("company.csv:4:2: the period 2025-04-01 to 2027-03-31 is not one")))
      << messages;
  // A text far longer than any account name is compared with no name.
  EXPECT_EQ(ImportStatus::kRefused, Import(ReadTextFile(dir_.File("journal.csv")), &messages));
  // Quoted cut to 60 characters, whatever their length in bytes.
  EXPECT_NE(std::string::npos,
            messages.find("unknown account '" + std::string(60, 'x') + U8(u8"…'")))
      << messages.substr(0, 300);
  EXPECT_LT(messages.size(), 500u);
  EXPECT_EQ(std::string::npos, messages.find("closest known"));
  std::string name;
  for (int i = 0; i < 70; ++i) name += U8(u8"謎");
  EXPECT_EQ(ImportStatus::kRefused,
            Import("entry,date,debit,debit_amount,credit,credit_amount\n1,2025-04-05," + name +
                       U8(u8",1,売上高,1\n"),
                   &messages));
  EXPECT_NE(std::string::npos,
            messages.find("unknown account '" + name.substr(0, 60 * 3) + U8(u8"…'")))
      << messages;
}

// The report is Shift_JIS XML with CR LF lines and carries no control
// character in a text: a name that holds one is refused where it stands. In
// a description, line breaks and tabs are a spreadsheet cell's Alt+Enter:
// each run becomes one space and the import says on which lines.
TEST_F(BooksImportTest, ControlCharactersInNamesAreRefusedAndLineBreaksInDescriptionsBecomeSpaces) {
  const std::string head = "entry,date,debit,debit_amount,credit,credit_amount,description\n";
  std::string journal = head + "1,2025-04-05,1110,100,4110,100,\"a\r\n\r\nb\tc\"\n";
  for (int entry = 2; entry <= 7; ++entry)
    journal += std::to_string(entry) + ",2025-04-05,1110,100,4110,100,x\ty\n";
  std::string messages;
  ASSERT_EQ(ImportStatus::kImported, Import(journal, &messages)) << messages;
  EXPECT_NE(std::string::npos,
            summary_.find("Note: the descriptions of " + dir_.File("journal.csv") +
                          " lines 2, 5, 6, 7, 8 and 2 more held line breaks or tabs; each run of "
                          "them became one space.\n"))
      << summary_;
  EXPECT_NE(std::string::npos, Exported("journal.csv").find(",a b c\r\n"));
  EXPECT_NE(std::string::npos, Exported("journal.csv").find(",x y\r\n"));

  replace_ = true;
  create_sub_accounts_ = true;
  const std::string chart = U8(u8"code,sub,name,nature,side,line_type,members\n"
                               u8"1110,,現金,流動資産,D,,\n1120,,普通預金,流動資産,D,,\n"
                               u8"4110,,売上高,売上高,C,,\n");
  const std::string japanese = U8(u8"伝票番号,日付,借方勘定科目,借方補助科目,金額,貸方勘定科目,摘要\n");
  struct Case {
    std::string chart, journal, expected;
  } const cases[] = {
      {chart, head + "1,2025-04-05,1110,100,4110,100,\"a\x07" "b\"\n",
       "journal.csv:2:7: the description holds a control character, which the report cannot "
       "carry: U+0007"},
      {chart + U8(u8"5110,,\"仕入\t高\",売上原価,D,,\n"), head + "1,2025-04-05,1110,1,4110,1,\n",
       "chart.csv:5:3: the name holds a control character, which the report cannot carry: U+0009 "
       "(a tab)"},
      {chart + U8(u8"5110,,仕入高,売上原価,D,,売上原価\n"), head + "1,2025-04-05,1110,1,4110,1,\n",
       "chart.csv:5:7: members belong to a total or a computed item, and this row is an account"},
      {chart, japanese + U8(u8"1,2025-04-05,普通預金,\"東都\n銀行\",1,売上高,\n"),
       "journal.csv:2:4: the sub-account name holds a control character, which the report "
       "cannot carry: U+000A (a line break)"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(ImportStatus::kRefused, Import(c.journal, &messages, c.chart)) << c.expected;
    EXPECT_EQ(0u, messages.find(dir_.File(c.expected))) << messages;
  }
  // The company name, from the option, and the notes, whose lines end with
  // CR LF and hold nothing else of the kind.
  ASSERT_TRUE(WriteTextFile(dir_.File("journal.csv"), head + "1,2025-04-05,1110,1,4110,1,\n"));
  ASSERT_TRUE(WriteTextFile(dir_.File("notes.csv"),
                            "kind,text\n1000,\"<ID>1</ID>\r\n<Line>a</Line>\r\n\"\n"
                            "100,\"[Note_1]\nDisp=1\"\n"));
  ImportOptions o;
  o.home = home();
  o.journal = dir_.File("journal.csv");
  o.notes = dir_.File("notes.csv");
  o.company_name = "Two\nLines";
  o.replace = true;
  std::string summary;
  EXPECT_EQ(ImportStatus::kRefused, ImportBooks(o, &summary, &messages));
  EXPECT_EQ("the company name holds a control character, which the report cannot carry: U+000A "
            "(a line break)\n" +
                dir_.File("notes.csv") +
                ":5:2: the text holds a lone line break (U+000A), which the report cannot "
                "carry; the notes' lines end with CR LF\nNothing was imported.\n",
            messages);
}

TEST_F(BooksImportTest, HledgerPostingsThatReachNoAccountOrAreNotYenAreRefused) {
  const std::string header =
      "\"txnidx\",\"date\",\"date2\",\"status\",\"code\",\"description\",\"comment\","
      "\"account\",\"amount\",\"commodity\",\"credit\",\"debit\",\"posting-status\","
      "\"posting-comment\"\n";
  std::string messages;
  EXPECT_EQ(ImportStatus::kRefused,
            Import(header + U8(u8"\"1\",\"2025-04-01\",\"\",\"\",\"\",\"x\",\"\",\"assets:謎\","
                               u8"\"5\",\"USD\",\"\",\"5\",\"\",\"\"\n"
                               u8"\"1\",\"2025-04-01\",\"\",\"\",\"\",\"x\",\"\",\"資産:現金\",\"-"
                               u8"5\",\"¥\",\"5\",\"\",\"\",\"\"\n"),
                   &messages));
  EXPECT_NE(
      std::string::npos,
      messages.find(dir_.File(U8(u8"journal.csv:2:8: account 'assets:謎' is not in the map"))))
      << messages;
  EXPECT_NE(std::string::npos,
            messages.find(dir_.File("journal.csv:2:10: commodity 'USD' is not yen (yen is written "
                                    "as JPY")))
      << messages;
  EXPECT_EQ(2u, std::count(messages.begin(), messages.end(), '\n') - 1) << messages;
}

// An hledger entry of two postings is one line with both sides; a longer
// one keeps a line per posting. Export refuses to overwrite without asking.
TEST_F(BooksImportTest, HledgerEntriesBecomeLinesAndTheExportKeepsExistingFiles) {
  const std::string header = "txnidx,date,description,account,amount,commodity\n";
  std::string messages;
  ASSERT_EQ(ImportStatus::kImported,
            Import(header + U8(u8"1,2025-04-02,売上,資産:売掛金,1100,¥\n"
                               u8"1,2025-04-02,売上,収益:売上高,-1000,¥\n"
                               u8"1,2025-04-02,売上,負債:仮受消費税,-100,¥\n"
                               u8"2,2025-04-30,回収,資産:普通預金,1100,JPY\n"
                               u8"2,2025-04-30,回収,資産:売掛金,-1100,JPY\n"),
                   &messages))
      << messages;
  EXPECT_EQ(U8(u8"entry,id,date,slot,debit,debit_amount,debit_tax,credit,credit_amount,credit_tax,"
               u8"description\r\n"
               u8"1,1,2025-04-02,,1140,1100,,,,,売上\r\n"
               u8",,2025-04-02,,,,,4110,1000,,売上\r\n"
               u8",,2025-04-02,,,,,2190,100,,売上\r\n"
               u8"2,2,2025-04-30,,1120,1100,,1140,1100,,回収\r\n"),
            Exported("journal.csv"));
  ExportOptions o{home(), dir_.File("out"), 0, false};
  std::string summary, error;
  EXPECT_FALSE(ExportBooks(o, &summary, &error));
  EXPECT_NE(std::string::npos, error.find("company.csv already exists; give --replace")) << error;
}

TEST_F(BooksImportTest, HomeWithBooksIsRefusedUnlessReplacedAndTheOldBooksAreKept) {
  std::string messages;
  ASSERT_EQ(ImportStatus::kImported, Import(U8(kJournal), &messages)) << messages;
  const std::string before = ReadTextFile(home() + "/books.db");
  EXPECT_EQ(ImportStatus::kRefused, Import(U8(kJournal), &messages));
  EXPECT_NE(std::string::npos, messages.find("--replace")) << messages;
  EXPECT_EQ(before, ReadTextFile(home() + "/books.db"));
  replace_ = true;
  ASSERT_EQ(ImportStatus::kImported, Import(U8(kJournal), &messages)) << messages;
  EXPECT_EQ(before, ReadTextFile(home() + "/books.db.bak"));
}

// The shipped chart holds the sample's main accounts with their codes,
// natures and sides, so that journals written for it still import and give
// the statements the sample's books give; the accounts a small company adds
// come between them. With a schedule or without.
TEST(StandardChart, HoldsTheSampleChartsAccountsAndTotals) {
  for (bool manufacturing : {false, true}) {
    ImportProblems problems;
    CsvFile file;
    ASSERT_TRUE(CsvFile::Load(StandardChartPath(), TextEncoding::kAuto, &file, &problems))
        << problems.Text();
    ImportedChart chart;
    ASSERT_TRUE(ReadChartCsv(file, manufacturing, &chart, &problems)) << problems.Text();
    EXPECT_GE(chart.accounts.size(), manufacturing ? 210u : 180u);
    SampleOptions options;
    options.manufacturing = manufacturing;
    const SampleChart sample = BuildSampleChart(options);
    std::size_t at = 0; // the sample's accounts come in the same order
    for (const ChartAccount& want : sample.accounts) {
      if (want.code % 10000 != 0) continue;
      while (at < chart.accounts.size() && chart.accounts[at].code != want.code) ++at;
      ASSERT_LT(at, chart.accounts.size()) << want.code;
      const ChartAccount& got = chart.accounts[at];
      EXPECT_EQ(want.formal_name, got.formal_name) << want.code;
      EXPECT_EQ(want.statement_name, got.statement_name) << want.code;
      EXPECT_EQ(want.nature, got.nature) << want.code;
      EXPECT_EQ(want.line_type, got.line_type) << want.code;
      EXPECT_EQ(want.normal_side, got.normal_side) << want.code;
    }
    ASSERT_EQ(sample.members.size(), chart.members.size());
    for (std::size_t i = 0; i < sample.members.size(); ++i) {
      EXPECT_EQ(sample.members[i].total_code, chart.members[i].total_code);
      EXPECT_EQ(sample.members[i].mask, chart.members[i].mask);
    }
  }
}

// Keywords: category accounts get low numbers no other account holds,
// exact items their own code, sub-accounts their main account's.
TEST(StandardChart, NatureKeywordsOfAnOwnChart) {
  CsvFile file = CsvFile::FromText("chart.csv", U8(u8"code,sub,name,nature,side,line_type,members\n"
                                                   u8"1000,,流動資産合計,流動資産,,total,流動資産\n"
                                                   u8"1110,,現金,流動資産,,,\n"
                                                   u8"1120,,小口現金,0x80880002,D,,\n"
                                                   u8"1130,,普通預金,流動資産,,,\n"
                                                   u8"1130,1,東都銀行,,,,\n"
                                                   u8"1190,,仮払消費税,仮払消費税,,,\n"));
  ImportProblems problems;
  ImportedChart chart;
  ASSERT_TRUE(ReadChartCsv(file, false, &chart, &problems)) << problems.Text();
  ASSERT_EQ(6u, chart.accounts.size());
  EXPECT_EQ(0x80880000u, chart.accounts[0].nature);
  EXPECT_EQ(0x80880001u, chart.accounts[1].nature);
  EXPECT_EQ(0x80880003u, chart.accounts[3].nature); // 0x80880002 is taken
  EXPECT_EQ(0x80880003u, chart.accounts[4].nature);
  EXPECT_EQ(0x80880810u, chart.accounts[5].nature);
  EXPECT_EQ(1, chart.accounts[4].normal_side);
  ASSERT_EQ(1u, chart.members.size());
  EXPECT_EQ(0x80880000u, chart.members[0].mask);
}

// Each fault of a chart row is named by its line and column, in the
// row's order; a row whose code cannot stand is read no further, and a
// manufacturing row is left out for a company without the schedule.
TEST(StandardChart, EveryFaultOfAnOwnChartNamesItsLineAndColumn) {
  CsvFile file = CsvFile::FromText(
      "chart.csv", U8(u8"code,sub,name,statement_name,nature,side,line_type,members,"
                      u8"ledger_excluded,only\n"
                      u8"1110,,現金,,流動資産,,,,,\n"
                      u8"x12,,悪いコード,,流動資産,,,,,\n"
                      u8"1110,99999,補助,,,,,,,\n"
                      u8"1110,,,,流動資産,,,,,\n"
                      u8"1199,3,孤児,,,,,,,\n"
                      u8"1120,,種別違い,,流動資産,,subtotal,,,\n"
                      u8"1130,,区分なし,,,,,,,\n"
                      u8"1140,,区分違い,,売り上げ,X,,,c,\n"
                      u8"1170,,見出し,,,D,heading,流動資産,,\n"
                      u8"1180,,合計,,流動資産,,total,,,\n"
                      u8"1190,,計算,,流動資産,,computed,謎 0x1,,\n"
                      u8"5000,,製造,,材料費,,,,,manufacturing\n"
                      u8"5010,,製造2,,材料費,,,,,maybe\n"
                      u8"1110,1,補助,,,,,,,\n"
                      u8"1110,1,補助の重複,,,,,,,\n"));
  ImportProblems problems;
  ImportedChart chart;
  EXPECT_FALSE(ReadChartCsv(file, false, &chart, &problems));
  EXPECT_EQ(problems.Text(),
            U8(u8"chart.csv:3:1: code 'x12' is not a main code from 1 to 214747\n"
               u8"chart.csv:4:2: sub '99999' is not a sub-account number from 1 to 9999\n"
               u8"chart.csv:5:3: the account has no name\n"
               u8"chart.csv:5:1: code 1110 is already the account on line 2\n"
               u8"chart.csv:6:1: sub-account of main code 1199, which no line above defines\n"
               u8"chart.csv:7:7: line type 'subtotal' is not account, heading, total or computed\n"
               u8"chart.csv:8:5: the account has no nature code or keyword\n"
               u8"chart.csv:8:6: the account has no side (D or C)\n"
               u8"chart.csv:9:5: nature '売り上げ' is neither a code (0x80880001) nor a keyword "
               u8"such as 流動資産\n"
               u8"chart.csv:9:6: side 'X' is not D or C\n"
               u8"chart.csv:9:9: ledger_excluded 'c' is not a, b or ab\n"
               u8"chart.csv:10:8: members belong to a total or a computed item, and this row is "
               u8"a heading\n"
               u8"chart.csv:11:8: a total needs its members\n"
               u8"chart.csv:12:8: member '謎' is neither a code nor a keyword\n"
               u8"chart.csv:14:10: only 'maybe' is not empty or manufacturing\n"
               u8"chart.csv:16:2: code 1110-1 is already the account on line 15\n"));
  // The rows that stood, each with its record's line; the computed item
  // kept the member that was a code.
  EXPECT_EQ(chart.lines, (std::vector<long>{2, 7, 8, 9, 10, 11, 12, 15}));
  ASSERT_EQ(chart.members.size(), 1u);
  EXPECT_EQ(chart.members[0].mask, 1u);
}

} // namespace
} // namespace stmtlink

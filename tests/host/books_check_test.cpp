// The check of the books when they are opened: each kind of bad books file
// is refused with the file and the cause, and books locked by another
// writer are waited for.
#include "host/substitute/books_check.h"

#include <gtest/gtest.h>
#include <sqlite3.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <thread>

#include "tests/host/host_test_home.h"

namespace stmtlink {
namespace {

using testing::TestHome;

const char8_t kGoodRows[] =
    u8"INSERT INTO data_set (data_no, data_id, company_name, period_start, period_end)"
    u8" VALUES (1, 'D1', 'テスト', 20250401, 20260331);"
    u8"INSERT INTO era VALUES (20190501, '令和', 'R');";

class BooksCheckTest : public ::testing::Test {
 protected:
  std::string Books() const { return home_.dir() + "/books.db"; }
  void WriteFile(const std::string& bytes) {
    std::ofstream(Books(), std::ios::binary | std::ios::trunc) << bytes;
  }
  // The books made by the test's own schema (tables created without the
  // fixed schema's constraints), then sql.
  void WriteForeignBooks(const std::string& schema_and_rows) {
    sqlite3* db = nullptr;
    ASSERT_EQ(SQLITE_OK, sqlite3_open(Books().c_str(), &db));
    ASSERT_EQ(SQLITE_OK, sqlite3_exec(db, schema_and_rows.c_str(), nullptr, nullptr, nullptr))
        << sqlite3_errmsg(db);
    sqlite3_close(db);
  }
  std::string Refusal(int busy_ms = 100) {
    std::string error;
    if (CheckBooksFile(Books(), &error, busy_ms)) return "accepted";
    EXPECT_EQ(0u, error.find("the books file " + Books() + " ")) << error;
    return error.substr(error.find(Books()) + Books().size() + 1);
  }

  TestHome home_;
};

TEST_F(BooksCheckTest, FilesThatAreNoSoundDatabaseAreRefusedWithTheirCause) {
  home_.WriteBooks(kGoodRows);
  EXPECT_EQ("accepted", Refusal());
  const auto full_size = std::filesystem::file_size(Books());
  std::filesystem::resize_file(Books(), full_size / 2);
  EXPECT_EQ("is truncated: it has " + std::to_string(full_size / 2) + " bytes of the " +
                std::to_string(full_size) + " its header names",
            Refusal());

  WriteFile("");
  EXPECT_EQ("is empty (0 bytes), not an SQLite database", Refusal());
  WriteFile("<?xml version=\"1.0\"?><REPORT/>");
  EXPECT_EQ("is not an SQLite database", Refusal());
  WriteFile("SQLite for");
  EXPECT_EQ("is truncated: it has 10 bytes, less than an SQLite header", Refusal());

  std::filesystem::remove(Books());
  ASSERT_EQ(0, mkfifo(Books().c_str(), 0600));
  EXPECT_EQ("is not a regular file", Refusal()); // and does not wait for a writer
  std::filesystem::remove(Books());
  EXPECT_EQ("cannot be read: No such file or directory", Refusal());
}

TEST_F(BooksCheckTest, MissingTablesColumnsAndValuesOfTheWrongTypeAreNamed) {
  const std::string rest =
      "CREATE TABLE account (data_no, code, seq, formal_name, statement_name, nature, line_type,"
      " normal_side, ledger_excluded_a, ledger_excluded_b);"
      "CREATE TABLE total_member (data_no, total_code, member_mask);"
      "CREATE TABLE opening_balance (data_no, code, debit, credit);"
      "CREATE TABLE statement_setting (data_no, kind, text);";
  const std::string data_set =
      "CREATE TABLE data_set (data_no, data_id, company_name, period_start, period_end,"
      " keeps_mfg_schedule, interim_closing, introduction_month, company_law, tax_included);"
      "INSERT INTO data_set VALUES (1, 'D1', 'c', 20250401, 20260331, 0, 0, 0, 1, 0);";
  const std::string journal =
      "CREATE TABLE journal_line (data_no, entry_id, entry_no, line_no, date, slot, debit_code,"
      " debit_amount, debit_tax, credit_code, credit_amount, credit_tax, description);";
  const std::string era = "CREATE TABLE era (first_day, name, abbreviation);";

  WriteForeignBooks(rest);
  EXPECT_EQ("has no table data_set", Refusal());
  std::filesystem::remove(Books());
  WriteForeignBooks(rest + data_set + journal);
  EXPECT_EQ("has no table era", Refusal());
  std::filesystem::remove(Books());
  WriteForeignBooks(rest + data_set + era +
                    "CREATE TABLE journal_line (data_no, entry_id, entry_no, line_no, slot,"
                    " debit_code, debit_amount, debit_tax, credit_code, credit_amount, credit_tax);");
  EXPECT_EQ("has no column date in table journal_line", Refusal());

  std::filesystem::remove(Books());
  WriteForeignBooks(rest + data_set + journal + era +
                    "INSERT INTO opening_balance VALUES (1, 10000, 5, 0), (1, 20000, NULL, 0);");
  EXPECT_EQ("cannot be used: table opening_balance, row 2, column debit is NULL where an integer "
            "belongs",
            Refusal());
  WriteForeignBooks("DELETE FROM opening_balance;"
                    "INSERT INTO account VALUES (1, 10000, 1, 'cash', '', 0, 0, 'debit', 0, 0);");
  EXPECT_EQ("cannot be used: table account, row 1, column normal_side is of type text where an "
            "integer belongs",
            Refusal());
  WriteForeignBooks("DELETE FROM account;"
                    "INSERT INTO journal_line VALUES (1, 1, 1, 1, 20250401, 1, 10000, 1.5, 0, 0, 0,"
                    " 0, 'x'), (1, 2, 2, 1, 20250401, 1, 10000, 1, 0, 0, 0, 0, 7);");
  EXPECT_EQ("cannot be used: table journal_line, row 1, column debit_amount is of type real where "
            "an integer belongs",
            Refusal());
}

TEST_F(BooksCheckTest, BooksLockedByAnotherWriterAreWaitedForThenRefused) {
  home_.WriteBooks(kGoodRows);
  sqlite3* writer = nullptr;
  ASSERT_EQ(SQLITE_OK, sqlite3_open(Books().c_str(), &writer));
  ASSERT_EQ(SQLITE_OK, sqlite3_exec(writer, "BEGIN EXCLUSIVE", nullptr, nullptr, nullptr));
  EXPECT_EQ("is locked by another program (waited 100 ms for it)", Refusal(100));

  // A lock that goes within the wait is no refusal.
  std::thread release([writer] {
    usleep(300 * 1000);
    sqlite3_exec(writer, "COMMIT", nullptr, nullptr, nullptr);
  });
  EXPECT_EQ("accepted", Refusal(5000));
  release.join();
  sqlite3_close(writer);
}


TEST_F(BooksCheckTest, JournalLinesAndAccountsThatBreakTheBooksRulesAreNamed) {
  // One entry of two lines that balance (tax included), in the first month.
  const std::u8string entry =
      u8"DELETE FROM journal_line; INSERT INTO journal_line (data_no, entry_id, entry_no, line_no,"
      u8" date, slot, debit_code, debit_amount, debit_tax, credit_code, credit_amount, credit_tax,"
      u8" description) VALUES (1, 1, 1, 1, 20250415, 1, 10000, 1000, 100, 0, 0, 0, ''),"
      u8" (1, 1, 1, 2, 20250415, 1, 0, 0, 0, 20000, 1100, 0, '');";
  home_.WriteBooks(std::u8string(kGoodRows) + entry +
                   u8"INSERT INTO account (data_no, code, seq, formal_name, nature, normal_side)"
                   u8" VALUES (1, 10000, 1, '現金', 0, 1), (1, 20000, 2, '売上高', 0, 2);");
  ASSERT_EQ("accepted", Refusal());
  const auto refused = [&](const std::u8string& change) {
    home_.WriteBooks(entry + change);
    return Refusal();
  };
  const std::string line1 = "cannot be used: table journal_line, row 1, ";
  const std::string line2 = "cannot be used: table journal_line, row 2, ";
  // Texts the report cannot carry, and members on an ordinary account.
  EXPECT_EQ(line2 + "column description: holds the control character U+000A (line feed) at character 3, "
                    "which the report cannot carry",
            refused(u8"UPDATE journal_line SET description = '振替' || char(10) || 'x' WHERE line_no = 2;"));
  EXPECT_EQ("cannot be used: table account, row 1, column formal_name: holds the control character U+0001 "
            "at character 3, which the report cannot carry",
            refused(u8"UPDATE account SET formal_name = '現金' || char(1) WHERE code = 10000;"));
  EXPECT_EQ("cannot be used: table data_set, row 1, column company_name: holds the control character "
            "U+001B (escape) at character 1, which the report cannot carry",
            refused(u8"UPDATE account SET formal_name = '現金' WHERE code = 10000;"
                    u8"UPDATE data_set SET company_name = char(27) || 'x';"));
  EXPECT_EQ("cannot be used: table total_member, row 1, column total_code: 10000 is an ordinary account of "
            "data set 1, not a total row (line type 2) or a computed item (line type 3)",
            refused(u8"UPDATE data_set SET company_name = 'テスト';"
                    u8"INSERT INTO total_member VALUES (1, 10000, 2155872256);"));
  EXPECT_EQ("accepted", refused(u8"UPDATE account SET line_type = 2 WHERE code = 10000;"
                                u8"INSERT INTO total_member VALUES (1, 10000, 2155872256);"));
  EXPECT_EQ("cannot be used: table statement_setting, row 1, column text: holds the control character U+0007 "
            "at character 3, which the report cannot carry",
            refused(u8"UPDATE account SET line_type = 0 WHERE code = 10000; DELETE FROM total_member;"
                    u8"INSERT INTO statement_setting VALUES (1, 0, '注' || char(10) || char(7));"));
  EXPECT_EQ("accepted", refused(u8"UPDATE statement_setting SET text = '注' || char(13, 10, 9) || 'x';"));
  EXPECT_EQ("accepted", refused(u8"DELETE FROM statement_setting;"));

  EXPECT_EQ(line1 + "column date: 20250231 is not a date (yyyymmdd)",
            refused(u8"UPDATE journal_line SET date = 20250231, slot = 11;"));
  EXPECT_EQ(line1 + "column date: -5 is not a date (yyyymmdd)",
            refused(u8"UPDATE journal_line SET date = -5;"));
  EXPECT_EQ(line1 + "column date: 20270115 lies outside the period of data set 1 (20250401 to 20260331)",
            refused(u8"UPDATE journal_line SET date = 20270115, slot = 10;"));
  EXPECT_EQ(line2 + "column slot: 15 is none of 1 to 12 (month position), 13 (year-end adjustment) "
                    "and 14 (interim adjustment)",
            refused(u8"UPDATE journal_line SET slot = 15 WHERE line_no = 2;"));
  EXPECT_EQ(line1 + "column slot: 9 is not the month position of its date 20250515 (2)",
            refused(u8"UPDATE journal_line SET date = 20250515, slot = 9;"));
  EXPECT_EQ(line1 + "column slot: a year-end adjustment (13) dated 20251231, outside the period's "
                    "last month (month position 12)",
            refused(u8"UPDATE journal_line SET date = 20251231, slot = 13;"));
  EXPECT_EQ(line1 + "column slot: an interim adjustment (14) in data set 1, which keeps no interim closing",
            refused(u8"UPDATE journal_line SET date = 20250930, slot = 14;"));
  EXPECT_EQ(line1 + "column slot: an interim adjustment (14) dated 20250815, outside the sixth month "
                    "(month position 5)",
            refused(u8"UPDATE data_set SET interim_closing = 1;"
                    u8"UPDATE journal_line SET date = 20250815, slot = 14;"));
  EXPECT_EQ("accepted", refused(u8"UPDATE journal_line SET date = 20260331, slot = 13;"
                                u8"UPDATE data_set SET interim_closing = 0;"));
  // Months that close on the 20th: the 25th of April is in May's month.
  EXPECT_EQ("accepted", refused(u8"UPDATE data_set SET period_start = 20250421, period_end = 20260420;"
                                u8"UPDATE journal_line SET date = 20250425, slot = 1;"));
  EXPECT_EQ(line1 + "column slot: 2 is not the month position of its date 20250425 (1)",
            refused(u8"UPDATE journal_line SET date = 20250425, slot = 2;"));

  // The lines of an entry are summed wherever they stand in the table.
  EXPECT_EQ("cannot be used: table journal_line, row 1, column entry_id: entry 1 of data set 1 does "
            "not balance: its debits come to 0.11 yen and its credits to 0.1101 yen (tax included)",
            refused(u8"UPDATE data_set SET period_start = 20250401, period_end = 20260331;"
                    u8"UPDATE journal_line SET credit_tax = 1 WHERE line_no = 2;"));
  EXPECT_EQ("accepted",
            refused(u8"INSERT INTO journal_line VALUES (1, 2, 2, 1, 20250415, 1, 10000, 5, 0, 0, 0, 0, ''),"
                    u8" (1, 1, 1, 3, 20250415, 1, 0, 0, 0, 0, 0, 0, ''),"
                    u8" (1, 2, 2, 2, 20250415, 1, 0, 0, 0, 20000, 5, 0, '');"));

  // A journal whose rowids span far is read in two halves at once: an
  // entry split between them is summed whole, and the fault named is the
  // one of the lowest row, whichever half holds it.
  const std::u8string split = u8"UPDATE journal_line SET rowid = 900000 WHERE line_no = 2;";
  EXPECT_EQ("accepted", refused(split));
  EXPECT_EQ("cannot be used: table journal_line, row 1, column entry_id: entry 1 of data set 1 does "
            "not balance: its debits come to 0.11 yen and its credits to 0.1101 yen (tax included)",
            refused(split + u8"UPDATE journal_line SET credit_tax = 1 WHERE line_no = 2;"));
  EXPECT_EQ("cannot be used: table journal_line, row 900000, column slot: 2 is not the month position "
            "of its date 20250415 (1)",
            refused(split + u8"UPDATE journal_line SET slot = 2 WHERE line_no = 2;"));
  EXPECT_EQ(line1 + "column slot: 2 is not the month position of its date 20250415 (1)",
            refused(split + u8"UPDATE journal_line SET slot = 2;"));

  // Postings and opening balances to no account would drop out of the
  // statements; a sub-account the chart lacks goes to its main account.
  EXPECT_EQ(line2 + "column credit_code: 30000 names no account of data set 1",
            refused(u8"UPDATE journal_line SET credit_code = 30000 WHERE line_no = 2;"));
  EXPECT_EQ("accepted", refused(u8"UPDATE journal_line SET credit_code = 20007 WHERE line_no = 2;"));
  EXPECT_EQ("cannot be used: table opening_balance, row 1, column code: 40000 names no account of "
            "data set 1",
            refused(u8"INSERT INTO opening_balance VALUES (1, 40000, 5, 0);"));
  home_.WriteBooks(u8"DELETE FROM opening_balance;");

  // The ledger writes its dates in eras.
  EXPECT_EQ(line1 + "column date: 20250415 lies in no era of table era, whose first begins 20260101",
            refused(u8"UPDATE era SET first_day = 20260101;"));
  EXPECT_EQ(line1 + "column date: 20250415 lies in no era of table era, which is empty",
            refused(u8"DELETE FROM era;"));

  // Books written by another tool need not declare the account's key.
  WriteForeignBooks("DROP TABLE account; CREATE TABLE account (data_no, code, seq, formal_name,"
                    " statement_name, nature, line_type, normal_side, ledger_excluded_a,"
                    " ledger_excluded_b); INSERT INTO account VALUES"
                    " (1, 10000, 1, 'cash', '', 0, 0, 1, 0, 0), (1, 20000, 2, 'receivable', '', 0, 0, 1, 0, 0),"
                    " (2, 10000, 1, 'cash', '', 0, 0, 1, 0, 0), (1, 10000, 3, 'petty cash', '', 0, 0, 1, 0, 0);");
  EXPECT_EQ("cannot be used: table account, row 4, column code: code 10000 stands twice in data set 1 "
            "(rows 1 and 4)",
            Refusal());
}

TEST_F(BooksCheckTest, SampleBooksKeepEveryRule) {
  for (const char* options : {"--interim --manufacturing", "--balanced-compound 5 --tax-included"}) {
    std::filesystem::remove(Books());
    const std::string make = std::string(STMTLINK_BIN_DIR) + "/stmtlink-books sample --force --home " +
                             home_.dir() + " --entries 300 " + options + " >/dev/null";
    ASSERT_EQ(0, std::system(make.c_str()));
    EXPECT_EQ("accepted", Refusal()) << options;
  }
}

} // namespace
} // namespace stmtlink

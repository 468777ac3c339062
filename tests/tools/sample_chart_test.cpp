// What the sample generator writes: the chart, balanced books, scale
// options and repeatability.
#include <gtest/gtest.h>

#include <memory>
#include <set>
#include <string>

#include "host/substitute/books_db.h"
#include "tests/host/host_test_home.h"
#include "tools/books/sample_books.h"

namespace stmtlink {
namespace {

using testing::TestHome;

class SampleChartTest : public ::testing::Test {
 protected:
  void Write(SampleOptions options, const std::string& name = "home") {
    options.home = home.dir() + "/" + name;
    options.force = true;
    std::string error;
    ASSERT_EQ(SampleStatus::kWritten, WriteSampleHome(options, &error)) << error;
    ASSERT_TRUE(BooksDb::Open(options.home + "/books.db", BooksDb::Mode::kReadOnly, &db, &error));
  }
  std::int64_t Number(const std::string& sql) {
    BooksStatement q;
    std::string error;
    EXPECT_TRUE(db->Prepare(sql, &q, &error)) << error;
    EXPECT_EQ(BooksStatement::Step::kRow, q.Next(&error)) << sql;
    return q.Int64(0);
  }
  std::string Text(const std::string& sql) {
    BooksStatement q;
    std::string error;
    EXPECT_TRUE(db->Prepare(sql, &q, &error)) << error;
    EXPECT_EQ(BooksStatement::Step::kRow, q.Next(&error)) << sql;
    return q.Text(0);
  }
  std::set<std::uint32_t> Natures() {
    std::set<std::uint32_t> out;
    BooksStatement q;
    std::string error;
    EXPECT_TRUE(db->Prepare("SELECT nature FROM account", &q, &error));
    while (q.Next(&error) == BooksStatement::Step::kRow)
      out.insert(static_cast<std::uint32_t>(q.Int64(0)));
    return out;
  }
  // A digest of every posted figure, to compare two books.
  std::string Digest() {
    return Text("SELECT group_concat(x, ';') FROM (SELECT entry_id || ',' || line_no || ',' || date"
                " || ',' || slot || ',' || debit_code || ',' || debit_amount || ',' || debit_tax || ','"
                " || credit_code || ',' || credit_amount || ',' || credit_tax AS x FROM journal_line"
                " ORDER BY entry_id, line_no)") +
           Text("SELECT group_concat(code || ',' || debit || ',' || credit, ';') FROM "
                "(SELECT * FROM opening_balance ORDER BY code)");
  }

  TestHome home;
  std::shared_ptr<BooksDb> db;
};

TEST_F(SampleChartTest, BooksBalanceEntryByEntryAndAtTheOpening) {
  Write(SampleOptions());
  EXPECT_EQ(0, Number("SELECT SUM(debit) - SUM(credit) FROM opening_balance"));
  // Tax included on both sides, and without it (the tax then goes to the
  // two consumption-tax accounts, so the difference is the tax alone).
  EXPECT_EQ(0, Number("SELECT COUNT(*) FROM (SELECT entry_id FROM journal_line GROUP BY entry_id "
                      "HAVING SUM(debit_amount + debit_tax) <> SUM(credit_amount + credit_tax))"));
  EXPECT_GT(Number("SELECT COUNT(*) FROM journal_line WHERE debit_tax > 0"), 100);
  EXPECT_GT(Number("SELECT COUNT(*) FROM journal_line WHERE credit_tax > 0"), 100);
  // A year: every month, the year end, no interim adjustments by default.
  EXPECT_EQ(13, Number("SELECT COUNT(DISTINCT slot) FROM journal_line"));
  EXPECT_EQ(0, Number("SELECT COUNT(*) FROM journal_line WHERE slot = 14"));
  EXPECT_GE(Number("SELECT COUNT(DISTINCT entry_id) FROM journal_line"), 1200);
  // Compound entries: several accounts on one side, lines that do not
  // balance on their own.
  EXPECT_GT(Number("SELECT COUNT(*) FROM (SELECT entry_id FROM journal_line GROUP BY entry_id "
                   "HAVING COUNT(*) > 1)"),
            12);
  // Every posted code is in the master.
  EXPECT_EQ(0, Number("SELECT COUNT(*) FROM journal_line j WHERE (debit_code <> 0 AND NOT EXISTS "
                      "(SELECT 1 FROM account a WHERE a.code = j.debit_code)) OR (credit_code <> 0 "
                      "AND NOT EXISTS (SELECT 1 FROM account a WHERE a.code = j.credit_code))"));
}

TEST_F(SampleChartTest, ChartHasEveryNatureTheStatementsLookFor) {
  Write(SampleOptions());
  const std::set<std::uint32_t> natures = Natures();
  for (std::uint32_t nature :
       {0x80800000u, 0x80880000u, 0x80840000u, 0x80848000u, 0x80844000u, 0x80842000u, 0x80820000u,
        0x80400000u, 0x80480000u, 0x80440000u, 0x80200000u, 0x80100000u, 0x40888000u, 0x40884000u,
        0x40880008u, 0x40882000u, 0x40880000u, 0x40848000u, 0x40844000u, 0x40800000u, 0x40480000u,
        0x40440000u, 0x40200080u, 0x40200040u, 0x80288000u, 0x80288040u, 0x80288020u, 0x80282080u,
        0x80282040u, 0x80281080u, 0x80281040u, 0x80281048u, 0x80280800u, 0x80248000u, 0x80244000u,
        0x80242000u, 0x80220000u, 0x80202010u, 0x40200020u, 0x80484010u, 0x80880810u})
    EXPECT_EQ(1u, natures.count(nature)) << std::hex << nature;
  // Both reserve kinds under one nature: 別途積立金 and another one.
  EXPECT_EQ(2, Number("SELECT COUNT(*) FROM account WHERE nature = 2150109248"));
  // Optional parts stay out unless asked for.
  EXPECT_EQ(0u, natures.count(0x20800000u));
  EXPECT_EQ(0u, natures.count(0x80840008u));
  EXPECT_EQ(1, Number("SELECT COUNT(*) FROM account WHERE nature = 2156134400")); // the total alone
  // Sub-accounts, headings, totals with members.
  EXPECT_GT(Number("SELECT COUNT(*) FROM account WHERE code % 10000 <> 0"), 5);
  EXPECT_GT(Number("SELECT COUNT(*) FROM account WHERE line_type = 1"), 0);
  EXPECT_EQ(0, Number("SELECT COUNT(*) FROM account a WHERE line_type = 2 AND NOT EXISTS "
                      "(SELECT 1 FROM total_member t WHERE t.total_code = a.code)"));
}

TEST_F(SampleChartTest, OptionsAddManufacturingInterimAndUnclassifiedAccounts) {
  SampleOptions options;
  options.manufacturing = true;
  options.interim = true;
  options.unclassified = true;
  Write(options);
  const std::set<std::uint32_t> natures = Natures();
  for (std::uint32_t nature : {0x20800000u, 0x20400000u, 0x20200000u, 0x20080000u, 0x20108000u,
                               0x20100008u, 0x20102000u, 0x40884200u, 0x80840008u, 0x80840004u})
    EXPECT_EQ(1u, natures.count(nature)) << std::hex << nature;
  // The unclassified accounts come after the noncurrent-asset total.
  EXPECT_EQ(0, Number("SELECT COUNT(*) FROM account WHERE nature IN (2156134400, 2156134408, "
                      "2156134404) AND line_type = 0 AND seq < (SELECT seq FROM account WHERE "
                      "nature = 2156134400 AND line_type = 2)"));
  EXPECT_EQ(1, Number("SELECT keeps_mfg_schedule FROM data_set"));
  EXPECT_EQ(1, Number("SELECT interim_closing FROM data_set"));
  EXPECT_GT(Number("SELECT COUNT(*) FROM journal_line WHERE slot = 14"), 0);
}

TEST_F(SampleChartTest, ScaleOptions) {
  SampleOptions options;
  options.accounts = 1000;
  options.lines = 30000;
  Write(options);
  EXPECT_EQ(1000, Number("SELECT COUNT(*) FROM account"));
  EXPECT_GE(Number("SELECT COUNT(*) FROM journal_line"), 30000);
  EXPECT_LT(Number("SELECT COUNT(*) FROM journal_line"), 30000 + 100);
  // The entries are spread over the year, not heaped on its last month.
  EXPECT_LT(Number("SELECT COUNT(*) FROM journal_line WHERE slot = 12"), 30000 / 6);
  // The extra accounts are posted to.
  EXPECT_GT(Number("SELECT COUNT(DISTINCT debit_code) FROM journal_line"), 500);
}

TEST_F(SampleChartTest, SameSeedSameBooksOtherSeedOtherBooks) {
  SampleOptions options;
  options.seed = 42;
  Write(options, "a");
  const std::string first = Digest();
  Write(options, "b");
  EXPECT_EQ(first, Digest());
  options.seed = 43;
  Write(options, "c");
  EXPECT_NE(first, Digest());
}

} // namespace
} // namespace stmtlink

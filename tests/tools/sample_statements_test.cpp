// The sample books through the aggregation: they balance, and every figure
// agrees with sums over the journal computed here, independently of the
// substitute's own code.
#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "aggregate/statement_aggregator.h"
#include "app/month_conditions.h"
#include "host/substitute/books_db.h"
#include "host/substitute/substitute_control.h"
#include "platform/host_home.h"
#include "tests/aggregate/aggregator_books.h"
#include "tests/host/host_test_home.h"
#include "tools/books/sample_books.h"

namespace stmtlink {
namespace {

using testing::TestHome;
using testing::Utf8;

struct SampleAccount {
  std::int64_t code;
  std::uint32_t nature;
  int line_type;
  int side;
};

// Debit and credit totals per main code, from one SQL query.
using Sums = std::map<std::int64_t, std::pair<std::int64_t, std::int64_t>>;

class SampleStatements : public ::testing::Test {
 protected:
  void Write(const SampleOptions& base) {
    SampleOptions options = base;
    options.home = home.dir() + "/sample";
    std::string error;
    ASSERT_EQ(SampleStatus::kWritten, WriteSampleHome(options, &error)) << error;
    SetHostHome(options.home);
    ResetHostSubstitute();
    ASSERT_TRUE(BooksDb::Open(options.home + "/books.db", BooksDb::Mode::kReadOnly, &db, &error));
    BooksStatement q;
    ASSERT_TRUE(db->Prepare("SELECT code, nature, line_type, normal_side FROM account "
                            "WHERE data_no = 1 AND code % 10000 = 0",
                            &q, &error));
    while (q.Next(&error) == BooksStatement::Step::kRow)
      accounts[q.Int64(0)] = {q.Int64(0), static_cast<std::uint32_t>(q.Int64(1)),
                              static_cast<int>(q.Int64(2)), static_cast<int>(q.Int64(3))};
    ASSERT_TRUE(db->Prepare("SELECT total_code, member_mask FROM total_member", &q, &error));
    while (q.Next(&error) == BooksStatement::Step::kRow)
      masks[q.Int64(0)].push_back(static_cast<std::uint32_t>(q.Int64(1)));
    data = testing::SelectedData();
    ASSERT_EQ(1, data.dataNo);
  }

  // Runs the aggregation for calendar months from..to.
  std::map<std::int32_t, const AccountLine*> Aggregate(int from, int to, int tax_method) {
    lines.Clear();
    MonthConditions conditions;
    EXPECT_TRUE(BuildMonthConditions(&conditions, &data, from, to).ok());
    StatementAggregator aggregator;
    aggregator.lines = &lines;
    EXPECT_TRUE(aggregator.aggregate(tax_method, conditions.entries, &data).ok());
    return testing::ByCode(lines);
  }

  std::int64_t CodeOfNature(std::uint32_t nature) {
    for (const auto& [code, a] : accounts)
      if (a.nature == nature && a.line_type == 0) return code;
    return 0;
  }

  // Sums per main account over the given slots ("0" is the opening balance
  // table), in amount set 1 or 2, straight from the journal.
  Sums SumSlots(const std::string& slots, int set) {
    const std::string tax = set == 2 ? " + debit_tax" : "";
    const std::string ctax = set == 2 ? " + credit_tax" : "";
    const std::string in = " AND slot IN (" + slots + ")";
    std::string sql =
        "SELECT main, SUM(d), SUM(c) FROM ("
        " SELECT debit_code / 10000 * 10000 AS main, debit_amount" + tax + " AS d, 0 AS c"
        "  FROM journal_line WHERE data_no = 1 AND debit_code <> 0" + in +
        " UNION ALL SELECT credit_code / 10000 * 10000, 0, credit_amount" + ctax +
        "  FROM journal_line WHERE data_no = 1 AND credit_code <> 0" + in;
    if (set == 1)
      sql += " UNION ALL SELECT " + std::to_string(CodeOfNature(0x80880810)) +
             ", debit_tax, 0 FROM journal_line WHERE data_no = 1 AND debit_code <> 0" + in +
             " UNION ALL SELECT " + std::to_string(CodeOfNature(0x80484010)) +
             ", 0, credit_tax FROM journal_line WHERE data_no = 1 AND credit_code <> 0" + in;
    if (slots.find('0') == 0)
      sql += " UNION ALL SELECT code / 10000 * 10000, debit, credit FROM opening_balance"
             " WHERE data_no = 1";
    sql += ") GROUP BY main";
    Sums out;
    BooksStatement q;
    std::string error;
    EXPECT_TRUE(db->Prepare(sql, &q, &error)) << error;
    while (q.Next(&error) == BooksStatement::Step::kRow) out[q.Int64(0)] = {q.Int64(1), q.Int64(2)};
    return out;
  }

  std::int64_t Balance(const Sums& sums, const SampleAccount& a) {
    auto it = sums.find(a.code);
    if (it == sums.end()) return 0;
    return a.side == 1 ? it->second.first - it->second.second
                       : it->second.second - it->second.first;
  }

  bool IsMember(std::int64_t total, const SampleAccount& a) {
    if (a.code == total || (a.line_type != 0 && a.line_type != 3)) return false;
    for (std::uint32_t mask : masks[total])
      if ((a.nature & mask) == mask) return true;
    return false;
  }

  // The balance of an account, on its own side, from independent sums: its
  // own postings plus, for a computed row, its members' (recursively).
  std::int64_t Expected(const SampleAccount& a, const Sums& sums) {
    std::int64_t sum = Balance(sums, a);
    if (masks.count(a.code) == 0) return sum;
    for (const auto& [member_code, m] : accounts)
      if (IsMember(a.code, m)) sum += m.side == a.side ? Expected(m, sums) : -Expected(m, sums);
    return sum;
  }

  // Checks every line against the journal (balance-sheet rows cumulative
  // from the opening, the others over the period's slots), and that every
  // total equals its own postings plus its members' lines when they are of
  // its own statement.
  void CrossCheck(int from, int to, const std::string& bs_slots, const std::string& pl_slots,
                  int set) {
    SCOPED_TRACE("months " + std::to_string(from) + "-" + std::to_string(to) + ", set " +
                 std::to_string(set));
    auto lines_by_code = Aggregate(from, to, set == 2 ? 1 : 0);
    const Sums bs = SumSlots(bs_slots, set), pl = SumSlots(pl_slots, set);
    int checked = 0, totals = 0;
    for (const auto& [code, a] : accounts) {
      const auto key = static_cast<std::int32_t>(code);
      if (a.line_type == 1) {
        EXPECT_EQ(0u, lines_by_code.count(key));
        continue;
      }
      ASSERT_EQ(1u, lines_by_code.count(key)) << code;
      const AccountLine& line = *lines_by_code[key];
      const bool balance_sheet = a.nature & 0x80000000u;
      EXPECT_EQ(Expected(a, balance_sheet ? bs : pl), line.closing) << code;
      ++checked;
      if (masks.count(code) == 0) continue;
      std::int64_t sum = Balance(balance_sheet ? bs : pl, a);
      bool same_statement = true;
      for (const auto& [member_code, m] : accounts) {
        if (!IsMember(code, m)) continue;
        same_statement = same_statement && ((m.nature & 0x80000000u) != 0) == balance_sheet;
        const AccountLine& member = *lines_by_code[static_cast<std::int32_t>(member_code)];
        sum += m.side == a.side ? member.closing : -member.closing;
      }
      if (!same_statement) continue; // retained earnings: a year of the income statement
      EXPECT_EQ(sum, line.closing) << "total " << code;
      ++totals;
    }
    EXPECT_GT(checked, 80);
    EXPECT_GT(totals, 20);
    // The balance sheet balances.
    const AccountLine* assets = FindNature(0x80800000);
    const AccountLine* claims = FindNature(0x80100000);
    ASSERT_TRUE(assets && claims);
    EXPECT_EQ(assets->closing, claims->closing);
    EXPECT_GT(assets->closing, 0);
  }

  const AccountLine* FindNature(std::uint32_t nature) {
    for (const auto& line : lines)
      if (static_cast<std::uint32_t>(line->nature) == nature) return line.get();
    return nullptr;
  }

  TestHome home;
  std::shared_ptr<BooksDb> db;
  std::map<std::int64_t, SampleAccount> accounts;
  std::map<std::int64_t, std::vector<std::uint32_t>> masks;
  StDATAINFO data{};
  AccountLineList lines;
};

TEST_F(SampleStatements, WholeYearAndMidYearAgreeWithTheJournalInBothSets) {
  SampleOptions options;
  options.seed = 11;
  Write(options);
  for (int set : {1, 2}) {
    // April to March: openings are slot 0; the year end is included.
    CrossCheck(4, 3, "0,1,2,3,4,5,6,7,8,9,10,11,12,13", "0,1,2,3,4,5,6,7,8,9,10,11,12,13", set);
    // October to March: the income statement from month position 7 on.
    CrossCheck(10, 3, "0,1,2,3,4,5,6,7,8,9,10,11,12,13", "7,8,9,10,11,12,13", set);
    // July to December, without any adjustment period.
    CrossCheck(7, 12, "0,1,2,3,4,5,6,7,8,9", "4,5,6,7,8,9", set);
  }
}

TEST_F(SampleStatements, ManufacturingInterimAndUnclassifiedBooksBalanceToo) {
  SampleOptions options;
  options.seed = 3;
  options.manufacturing = true;
  options.interim = true;
  options.unclassified = true;
  options.accounts = 300;
  options.entries = 2000;
  Write(options);
  ASSERT_EQ(1, data.interimClosing);
  for (int set : {1, 2}) {
    // The whole year takes the interim adjustments only in a run that ends
    // with the sixth month.
    CrossCheck(4, 3, "0,1,2,3,4,5,6,7,8,9,10,11,12,13", "0,1,2,3,4,5,6,7,8,9,10,11,12,13", set);
    // April to September: the interim adjustments, not the year end.
    CrossCheck(4, 9, "0,1,2,3,4,5,6,14", "0,1,2,3,4,5,6,14", set);
    // The interim settles the half year's consumption tax (kept apart from
    // the amounts, as the first set keeps it).
    if (set == 1) {
      EXPECT_EQ(0, FindNature(0x80880810)->closing);
      EXPECT_EQ(0, FindNature(0x80484010)->closing);
    }
  }
}

// The books a company would show: the year's consumption tax moved from
// 仮受消費税 and 仮払消費税 to 未払消費税等 (received on sales less paid,
// summed here from the journal's tax columns), deposits and cash above zero
// at every quarter end, and notes whose per-share figures are the year's.
TEST_F(SampleStatements, YearEndSettlesTaxKeepsCashAndNotesAgree) {
  struct Case {
    std::uint32_t seed, entries;
    bool tax_included;
    const char8_t* per_share; // the note on the year's result
  };
  for (const Case& c : {Case{11, 1200, false, u8"1株当たり当期純利益"},
                        Case{5, 60, false, u8"1株当たり当期純損失"},
                        Case{2, 1200, true, u8"1株当たり当期純利益"}}) {
    SCOPED_TRACE("seed " + std::to_string(c.seed));
    SampleOptions options;
    options.seed = c.seed;
    options.entries = c.entries;
    options.tax_included = c.tax_included;
    options.force = true;
    accounts.clear();
    masks.clear();
    Write(options);
    const int set = c.tax_included ? 2 : 1;
    for (int to : {6, 9, 12, 3}) {
      Aggregate(4, to, set == 2 ? 1 : 0);
      for (std::uint32_t cash : {0x80880001u, 0x80880002u})
        EXPECT_GE(FindNature(cash)->closing, 0) << "month " << to << std::hex << " " << cash;
    }
    Aggregate(4, 3, set == 2 ? 1 : 0);
    std::int64_t received = 0, paid = 0;
    BooksStatement q;
    std::string error;
    ASSERT_TRUE(db->Prepare("SELECT SUM(credit_tax), SUM(debit_tax) FROM journal_line "
                            "WHERE data_no = 1 AND slot BETWEEN 1 AND 13", &q, &error));
    ASSERT_EQ(BooksStatement::Step::kRow, q.Next(&error));
    received = q.Int64(0);
    paid = q.Int64(1);
    // Owed (未払消費税等) or, in the short year that paid more, due back
    // (未収消費税等); with tax included, nothing on any of them.
    const std::int64_t owed = c.tax_included ? 0 : received - paid;
    EXPECT_EQ(0, FindNature(0x80880810)->closing);
    EXPECT_EQ(0, FindNature(0x80484010)->closing);
    EXPECT_EQ(std::max<std::int64_t>(owed, 0), FindNature(0x80480009)->closing);
    EXPECT_EQ(std::max<std::int64_t>(-owed, 0), FindNature(0x80880019)->closing);
    EXPECT_EQ(c.entries < 100, owed < 0);

    // 200 shares less 8 of its own: the year's result per share, in sen.
    const std::int64_t net_income = FindNature(0x40200040)->closing;
    EXPECT_EQ(c.entries < 100, net_income < 0);
    const std::int64_t sen = ((net_income < 0 ? -net_income : net_income) / 192 + 50) / 100;
    ASSERT_TRUE(db->Prepare("SELECT text FROM statement_setting WHERE kind = 1000", &q, &error));
    ASSERT_EQ(BooksStatement::Step::kRow, q.Next(&error));
    const std::string notes = q.Text(0);
    std::string yen = std::to_string(sen / 100);
    for (int at = static_cast<int>(yen.size()) - 3; at > 0; at -= 3)
      yen.insert(static_cast<std::size_t>(at), ",");
    const std::string cents = (sen % 100 < 10 ? "0" : "") + std::to_string(sen % 100);
    EXPECT_NE(std::string::npos, notes.find(Utf8(c.per_share) + Utf8(u8"　") + yen + Utf8(u8"円") +
                                            cents + Utf8(u8"銭")))
        << notes;
    EXPECT_NE(std::string::npos, notes.find(Utf8(c.tax_included ? u8"税込方式によっております。"
                                                                : u8"税抜方式によっております。")));
  }
}

} // namespace
} // namespace stmtlink

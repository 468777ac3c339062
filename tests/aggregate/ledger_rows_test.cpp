// Which journal lines become ledger rows, in which order, and whose name
// the counter account carries, on hand-made books of a company with an
// interim closing: the host's rows (never the interim adjustments, year-end
// adjustments after the same day's ordinary lines, the entry's one opposite
// account named where a line leaves that side empty).
#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

#include "aggregate/ledger_line.h"
#include "aggregate/statement_aggregator.h"
#include "app/month_conditions.h"
#include "tests/aggregate/aggregator_books.h"
#include "tests/host/host_test_home.h"

namespace stmtlink {
namespace {

constexpr std::int32_t kLedgerCash = 1110000, kBuildings = 1310000, kVehicles = 1320000,
                       kTools = 1330000, kDepreciation = 6190000, kTravel = 6140000;

const char8_t kLedgerRowsBooks[] = u8R"(
INSERT INTO data_set (data_no, data_id, company_name, period_start, period_end, interim_closing)
  VALUES (1, 'D0000001', '株式会社中間', 20250401, 20260331, 1);
INSERT INTO account (data_no, code, seq, formal_name, nature, line_type, normal_side) VALUES
  (1, 1110000, 1, '現金', 2156396545, 0, 1),
  (1, 1120000, 2, '普通預金', 2156396545, 0, 1),
  (1, 1310000, 3, '建物', 2156134401, 0, 1),
  (1, 1320000, 4, '車両運搬具', 2156134401, 0, 1),
  (1, 1330000, 5, '工具器具備品', 2156134401, 0, 1),
  (1, 6140000, 6, '旅費交通費', 1082662912, 0, 1),
  (1, 6160000, 7, '消耗品費', 1082662912, 0, 1),
  (1, 6190000, 8, '減価償却費', 1082662912, 0, 1);
INSERT INTO opening_balance (data_no, code, debit, credit) VALUES
  (1, 1110000, 10000000, 0), (1, 1310000, 100000000, 0), (1, 1320000, 50000000, 0),
  (1, 1330000, 30000000, 0);
INSERT INTO journal_line (data_no, entry_id, entry_no, line_no, date, slot, debit_code,
  debit_amount, credit_code, credit_amount) VALUES
  -- the same day: entry number first, then the identifier
  (1, 1, 5, 1, 20250410, 1, 6140000, 1000000, 1110000, 1000000),
  (1, 8, 5, 1, 20250410, 1, 6140000, 20000, 1110000, 20000),
  (1, 9, 4, 1, 20250410, 1, 6140000, 30000, 1110000, 30000),
  -- the interim depreciation: never a ledger row
  (1, 2, 2, 1, 20250930, 14, 6190000, 3000000, 1310000, 3000000),
  -- two debits and two credits, every line one-sided: 諸口 everywhere
  (1, 3, 3, 1, 20250520, 2, 6140000, 500000, 0, 0),
  (1, 3, 3, 2, 20250520, 2, 6160000, 300000, 0, 0),
  (1, 3, 3, 3, 20250520, 2, 0, 0, 1110000, 600000),
  (1, 3, 3, 4, 20250520, 2, 0, 0, 1120000, 200000),
  -- the year-end depreciation on the last day: one debit, three credits
  (1, 4, 9, 1, 20260331, 13, 6190000, 18000000, 1310000, 10000000),
  (1, 4, 9, 2, 20260331, 13, 0, 0, 1320000, 5000000),
  (1, 4, 9, 3, 20260331, 13, 0, 0, 1330000, 3000000),
  -- the last day: an ordinary line numbered after a year-end adjustment
  (1, 5, 10, 1, 20260331, 12, 6140000, 200000, 1110000, 200000),
  (1, 6, 8, 1, 20260331, 13, 6160000, 50000, 1110000, 50000);
INSERT INTO era VALUES (20190501, '令和', 'R');
)";

class LedgerRowsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    home_.WriteHostIni(u8"[User]\nCurrentUserID=USER01\nSelectedNo1=0\nSelectedNo2=1\n");
    home_.WriteBooks(kLedgerRowsBooks);
    data_ = testing::SelectedData();
  }
  // Months from..to with the ledger on (tax excluded).
  void Aggregate(int from, int to) {
    MonthConditions conditions;
    ASSERT_TRUE(BuildMonthConditions(&conditions, &data_, from, to).ok());
    StatementAggregator aggregator;
    aggregator.lines = &lines_;
    aggregator.ledgerLines = &ledger_;
    aggregator.ledgerEnabled = 1;
    ASSERT_TRUE(aggregator.aggregate(0, conditions.entries, &data_).ok());
  }
  std::vector<LedgerLine> RowsOf(std::int32_t code) const {
    std::vector<LedgerLine> rows;
    for (const LedgerLine& line : ledger_)
      if (line.code == code) rows.push_back(line);
    return rows;
  }

  testing::TestHome home_;
  StDATAINFO data_{};
  AccountLineList lines_;
  LedgerLineList ledger_;
};

TEST_F(LedgerRowsTest, InterimAdjustmentsAreNeverRowsAndTheFullYearEndsAtTheClosing) {
  Aggregate(4, 3);
  for (const LedgerLine& line : ledger_) EXPECT_NE(2, line.entryNo) << line.code;
  std::map<std::int32_t, std::int64_t> last;
  for (const LedgerLine& line : ledger_) last[line.code] = line.balance;
  int checked = 0;
  for (const auto& account : lines_) {
    if (!last.count(account->code)) continue;
    EXPECT_EQ(account->closing, last[account->code]) << account->code;
    ++checked;
  }
  EXPECT_EQ(8, checked);
  EXPECT_EQ(90000000, last[kBuildings]); // 10,000 yen less the year-end 1,000

  // Months 4 to 9 reach the interim closing: its adjustment is in the
  // statements but, as the host gives it, not in the ledger.
  ledger_.Clear();
  lines_.Clear();
  Aggregate(4, 9);
  for (const LedgerLine& line : ledger_) {
    EXPECT_NE(2, line.entryNo) << line.code;
    EXPECT_STRNE("令和7年9月30日", line.dateText);
  }
  EXPECT_TRUE(RowsOf(kBuildings).empty());
  EXPECT_EQ(97000000, testing::ByCode(lines_).at(kBuildings)->closing);
}

TEST_F(LedgerRowsTest, RowsComeByDateMonthPositionEntryNumberAndIdentifier) {
  Aggregate(4, 3);
  std::vector<std::int32_t> numbers;
  for (const LedgerLine& row : RowsOf(kLedgerCash)) numbers.push_back(row.entryNo);
  // 4 (id 9), 5 (id 1), 5 (id 8); entry 3; on the last day the ordinary
  // line 10 before the year-end adjustment 8.
  EXPECT_EQ((std::vector<std::int32_t>{4, 5, 5, 3, 10, 8}), numbers);
  // The running balance follows that order: opening 1,000 yen less 3 yen.
  EXPECT_EQ(9970000, RowsOf(kLedgerCash)[0].balance);
}

TEST_F(LedgerRowsTest, CounterAccountsOfOneToManyAndManyToManyEntries) {
  Aggregate(4, 3);
  // One debit against three credits: each credit line names the single
  // debit account, although only the first line carries it; the debit
  // account sees several and says 諸口.
  for (std::int32_t code : {kBuildings, kVehicles, kTools}) {
    const std::vector<LedgerLine> rows = RowsOf(code);
    ASSERT_EQ(1u, rows.size()) << code;
    EXPECT_STREQ("減価償却費", rows[0].counterAccountName) << code;
  }
  const std::vector<LedgerLine> depreciation = RowsOf(kDepreciation);
  ASSERT_EQ(1u, depreciation.size());
  EXPECT_STREQ("諸口", depreciation[0].counterAccountName);
  EXPECT_EQ(18000000, depreciation[0].amount);
  EXPECT_EQ(-5000000, RowsOf(kVehicles)[0].amount); // the row's own amounts

  // Two debits and two credits on one-sided lines: no single account to
  // name, 諸口 on both sides.
  int many = 0;
  for (const LedgerLine& row : RowsOf(kTravel)) {
    if (row.entryNo != 3) continue;
    EXPECT_STREQ("諸口", row.counterAccountName);
    ++many;
  }
  EXPECT_EQ(1, many);
  EXPECT_STREQ("諸口", RowsOf(kLedgerCash)[3].counterAccountName);
}

} // namespace
} // namespace stmtlink

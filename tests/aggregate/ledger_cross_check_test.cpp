// The general ledger of the sample books agrees with the statements: over
// the whole year, each account's last running balance is its closing
// balance, for both tax methods; and the ledger holds every case of
// counterpart the sample books make.
#include <gtest/gtest.h>

#include <map>

#include "aggregate/ledger_line.h"
#include "aggregate/statement_aggregator.h"
#include "app/month_conditions.h"
#include "host/substitute_control.h"
#include "platform/host_home.h"
#include "tests/aggregate/aggregator_books.h"
#include "tests/host/host_test_home.h"
#include "tools/books/sample_books.h"

namespace stmtlink {
namespace {

class LedgerCrossCheck : public ::testing::TestWithParam<int> {
 protected:
  void SetUp() override {
    SampleOptions options;
    options.home = home_.dir() + "/sample";
    options.entries = 300;
    options.tax_included = GetParam() == 1;
    std::string error;
    ASSERT_EQ(SampleStatus::kWritten, WriteSampleHome(options, &error)) << error;
    SetHostHome(options.home);
    ResetHostSubstitute();
    data_ = testing::SelectedData();
  }

  testing::TestHome home_;
  StDATAINFO data_{};
};

TEST_P(LedgerCrossCheck, LastRunningBalanceIsTheClosingBalance) {
  AccountLineList lines;
  LedgerLineList ledger;
  MonthConditions conditions;
  BuildMonthConditions(&conditions, &data_, 4, 3);
  StatementAggregator aggregator;
  aggregator.lines = &lines;
  aggregator.ledgerLines = &ledger;
  aggregator.ledgerEnabled = 1;
  ASSERT_EQ(1, aggregator.aggregate(GetParam(), conditions.entries, &data_));
  ASSERT_FALSE(ledger.empty());

  std::map<std::int32_t, const LedgerLine*> last;
  std::map<std::int32_t, int> rows;
  bool sundries = false;
  bool sub_accounts = false;
  std::size_t named = 0;
  for (const auto& row : ledger) {
    last[row->code] = row.get();
    ++rows[row->code];
    sundries = sundries || std::string(row->counterAccountName) == "諸口";
    sub_accounts = sub_accounts || row->subAccountName[0] != '\0' || row->counterSubAccountName[0] != '\0';
    // A counter account is named unless the line has no account on the
    // other side (a one-sided line of a compound entry, looked up as code 0).
    if (row->counterAccountName[0] != '\0') ++named;
    EXPECT_NE('\0', row->dateText[0]) << row->code; // every row has its era date
  }
  EXPECT_TRUE(sundries);
  EXPECT_TRUE(sub_accounts);
  EXPECT_GT(named * 10, ledger.size() * 9) << named << " of " << ledger.size();

  int checked = 0;
  for (const auto& line : lines) {
    if (line->lineType != 0) {
      EXPECT_EQ(0u, last.count(line->code)) << "no ledger for totals: " << line->code;
      continue;
    }
    auto it = last.find(line->code);
    if (it == last.end()) {
      EXPECT_EQ(line->opening, line->closing) << line->code;
      continue;
    }
    EXPECT_EQ(line->closing, it->second->balance) << "account " << line->code / 10000;
    ++checked;
  }
  EXPECT_GT(checked, 20);
}

INSTANTIATE_TEST_SUITE_P(BothTaxMethods, LedgerCrossCheck, ::testing::Values(0, 1));

} // namespace
} // namespace stmtlink

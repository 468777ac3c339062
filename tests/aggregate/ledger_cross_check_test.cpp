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
#include "tools/books/sample_chart.h"

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

  // The whole year with the ledger on, into lines_ and ledger_.
  void AggregateYear() {
    ASSERT_EQ(1, testing::AggregateYearWithLedger(data_, GetParam(), &lines_, &ledger_));
    ASSERT_FALSE(ledger_.empty());
  }

  testing::TestHome home_;
  StDATAINFO data_{};
  AccountLineList lines_;
  LedgerLineList ledger_;
};

TEST_P(LedgerCrossCheck, LastRunningBalanceIsTheClosingBalance) {
  ASSERT_NO_FATAL_FAILURE(AggregateYear());
  const LedgerLineList& ledger = ledger_;
  const AccountLineList& lines = lines_;

  std::map<std::int32_t, LedgerLine> last;
  std::map<std::int32_t, int> rows;
  bool sundries = false;
  bool sub_accounts = false;
  std::size_t named = 0;
  for (const LedgerLine& row : ledger) {
    last[row.code] = row;
    ++rows[row.code];
    sundries = sundries || std::string(row.counterAccountName) == "諸口";
    sub_accounts = sub_accounts || row.subAccountName[0] != '\0' || row.counterSubAccountName[0] != '\0';
    // A counter account is named unless the line has no account on the
    // other side (a one-sided line of a compound entry, looked up as code 0).
    if (row.counterAccountName[0] != '\0') ++named;
    EXPECT_NE('\0', row.dateText[0]) << row.code; // every row has its era date
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
    const bool excluded = line->code == chart::Stored(chart::kLedgerExcludedA) ||
                          line->code == chart::Stored(chart::kLedgerExcludedB);
    if (it == last.end()) {
      // Only an account kept out of the ledger may move without rows.
      if (!excluded) {
        EXPECT_EQ(line->opening, line->closing) << line->code;
      }
      continue;
    }
    EXPECT_EQ(line->closing, it->second.balance) << "account " << line->code / 10000;
    ++checked;
  }
  EXPECT_GT(checked, 20);
}

// The sample's monthly settlements: a balanced line after an unbalanced one
// is 諸口 (the journal scan), a line of an entry whose earlier lines balance
// names its counter account; the accounts kept out of the ledger by either
// flag have no rows although the statements move them.
TEST_P(LedgerCrossCheck, CompoundEntriesAndExcludedAccounts) {
  ASSERT_NO_FATAL_FAILURE(AggregateYear());
  const std::int64_t supplies = chart::Stored(chart::kSupplies);
  const std::int64_t cash = chart::Stored(chart::kCash);
  int scanned = 0, balanced = 0;
  for (const LedgerLine& row : ledger_) {
    EXPECT_NE(chart::Stored(chart::kLedgerExcludedA), row.code);
    EXPECT_NE(chart::Stored(chart::kLedgerExcludedB), row.code);
    const std::string description = row.description;
    if (description == "立替経費精算" && row.code == supplies) {
      EXPECT_STREQ("諸口", row.counterAccountName);
      ++scanned;
    }
    if (description == "仮払精算" && row.code == cash) {
      EXPECT_STREQ("前払費用", row.counterAccountName);
      ++balanced;
    }
  }
  EXPECT_EQ(12, scanned);
  EXPECT_EQ(12, balanced);
  int excluded_moving = 0;
  for (const auto& line : lines_) {
    if (line->code == chart::Stored(chart::kLedgerExcludedA) ||
        line->code == chart::Stored(chart::kLedgerExcludedB))
      excluded_moving += line->closing != line->opening;
  }
  EXPECT_EQ(2, excluded_moving);
}

INSTANTIATE_TEST_SUITE_P(BothTaxMethods, LedgerCrossCheck, ::testing::Values(0, 1));

} // namespace
} // namespace stmtlink

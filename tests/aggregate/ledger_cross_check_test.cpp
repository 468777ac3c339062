// The general ledger of the sample books agrees with the statements: over
// the whole year, each account's last running balance is its closing
// balance, for both tax methods, with and without an interim closing (whose
// adjustments are never ledger rows) and balanced 0x22 entries; and the
// ledger holds every case of counterpart the sample books make.
#include <gtest/gtest.h>

#include <map>
#include <tuple>

#include "aggregate/ledger_line.h"
#include "aggregate/statement_aggregator.h"
#include "app/month_conditions.h"
#include "host/substitute/substitute_control.h"
#include "platform/host_home.h"
#include "tests/aggregate/aggregator_books.h"
#include "tests/host/host_test_home.h"
#include "tools/books/sample_books.h"
#include "tools/books/sample_chart.h"

namespace stmtlink {
namespace {

// (tax method, interim closing with 5% later lines of balanced 0x22 entries;
// tax excluded with the interim closing on 60,000 lines)
class LedgerCrossCheck : public ::testing::TestWithParam<std::tuple<int, bool>> {
 protected:
  void SetUp() override {
    SampleOptions options;
    options.home = home_.dir() + "/sample";
    options.entries = 300;
    // One journal large enough to be read in two halves at once.
    if (TaxMethod() == 0 && std::get<1>(GetParam())) options.lines = 60000;
    options.tax_included = TaxMethod() == 1;
    options.interim = std::get<1>(GetParam());
    options.balanced_compound_percent = options.interim ? 5 : 0;
    std::string error;
    ASSERT_EQ(SampleStatus::kWritten, WriteSampleHome(options, &error)) << error;
    SetHostHome(options.home);
    ResetHostSubstitute();
    // Millions of host calls that no one reads back: not recorded, as in
    // the program (the journal is most of the time under the sanitizers).
    SetHostCallJournal(false);
    data_ = testing::SelectedData();
  }
  void TearDown() override { SetHostCallJournal(true); }

  int TaxMethod() const { return std::get<0>(GetParam()); }
  // The whole year with the ledger on, into lines_ and ledger_.
  void AggregateYear() {
    ASSERT_TRUE(testing::AggregateYearWithLedger(data_, TaxMethod(), &lines_, &ledger_).ok());
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
    // A counter account is named (or 諸口) on every row: a one-sided line
    // of a compound entry names the entry's one account on the other side.
    if (row.counterAccountName[0] != '\0') ++named;
    EXPECT_NE('\0', row.dateText[0]) << row.code; // every row has its era date
  }
  EXPECT_TRUE(sundries);
  EXPECT_TRUE(sub_accounts);
  EXPECT_EQ(ledger.size(), named);

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
  int scanned = 0, balanced = 0, balanced_compound = 0;
  for (const LedgerLine& row : ledger_) {
    EXPECT_NE(chart::Stored(chart::kLedgerExcludedA), row.code);
    EXPECT_NE(chart::Stored(chart::kLedgerExcludedB), row.code);
    const std::string description = row.description;
    if (description == "立替経費精算" && row.code == supplies) {
      EXPECT_STREQ("諸口", row.counterAccountName);
      ++scanned;
    }
    // The generator's balanced two-by-two entries: every line looked up,
    // the later ones after reading the entry.
    if (description == "経費精算") {
      EXPECT_STRNE("諸口", row.counterAccountName) << row.code;
      ++balanced_compound;
    }
    if (description == "仮払精算" && row.code == cash) {
      EXPECT_STREQ("前払費用", row.counterAccountName);
      ++balanced;
    }
  }
  EXPECT_EQ(12, scanned);
  EXPECT_EQ(12, balanced);
  EXPECT_EQ(std::get<1>(GetParam()), balanced_compound > 0);
  int excluded_moving = 0;
  for (const auto& line : lines_) {
    if (line->code == chart::Stored(chart::kLedgerExcludedA) ||
        line->code == chart::Stored(chart::kLedgerExcludedB))
      excluded_moving += line->closing != line->opening;
  }
  EXPECT_EQ(2, excluded_moving);
}

INSTANTIATE_TEST_SUITE_P(BothTaxMethods, LedgerCrossCheck,
                         ::testing::Combine(::testing::Values(0, 1), ::testing::Bool()));

} // namespace
} // namespace stmtlink

// The aggregation driver against hand-built books.
#include "aggregate/statement_aggregator.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <iterator>
#include <vector>

#include "app/progress_dialog.h"
#include "host/substitute/substitute_control.h"
#include "tests/aggregate/aggregator_books.h"
#include "tests/support/recording_progress_window.h"

namespace stmtlink {
namespace {

using namespace testing;

class AggregatorTest : public ::testing::Test {
 protected:
  void Books(int introduction_month = 0, int interim = 0, const std::string& extra = "") {
    WriteAggregatorBooks(home, introduction_month, interim, extra);
    data = SelectedData();
    ASSERT_EQ(1, data.dataNo);
    ASSERT_TRUE(progress.Create());
    progress.ResetMainBar();
    aggregator.progressWindow = &progress;
    aggregator.lines = &lines;
  }
  // 1 when the aggregation succeeded; its failure in `failure`.
  int Run(int from, int to, int tax_method = 0) {
    EXPECT_TRUE(BuildMonthConditions(&conditions, &data, from, to).ok());
    failure = aggregator.aggregate(tax_method, conditions.entries, &data);
    return failure.ok() ? 1 : 0;
  }
  const AccountLine& Line(std::int32_t code) {
    auto lines_by_code = ByCode(lines);
    static const AccountLine kNone{};
    auto it = lines_by_code.find(code);
    if (it == lines_by_code.end()) {
      ADD_FAILURE() << "no line " << code;
      return kNone;
    }
    return *it->second;
  }
  std::vector<std::int32_t> Codes() const {
    std::vector<std::int32_t> codes;
    for (const auto& line : lines) codes.push_back(line->code);
    return codes;
  }

  TestHome home;
  StDATAINFO data{};
  MonthConditions conditions{};
  RecordingProgressWindow port;
  ProgressDialog progress{0, &port};
  AccountLineList lines;
  StatementAggregator aggregator;
  RunFailure failure;
};

TEST_F(AggregatorTest, WholeYearFromTheFirstMonth) {
  Books();
  ASSERT_EQ(1, Run(4, 3));
  // One line per row in master order; the heading gives none.
  EXPECT_EQ((std::vector<std::int32_t>{kCash, kPayable, kCarried, kSales, kTarget1, kTarget2}),
            Codes());
  const AccountLine& cash = Line(kCash);
  EXPECT_EQ(1, cash.opening); // slot 0 alone
  EXPECT_EQ(Slots(1, 13), cash.change);
  EXPECT_EQ(Slots(0, 13), cash.closing); // months 1-12 and the year end, not the interim slot
  EXPECT_STREQ("現金", cash.formalName);
  EXPECT_STREQ("現金預金", cash.statementName);
  EXPECT_EQ(static_cast<std::int32_t>(0x80880001u), cash.nature);
  EXPECT_EQ(0, cash.lineType);
  // Income statement: opening is slot 0 too.
  EXPECT_EQ(1, Line(kSales).opening);
  EXPECT_EQ(Slots(0, 13), Line(kSales).closing);
  // No carry from the first month.
  EXPECT_EQ(7, Line(kTarget2).closing);
  EXPECT_EQ(1000, Line(kCarried).opening);
  EXPECT_EQ(1100, Line(kCarried).closing);
}

TEST_F(AggregatorTest, CreditAccountWithMoreDebitsGoesNegative) {
  Books();
  ASSERT_EQ(1, Run(4, 3));
  EXPECT_EQ(10, Line(kPayable).opening);
  EXPECT_EQ(-100, Line(kPayable).change);
  EXPECT_EQ(-90, Line(kPayable).closing);
}

TEST_F(AggregatorTest, MidYearStartCarriesTheNetAssetOpeningIntoTheLastTargetLine) {
  Books();
  ASSERT_EQ(1, Run(7, 3)); // position 4
  EXPECT_EQ(Slots(0, 3), Line(kCash).opening);
  EXPECT_EQ(Slots(0, 13), Line(kCash).closing);
  EXPECT_EQ(0, Line(kSales).opening);
  EXPECT_EQ(Slots(4, 13), Line(kSales).closing);
  EXPECT_EQ(1100, Line(kCarried).opening); // slots 0-3 of the net-assets account
  EXPECT_EQ(5, Line(kTarget1).closing);    // not the last such line
  EXPECT_EQ(7 + 1100, Line(kTarget2).closing);
  EXPECT_EQ(7, Line(kTarget2).change); // as computed before the carry
}

TEST_F(AggregatorTest, IntroductionMonthDecidesTheIncomeStatementOpening) {
  Books(5);
  ASSERT_EQ(1, Run(6, 3)); // position 3, before the books start
  EXPECT_EQ(1, Line(kSales).opening);
  EXPECT_EQ(7, Line(kTarget2).closing);

  lines.Clear();
  ASSERT_EQ(1, Run(9, 3)); // position 6, after
  EXPECT_EQ(0, Line(kSales).opening);
  EXPECT_EQ(1100, Line(kTarget2).closing); // the carry alone: slot 5 lies before the period
  EXPECT_EQ(0, Line(kTarget2).change);
}

TEST_F(AggregatorTest, OnlyAThirdEntryOf18AddsTheYearEnd) {
  Books(0, 1);
  // 15 as the third entry, 18 only as the fourth.
  ASSERT_TRUE(BuildMonthConditions(&conditions, &data, 4, 9).ok());
  conditions.entries[2].link = 2;
  conditions.entries[3] = conditions.entries[2];
  conditions.entries[3].value = 18;
  conditions.entries[3].link = 0;
  ASSERT_TRUE(aggregator.aggregate(0, conditions.entries, &data).ok());
  EXPECT_EQ(Slots(0, 6) + (1 << 14), Line(kCash).closing); // interim in, year end out
}

TEST_F(AggregatorTest, InterimSlotNeedsTheInterimClosingAndTheSixthMonth) {
  Books(0, 0);
  ASSERT_EQ(1, Run(4, 9));
  EXPECT_EQ(Slots(0, 6), Line(kCash).closing);
  lines.Clear();
  ASSERT_EQ(1, Run(4, 10)); // month 7
  EXPECT_EQ(Slots(0, 7), Line(kCash).closing);
}

TEST_F(AggregatorTest, TaxMethodChoosesTheAmountSet) {
  Books(0, 0,
        "INSERT INTO journal_line (data_no, entry_id, entry_no, line_no, date, slot, "
        "debit_code, debit_amount, debit_tax, credit_code, credit_amount, credit_tax) "
        "VALUES (1, 30, 30, 1, 20250410, 1, 11100000, 1000, 100, 41100000, 1000, 100);");
  ASSERT_EQ(1, Run(4, 3, 0));
  EXPECT_EQ(Slots(0, 13) + 1000, Line(kCash).closing);
  lines.Clear();
  ASSERT_EQ(1, Run(4, 3, 1));
  EXPECT_EQ(Slots(0, 13) + 1100, Line(kCash).closing);
  EXPECT_EQ(Slots(0, 13) + 1100, Line(kSales).closing);
}

TEST_F(AggregatorTest, HostCallsInOrderAndTheCursorIsDestroyedAfterSuccess) {
  Books();
  ClearHostCalls();
  ASSERT_EQ(1, Run(4, 3));
  EXPECT_FALSE(aggregator.HasSumCursor());
  std::vector<std::string> expected = {
      "ClDataMgr::GetSetMgr", "ClRuleKamoku::AttachSetMgr", "ClDataMgr::GetSetObject(5, 1)",
      "ClSetData::GetSelectedInfo", "ClRuleKamoku::SetCurDataID(D0000001)",
      "ClLinkMgr::GetOptLink", "ClRuleKamoku::AttachOptLink",
      "ClRuleKamoku::MoveReady(1, 0, 0, 1, 12, 0)", "ClRuleKamoku::GetSumCount",
      "ClRuleKamoku::SetMovePos(0)"};
  for (int i = 0; i < 7; ++i) expected.push_back("ClRuleKamoku::MoveNext");
  expected.push_back("ClRuleKamoku::MoveFinish");
  std::vector<std::string> calls;
  for (const std::string& call : HostCalls())
    if (call.rfind("ClAccPeriod", 0) != 0) calls.push_back(call); // the chain's own calls
  EXPECT_EQ(expected, calls);
}

TEST_F(AggregatorTest, ProgressWithoutTheLedgerEndsAtFiveThousand) {
  Books();
  ASSERT_EQ(1, Run(4, 3));
  EXPECT_DOUBLE_EQ(5000, aggregator.progressPosition);
  EXPECT_DOUBLE_EQ(7000 / 7, aggregator.progressStep);
  // advance(0,1000), (1000,3000), (3000,4000), (4000,5000); each names both ends.
  EXPECT_EQ(1001 + 2001 + 1001 + 1001, port.Count("Delta(1016,1)"));
  // One pulse per unit and one before each row read.
  EXPECT_EQ(5004 + 7, port.Count("Range(1017,0,5)"));
  EXPECT_EQ("集計中 50％", port.captions.back());
}

class LedgerRecorder : public StatementAggregator {
 public:
  std::vector<std::int32_t> codes;

 protected:
  RunFailure collectLedger(std::int32_t, const StDATAINFO*, const StFINDINFO*,
                           StKAMOKUSUMINFO row) override {
    codes.push_back(row.code);
    return fail_at == row.code ? RunFailure::HostRead("ClRuleMotocho::MoveNext", 9001, "総勘定元帳")
                               : RunFailure();
  }

 public:
  std::int32_t fail_at = -1;
};

TEST_F(AggregatorTest, LedgerModeCollectsEveryRowAndScalesTheProgress) {
  Books();
  LedgerRecorder ledger;
  ledger.progressWindow = &progress;
  ledger.lines = &lines;
  ledger.ledgerEnabled = 1;
  ASSERT_TRUE(BuildMonthConditions(&conditions, &data, 4, 3).ok());
  ASSERT_TRUE(ledger.aggregate(0, conditions.entries, &data).ok());
  // Every row, the heading too.
  EXPECT_EQ((std::vector<std::int32_t>{kHeading, kCash, kPayable, kCarried, kSales, kTarget1,
                                       kTarget2}),
            ledger.codes);
  EXPECT_EQ(6u, lines.size());
  // 400, then steps of 7000 / 7 = 1000 while below 7,000, then 1,000 more.
  EXPECT_DOUBLE_EQ(1000, ledger.progressStep);
  EXPECT_DOUBLE_EQ(400 + 7 * 1000 + 1000, ledger.progressPosition);

  // A ledger cut short at one account fails the whole aggregation there,
  // with the collection's failure.
  LedgerRecorder failing;
  failing.lines = &lines;
  failing.ledgerEnabled = 1;
  failing.fail_at = kSales;
  const RunFailure failed = failing.aggregate(0, conditions.entries, &data);
  EXPECT_EQ(RunFailure::Kind::kHostRead, failed.kind());
  EXPECT_EQ("ClRuleMotocho::MoveNext", failed.call());
  EXPECT_EQ(kSales, failing.codes.back());
}

TEST_F(AggregatorTest, NoRowsIsSuccessWithTheBarAtItsEnd) {
  WriteAggregatorBooks(home, 0, 0, "DELETE FROM account;");
  data = SelectedData();
  aggregator.lines = &lines;
  ASSERT_TRUE(BuildMonthConditions(&conditions, &data, 4, 3).ok());
  ASSERT_TRUE(aggregator.aggregate(0, conditions.entries, &data).ok());
  EXPECT_TRUE(lines.empty());
  EXPECT_DOUBLE_EQ(5000, aggregator.progressPosition);
  EXPECT_DOUBLE_EQ(1.0, aggregator.progressStep);

  StatementAggregator ledger;
  ledger.lines = &lines;
  ledger.ledgerEnabled = 1;
  ASSERT_TRUE(ledger.aggregate(0, conditions.entries, &data).ok());
  EXPECT_DOUBLE_EQ(1400, ledger.progressPosition);
}

TEST_F(AggregatorTest, CountOrPositionFailureReadsNothingAndKeepsTheCursor) {
  Books();
  for (const char* call : {"ClRuleKamoku::GetSumCount", "ClRuleKamoku::SetMovePos"}) {
    SCOPED_TRACE(call);
    StatementAggregator failing;
    failing.lines = &lines;
    InjectHostFailure(call, 77);
    ASSERT_TRUE(BuildMonthConditions(&conditions, &data, 4, 3).ok());
    const RunFailure failed = failing.aggregate(0, conditions.entries, &data);
    EXPECT_EQ(77, failed.code());
    EXPECT_EQ(call, failed.call());
    EXPECT_EQ("勘定科目の集計を読み込めませんでした（" + std::string(call) +
                  " がエラーコード 77 を返しました）。",
              failed.Text());
    EXPECT_TRUE(failing.HasSumCursor());
    EXPECT_TRUE(lines.empty());
    EXPECT_EQ(0u, std::count(HostCalls().begin(), HostCalls().end(), "ClRuleKamoku::MoveNext"));
    ClearHostFailures();
    ClearHostCalls();
  }
}

TEST_F(AggregatorTest, AFailedReadKeepsTheLinesBeforeItAndTheCursorIsReused) {
  Books();
  InjectHostFailure("ClRuleKamoku::MoveNext@4", 55);
  EXPECT_EQ(0, Run(4, 3));
  EXPECT_EQ(55, failure.code());
  EXPECT_EQ("ClRuleKamoku::MoveNext", failure.call());
  EXPECT_EQ((std::vector<std::int32_t>{kCash, kPayable}), Codes()); // heading, cash, payable read
  EXPECT_TRUE(aggregator.HasSumCursor());

  ClearHostFailures();
  ClearHostCalls();
  lines.Clear();
  ASSERT_EQ(1, Run(4, 3));
  EXPECT_EQ(6u, lines.size());
  EXPECT_EQ(0u, std::count(HostCalls().begin(), HostCalls().end(), "ClRuleKamoku::AttachSetMgr"));
  EXPECT_FALSE(aggregator.HasSumCursor());
}

TEST_F(AggregatorTest, AnOverflowFailsTheRunWithoutAPartialLine) {
  // 6 x 10^17 carried in and 5 x 10^17 in month 1: the closing reaches 10^18.
  Books(0, 0,
        "INSERT INTO account (data_no, code, seq, formal_name, nature, normal_side) VALUES "
        "(1, 11200000, 3, 'big', 2156396546, 1);"
        "INSERT INTO opening_balance (data_no, code, debit, credit) VALUES "
        "(1, 11200000, 600000000000000000, 0);"
        "INSERT INTO journal_line (data_no, entry_id, entry_no, line_no, date, slot, debit_code,"
        " debit_amount) VALUES (1, 40, 40, 1, 20250401, 1, 11200000, 500000000000000000);");
  EXPECT_EQ(0, Run(4, 3));
  EXPECT_EQ(RunFailure::Kind::kOverflow, failure.kind());
  EXPECT_EQ("", failure.Text());
  EXPECT_EQ((std::vector<std::int32_t>{kCash}), Codes());
  EXPECT_TRUE(aggregator.HasSumCursor());
}

TEST_F(AggregatorTest, EverySumOfTheStatementsAndTheLedgerIsChecked) {
  // Cash debited and credited 6 x 10^17 in months 1 and 2: its closing is
  // small, but the month sums reach 10^18.
  const std::string big_months =
      "INSERT INTO journal_line (data_no, entry_id, entry_no, line_no, date, slot, debit_code,"
      " debit_amount, credit_code, credit_amount) VALUES"
      " (1, 40, 40, 1, 20250401, 1, 11100000, 600000000000000000, 11100000, 600000000000000000),"
      " (1, 41, 41, 1, 20250501, 2, 11100000, 600000000000000000, 11100000, 600000000000000000);";
  Books(0, 0, big_months);
  EXPECT_EQ(0, Run(4, 3));
  EXPECT_EQ(RunFailure::Kind::kOverflow, failure.kind());

  // A line whose empty debit side holds the largest amount and a tax: only
  // the ledger adds them. A stored code near the 32-bit limit names no
  // account instead of overflowing.
  TestHome ledger_home;
  WriteAggregatorBooks(
      ledger_home, 0, 0,
      "INSERT INTO journal_line (data_no, entry_id, entry_no, line_no, date, slot, debit_code,"
      " debit_amount, debit_tax, credit_code, credit_amount) VALUES"
      " (1, 42, 42, 1, 20250401, 1, -2147480001, 5, 0, 11100000, 5),"
      " (1, 43, 43, 1, 20250402, 1, 0, 9223372036854775807, 1, 11100000, 1);");
  const StDATAINFO ledger_data = SelectedData();
  AccountLineList ledger_lines;
  LedgerLineList ledger;
  EXPECT_EQ(RunFailure::Kind::kOverflow,
            AggregateYearWithLedger(ledger_data, 0, &ledger_lines, &ledger).kind());
  ASSERT_FALSE(ledger.empty());
  // Rows come in date order, so the odd code's line (dated before the
  // overflowing one) was collected before the run failed.
  LedgerLine odd_code{};
  for (const LedgerLine line : ledger)
    if (line.entryNo == 42) odd_code = line;
  EXPECT_EQ(42, odd_code.entryNo);
  EXPECT_EQ(-5, odd_code.amount);
  EXPECT_STREQ("", odd_code.counterSubAccountName);
}

TEST_F(AggregatorTest, MissingInputsFailWithoutTouchingTheHost) {
  Books();
  ASSERT_TRUE(BuildMonthConditions(&conditions, &data, 4, 3).ok());
  ClearHostCalls();
  EXPECT_EQ(RunFailure::Kind::kNoInput, aggregator.aggregate(0, nullptr, &data).kind());
  EXPECT_EQ(RunFailure::Kind::kNoInput, aggregator.aggregate(0, conditions.entries, nullptr).kind());
  EXPECT_TRUE(HostCalls().empty());
}

TEST(AggregatorManyRows, EveryRowIsReadPastSixteenBits) {
  TestHome home;
  WriteAggregatorBooks(
      home, 0, 0,
      "DELETE FROM account;"
      "WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < 40000) "
      "INSERT INTO account (data_no, code, seq, formal_name, nature, normal_side) "
      "SELECT 1, i * 10000, i, 'A' || i, 2156396545, 1 FROM n;"
      "INSERT INTO opening_balance (data_no, code, debit) VALUES (1, 400000000, 12345);");
  StDATAINFO data = SelectedData();
  MonthConditions conditions;
  ASSERT_TRUE(BuildMonthConditions(&conditions, &data, 4, 3).ok());
  AccountLineList lines;
  StatementAggregator aggregator;
  aggregator.lines = &lines;
  ASSERT_TRUE(aggregator.aggregate(0, conditions.entries, &data).ok());
  ASSERT_EQ(40000u, lines.size());
  EXPECT_EQ(400000000, std::prev(lines.end())->get()->code);
  EXPECT_EQ(12345, std::prev(lines.end())->get()->closing);
  EXPECT_DOUBLE_EQ(0, aggregator.progressStep); // 7000 / 40000 in whole numbers
}

} // namespace
} // namespace stmtlink

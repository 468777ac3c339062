// The rules the check rests on: what truncation toward zero can explain,
// a whole business year, era dates, amounts as the report writes them.
#include <gtest/gtest.h>

#include "tools/report/era_date.h"
#include "tools/report/filing_warnings.h"
#include "tools/report/findings.h"
#include "tools/report/report_tree.h"

namespace stmtlink::report {
namespace {

TEST(TruncationRule, FollowsTheDirectionOfEachFigure) {
  TruncatedTerms three_positive;
  for (int i = 0; i < 3; ++i) three_positive.Add(100, 1);
  // A positive total of positive items is at most items - 1 yen above their sum, never below.
  EXPECT_TRUE(ExplainedByTruncation(302, 300, three_positive));
  EXPECT_FALSE(ExplainedByTruncation(303, 300, three_positive));
  EXPECT_FALSE(ExplainedByTruncation(299, 300, three_positive));
  // A deducted item moves the other way: 100.9 - 50.9 = 50 shown over 100 - 50.
  TruncatedTerms less;
  less.Add(100, 1);
  less.Add(50, -1);
  EXPECT_TRUE(ExplainedByTruncation(49, 50, less));
  // Negative totals truncate upward: -100.6 - 100.6 = -201.2 shows -201 over -200.
  TruncatedTerms negative;
  negative.Add(-100, 1);
  negative.Add(-100, 1);
  EXPECT_TRUE(ExplainedByTruncation(-201, -200, negative));
  EXPECT_FALSE(ExplainedByTruncation(-199, -200, negative));
  // Two figures shown from one amount must agree exactly.
  EXPECT_FALSE(ExplainedByTruncation(501, 500, TruncatedTerms{}));
}

TEST(ReportRules, WholeYearsEraDatesAndAmounts) {
  EXPECT_TRUE(IsWholeYear(20250401, 20260331));
  EXPECT_TRUE(IsWholeYear(20240101, 20241231));
  EXPECT_TRUE(IsWholeYear(20240229, 20250228));
  EXPECT_FALSE(IsWholeYear(20250401, 20251231));
  EXPECT_FALSE(IsWholeYear(20250401, 20260401));
  EXPECT_FALSE(IsWholeYear(20250431, 20260430));

  EXPECT_EQ("令和元年5月1日", EraDate(20190501));
  EXPECT_EQ("平成31年4月30日", EraDate(20190430));
  EXPECT_EQ("令和8年3月31日", EraDate(20260331));

  std::int64_t v = 0;
  EXPECT_TRUE(ParseAmount("-12345", &v));
  EXPECT_EQ(-12345, v);
  EXPECT_TRUE(ParseAmount("999999999999999999", &v));
  for (const char* bad : {"", "-", "1,000", " 1", "+1", "1.5", "1234567890123456789"})
    EXPECT_FALSE(ParseAmount(bad, &v)) << bad;
  EXPECT_EQ("△1,234,567", GroupedNumber(-1234567, "△"));
  EXPECT_EQ("0", GroupedNumber(0));
}

} // namespace
} // namespace stmtlink::report

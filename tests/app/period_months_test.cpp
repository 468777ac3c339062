#include <gtest/gtest.h>

#include "dialog/period_months.h"

namespace stmtlink {
namespace {

TEST(PeriodMonthsTest, PeriodCrossingTheCalendarYearGetsOneHundredAdded) {
  std::int16_t first = 0, last = 0;
  ASSERT_TRUE(GetPeriodMonths(20250401, 20260331, &first, &last).ok());
  EXPECT_EQ(4, first);
  EXPECT_EQ(103, last);
  ASSERT_TRUE(GetPeriodMonths(20250101, 20251231, &first, &last).ok());
  EXPECT_EQ(1, first);
  EXPECT_EQ(12, last);
}

TEST(PeriodMonthsTest, ClosingDayBeforeMonthEndMovesTheFirstMonth) {
  // Closing on the 20th: 21 April belongs to the May accounting month.
  std::int16_t first = 0, last = 0;
  ASSERT_TRUE(GetPeriodMonths(20250421, 20260420, &first, &last).ok());
  EXPECT_EQ(5, first);
  EXPECT_EQ(104, last);
  // 29 February in a leap year is a month end.
  ASSERT_TRUE(GetPeriodMonths(20230301, 20240229, &first, nullptr).ok());
  EXPECT_EQ(3, first);
}

TEST(PeriodMonthsTest, PositionsCountFromTheFirstMonth) {
  EXPECT_EQ(1, GetMonthPosition(4, 4));
  EXPECT_EQ(9, GetMonthPosition(4, 12));
  EXPECT_EQ(10, GetMonthPosition(4, 1));
  EXPECT_EQ(12, GetMonthPosition(4, 3));
  EXPECT_EQ(12, GetMonthPosition(1, 12));
}

} // namespace
} // namespace stmtlink

// The month chain built for the host's cursors.
#include "app/month_conditions.h"

#include <gtest/gtest.h>

#include <cstring>
#include <vector>

namespace stmtlink {
namespace {

StDATAINFO Period(std::int32_t start, std::int32_t end, std::int32_t interim = 0) {
  StDATAINFO data;
  std::memset(&data, 0, sizeof(data));
  data.periodStart = start;
  data.periodEnd = end;
  data.interimClosing = interim;
  return data;
}

// The chain as (operator, value, link) per entry up to the one with link 0;
// every entry is checked for field 17 and value type 2.
std::vector<std::vector<int>> Chain(const MonthConditions& c) {
  std::vector<std::vector<int>> out;
  for (const StFINDINFO& e : c.entries) {
    // Copies: the packed entries' fields cannot be bound to references.
    const int field = e.fieldId, type = e.valueType;
    EXPECT_EQ(17, field);
    EXPECT_EQ(2, type);
    out.push_back({e.op, e.value, e.link});
    if (e.link == 0) break;
  }
  return out;
}

MonthConditions Dirty() {
  MonthConditions c;
  std::memset(&c, 0x5A, sizeof(c));
  return c;
}

TEST(MonthConditions, WholeYearEndsWithTheYearEndPeriod) {
  const StDATAINFO data = Period(20250401, 20260331);
  MonthConditions c = Dirty();
  ASSERT_TRUE(BuildMonthConditions(&c, &data, 4, 3).ok());
  EXPECT_EQ((std::vector<std::vector<int>>{{4, 1, 1}, {6, 12, 2}, {1, 18, 0}}), Chain(c));
  // The rest of the buffer is zero: the old bytes are gone.
  MonthConditions zero;
  std::memset(&zero, 0, sizeof(zero));
  EXPECT_EQ(0, std::memcmp(&c.entries[3], &zero.entries[3], sizeof(StFINDINFO)));
}

TEST(MonthConditions, HalfYearOfAnInterimCompanyEndsWithTheInterimPeriod) {
  const StDATAINFO data = Period(20250401, 20260331, 1);
  MonthConditions c = Dirty();
  ASSERT_TRUE(BuildMonthConditions(&c, &data, 4, 9).ok());
  EXPECT_EQ((std::vector<std::vector<int>>{{4, 1, 1}, {6, 6, 2}, {1, 15, 0}}), Chain(c));
  // Without the interim closing the same months have no third entry.
  const StDATAINFO plain = Period(20250401, 20260331, 0);
  ASSERT_TRUE(BuildMonthConditions(&c, &plain, 4, 9).ok());
  EXPECT_EQ((std::vector<std::vector<int>>{{4, 1, 1}, {6, 6, 0}}), Chain(c));
}

TEST(MonthConditions, MonthsInsideTheYearHaveTwoEntries) {
  const StDATAINFO data = Period(20250401, 20260331, 1);
  MonthConditions c = Dirty();
  ASSERT_TRUE(BuildMonthConditions(&c, &data, 5, 8).ok());
  EXPECT_EQ((std::vector<std::vector<int>>{{4, 2, 1}, {6, 5, 0}}), Chain(c));
  const int third = c.entries[2].value;
  EXPECT_EQ(0, third);
}

TEST(MonthConditions, ASixMonthPeriodCanHaveBothAdjustmentPeriods) {
  // October to March: the sixth month is also the last one.
  const StDATAINFO data = Period(20251001, 20260331, 1);
  MonthConditions c = Dirty();
  ASSERT_TRUE(BuildMonthConditions(&c, &data, 10, 3).ok());
  EXPECT_EQ((std::vector<std::vector<int>>{{4, 1, 1}, {6, 6, 2}, {1, 15, 2}, {1, 18, 0}}),
            Chain(c));
}

TEST(MonthConditions, CalendarYearAndClosingDayPeriods) {
  const StDATAINFO calendar = Period(20250101, 20251231);
  MonthConditions c = Dirty();
  ASSERT_TRUE(BuildMonthConditions(&c, &calendar, 3, 12).ok());
  EXPECT_EQ((std::vector<std::vector<int>>{{4, 3, 1}, {6, 12, 2}, {1, 18, 0}}), Chain(c));
  // Closing on the 20th: the year's first accounting month is May.
  const StDATAINFO twentieth = Period(20250421, 20260420);
  ASSERT_TRUE(BuildMonthConditions(&c, &twentieth, 5, 4).ok());
  EXPECT_EQ((std::vector<std::vector<int>>{{4, 1, 1}, {6, 12, 2}, {1, 18, 0}}), Chain(c));
}

TEST(MonthConditions, NullPointersAreLeftAlone) {
  const StDATAINFO data = Period(20250401, 20260331);
  MonthConditions c = Dirty();
  const MonthConditions before = c;
  EXPECT_EQ(RunFailure::Kind::kNoInput, BuildMonthConditions(&c, nullptr, 4, 3).kind());
  EXPECT_EQ(0, std::memcmp(&c, &before, sizeof(c)));
  EXPECT_EQ(RunFailure::Kind::kNoInput, BuildMonthConditions(nullptr, &data, 4, 3).kind()); // no crash
}

} // namespace
} // namespace stmtlink

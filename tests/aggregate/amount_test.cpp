#include "aggregate/amount.h"

#include <gtest/gtest.h>

#include <limits>

namespace stmtlink {
namespace {

TEST(Amount, SplitsUnitsIntoSignYenAndFraction) {
  const Amount a = Amount::FromUnits(-123'456'789);
  EXPECT_EQ(-1, a.sign());
  EXPECT_EQ(12'345, a.integerPart());
  EXPECT_EQ(6'789u, a.fractionPart());
  EXPECT_EQ(-123'456'789, a.Units());
  EXPECT_EQ(1, Amount::FromUnits(0).sign());
  EXPECT_EQ(Amount(), Amount::FromUnits(0));
  const Amount yen = Amount::FromYen(-5);
  EXPECT_EQ(-50'000, yen.Units());
  EXPECT_EQ(0u, yen.fractionPart());
  // The extremes of 64 bits survive the split.
  for (std::int64_t v : {std::numeric_limits<std::int64_t>::min(),
                         std::numeric_limits<std::int64_t>::max()})
    EXPECT_EQ(v, Amount::FromUnits(v).Units());
}

TEST(Amount, CheckedAdditionStopsAtTenToTheEighteenth) {
  const Amount below = Amount::FromUnits(Amount::kLimit - 1);
  EXPECT_EQ(Amount::kLimit - 1, (below + Amount()).Units());
  EXPECT_THROW(below + Amount::FromUnits(1), AmountOverflow);
  EXPECT_THROW(Amount::FromUnits(-Amount::kLimit + 1) + Amount::FromUnits(-1), AmountOverflow);
  EXPECT_EQ(0, (below + Amount::FromUnits(-(Amount::kLimit - 1))).Units());
  try {
    (void)(below + below);
    FAIL() << "no overflow";
  } catch (const AmountOverflow& overflow) {
    EXPECT_EQ(-1, overflow.code());
  }
}

TEST(Amount, UncheckedOperationsPassTheLimitButNeverWrap) {
  const Amount big = Amount::FromUnits(900'000'000'000'000'000);
  EXPECT_EQ(1'800'000'000'000'000'000, (big - Amount::FromUnits(-900'000'000'000'000'000)).Units());
  Amount sum = big;
  sum += big;
  EXPECT_EQ(1'800'000'000'000'000'000, sum.Units());
  EXPECT_EQ(1'800'000'000'000'000'000, (900'000'000'000'000'000 + big).Units());
  // Beyond 64 bits there is no amount: an overflow, not a wrapped figure.
  const Amount max = Amount::FromUnits(std::numeric_limits<std::int64_t>::max());
  EXPECT_THROW(max - Amount::FromUnits(-1), AmountOverflow);
  Amount wrapped = max;
  EXPECT_THROW(wrapped += Amount::FromUnits(1), AmountOverflow);
}

TEST(Amount, ComparesWithAmountsAndWholeYen) {
  EXPECT_FALSE(Amount::FromUnits(50'000) != 5);
  EXPECT_TRUE(Amount::FromUnits(50'001) != 5);
  EXPECT_FALSE(Amount::FromUnits(-50'000) != -5);
  EXPECT_TRUE(Amount::FromUnits(-50'000) != 5);
  EXPECT_NE(Amount::FromUnits(1), Amount::FromUnits(-1));
  EXPECT_EQ(Amount::FromYen(7), Amount::FromUnits(70'000));
}

} // namespace
} // namespace stmtlink

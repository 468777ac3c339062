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

TEST(Amount, EveryOperationStopsAtTheLimitAndNeverWraps) {
  const Amount big = Amount::FromUnits(900'000'000'000'000'000);
  const Amount max = Amount::FromUnits(std::numeric_limits<std::int64_t>::max());
  const Amount min = Amount::FromUnits(std::numeric_limits<std::int64_t>::min());
  EXPECT_THROW(big - Amount::FromUnits(-900'000'000'000'000'000), AmountOverflow);
  EXPECT_THROW(900'000'000'000'000'000 + big, AmountOverflow);
  EXPECT_THROW(max - Amount::FromUnits(-1), AmountOverflow);
  EXPECT_THROW(Amount() - min, AmountOverflow);
  Amount sum = big;
  EXPECT_THROW(sum += big, AmountOverflow);
  EXPECT_EQ(big, sum); // unchanged by the failed addition
  EXPECT_EQ(Amount::kLimit - 1, (big + Amount::FromUnits(99'999'999'999'999'999)).Units());
  EXPECT_THROW(AddUnits(std::numeric_limits<std::int64_t>::max(), 1), AmountOverflow);
  EXPECT_THROW(SubtractUnits(0, std::numeric_limits<std::int64_t>::min()), AmountOverflow);
  EXPECT_THROW(SubtractUnits(-Amount::kLimit + 1, 1), AmountOverflow);
  EXPECT_EQ(-Amount::kLimit + 1, SubtractUnits(-Amount::kLimit + 2, 1));
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

// Tax categories as Japanese journals spell them, and the tax of an amount
// with or without the tax in it, rounded each way.
#include <gtest/gtest.h>

#include "tests/support/utf8.h"
#include "tools/books/book_values.h"
#include "tools/books/tax_category.h"

namespace stmtlink {
namespace {

using testing::U8;

TEST(TaxCategory, SpellingsAndRates) {
  const std::pair<std::string, TaxCategory> goods[] = {
      {U8(u8"課税売上10%"), {10, true}},     {U8(u8"課税売上 １０％"), {10, true}},
      {U8(u8"課税売上8%(軽減)"), {8, true}}, {U8(u8"課税売上８％軽減"), {8, true}},
      {U8(u8"課税仕入10%"), {10, false}},    {U8(u8"課税仕入 8%（軽減）"), {8, false}},
      {U8(u8"非課税売上"), {0, true}},       {U8(u8"非課税仕入"), {0, false}},
      {U8(u8"免税売上"), {0, true}},         {U8(u8"対象外"), {0, false}},
      {U8(u8"不課税"), {0, false}},
      // The short forms Japanese bookkeeping software exports.
      {U8(u8"課対仕入10%"), {10, false}},    {U8(u8"課対仕入8%(軽)"), {8, false}},
      {U8(u8"課仕 ８％（軽減）"), {8, false}}, {U8(u8"課税売上8%(軽)"), {8, true}},
      {U8(u8"課売軽減8%"), {8, true}},       {U8(u8"非課売上"), {0, true}},
      {U8(u8"非課仕入"), {0, false}},        {U8(u8"輸出売上"), {0, true}},
      {U8(u8"不課"), {0, false}},            {U8(u8"課税仕入　10％"), {10, false}},
  };
  for (const auto& [text, want] : goods) {
    TaxCategory got;
    ASSERT_TRUE(ParseTaxCategory(text, &got));
    EXPECT_EQ(want.rate, got.rate);
    EXPECT_EQ(want.sales, got.sales);
  }
  TaxCategory ignored;
  for (const std::string& bad : {U8(u8"課税売上5%"), U8(u8"課税"), std::string("10%"),
                                 U8(u8"課仕入10%"), U8(u8"課税売上10%軽")})
    EXPECT_FALSE(ParseTaxCategory(bad, &ignored)) << bad;
  EXPECT_EQ(0u, TaxCategoryRefusal(U8(u8"課対仕入１１％"))
                    .find(U8(u8"tax category '課対仕入１１％' is not known (closest known: 課税仕入10%")));
  bool excluded = true;
  EXPECT_TRUE(ParseTaxMethod(U8(u8"内税"), &excluded));
  EXPECT_FALSE(excluded);
  EXPECT_TRUE(ParseTaxMethod(U8(u8"外税"), &excluded));
  EXPECT_TRUE(excluded);
  EXPECT_FALSE(ParseTaxMethod(U8(u8"別記"), &excluded));
}

TEST(TaxCategory, TaxRoundedToWholeYen) {
  const std::int64_t yen = kUnitsPerYen;
  // 3,334 with the tax in it: 303.09 yen of tax.
  EXPECT_EQ(303 * yen, TaxOf(3334 * yen, 10, true, TaxRounding::kDown));
  EXPECT_EQ(304 * yen, TaxOf(3334 * yen, 10, true, TaxRounding::kUp));
  EXPECT_EQ(303 * yen, TaxOf(3334 * yen, 10, true, TaxRounding::kNearest));
  // 1,005 without it at 8%: 80.4 yen; 1,007: 80.56.
  EXPECT_EQ(80 * yen, TaxOf(1005 * yen, 8, false, TaxRounding::kNearest));
  EXPECT_EQ(81 * yen, TaxOf(1007 * yen, 8, false, TaxRounding::kNearest));
  EXPECT_EQ(-80 * yen, TaxOf(-1007 * yen, 8, false, TaxRounding::kDown)); // magnitude down
  EXPECT_EQ(100 * yen, TaxOf(1100 * yen, 10, true, TaxRounding::kUp));     // exact stays
  EXPECT_EQ(0, TaxOf(99999999999999 * yen, 0, true, TaxRounding::kUp));
}

} // namespace
} // namespace stmtlink

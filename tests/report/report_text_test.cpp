#include "report/report_text.h"

#include <gtest/gtest.h>

#include "report/report_writer.h"

namespace stmtlink {
namespace {

TEST(ReportTextTest, AmountsAreWholeYenTruncatedTowardZero) {
  EXPECT_EQ(AmountText(0), "0");
  EXPECT_EQ(AmountText(9999), "0");
  EXPECT_EQ(AmountText(-5000), "0"); // minus half a yen
  EXPECT_EQ(AmountText(-123456789), "-12345");
  EXPECT_EQ(AmountText(10000000005), "1000000");
  EXPECT_EQ(AmountText(INT64_MIN), "-922337203685477");
  EXPECT_EQ(DecimalText(-7), "-7");
}

TEST(ReportTextTest, CleanLabelRemovesBracketsSpacesAndMarker) {
  EXPECT_EQ(CleanLabel("差入保証金（仮）"), "差入保証金仮");
  EXPECT_EQ(CleanLabel("【本社】 地代　家賃《旧》［注］"), "本社地代家賃旧注");
  EXPECT_EQ(CleanLabel("減価償却費(製)"), "減価償却費");
  EXPECT_EQ(CleanLabel("(製)材料(製)費"), "材料費");
  // A half-width bracket alone is kept; only the marker as a whole goes.
  EXPECT_EQ(CleanLabel("(株)"), "(株)");
  EXPECT_EQ(CleanLabel(""), "");
}

TEST(ReportTextTest, CleanLabelNeverCutsADoubleByteCharacter) {
  // "乗" is 8F E6 and "≪" 81 E1; the trail byte 0x81 of a character like
  // 88 81 ("姶") followed by "@" (0x40) reads as a full-width space (81 40)
  // to a byte scan, which would cut "姶" in half.
  EXPECT_EQ(CleanLabel("\x88\x81@"), "\x88\x81@");
  EXPECT_EQ(CleanLabel("\x88\x81i"), "\x88\x81i"); // not "（" (81 69)
  EXPECT_TRUE(ContainsText("圧縮別途積立金", "別途積立金"));
  EXPECT_FALSE(ContainsText("\x88\x81@", "　"));
}

TEST(ReportTextTest, ClientNameIsFullWidthAndCutWhole) {
  EXPECT_EQ(ToFullWidth("ｻﾝﾌﾟﾙ商事(株) A&B"), "サンプル商事（株）　Ａ＆Ｂ");
  // 30 bytes become 60: never cut.
  std::string thirty(30, 'A');
  EXPECT_EQ(ToFullWidth(thirty).size(), 60u);
  // 31 bytes become 62: still whole.
  EXPECT_EQ(ToFullWidth(std::string(31, 'A')).size(), 62u);
  // Longer names stop at 63 bytes at most, on a character boundary.
  std::string cut = ToFullWidth(std::string(40, 'A'));
  EXPECT_EQ(cut.size(), 62u);
  std::string mixed = "X" + std::string(20, 'A') + "株式会社株式会社株式会社";
  cut = ToFullWidth(mixed);
  EXPECT_EQ(cut.size(), 62u);
  EXPECT_EQ(cut.substr(0, 2), "Ｘ");
  // 0xFD has no full-width form and stays one byte: 63 bytes fit exactly,
  // while a character that would end at byte 64 is left out whole.
  EXPECT_EQ(ToFullWidth("\xFD" + std::string(40, 'A')).size(), 63u);
  EXPECT_EQ(ToFullWidth("\xFD\xFD" + std::string(40, 'A')).size(), 62u);
}

} // namespace
} // namespace stmtlink

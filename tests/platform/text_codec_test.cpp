// The program's text is CP932: literals are compiled to it, and iconv
// converts at the edges.
#include <gtest/gtest.h>

#include <string>

#include "platform/text_codec.h"
#include "tests/support/utf8.h"

namespace stmtlink {
namespace {

using testing::U8;

TEST(TextCodecTest, NarrowLiteralsAreCp932Bytes) {
  EXPECT_EQ(std::string("\x8C\x88\x8E\x5A\x8F\x91"), std::string("決算書"));
  // The trail byte of 表 and ソ is 0x5C, the code of the backslash.
  EXPECT_EQ(std::string("\x95\x5C\x83\x5C"), std::string("表ソ"));
}

TEST(TextCodecTest, RoundTripsJapaneseAndKeepsBackslashAndTilde) {
  std::string cp932;
  ASSERT_TRUE(Utf8ToCp932(U8(u8"C:\\決算書\\～ｶﾞ①~"), &cp932));
  // CP932, not plain Shift_JIS: 0x5C stays a backslash and 0x7E a tilde,
  // and the vendor characters (①, ～ U+FF5E) are mapped.
  EXPECT_EQ("C:\\決算書\\～ｶﾞ①~", cp932);
  std::string back;
  ASSERT_TRUE(Cp932ToUtf8(cp932, &back));
  EXPECT_EQ(U8(u8"C:\\決算書\\～ｶﾞ①~"), back);
}

TEST(TextCodecTest, StrictConversionRefusesWhatLenientOneReplaces) {
  // Held in a variable: gtest quotes its expressions as narrow literals.
  const std::string no_cp932_form = U8(u8"a😀b");
  std::string out = "untouched";
  EXPECT_FALSE(Utf8ToCp932(no_cp932_form, &out));
  EXPECT_EQ("untouched", out);
  EXPECT_EQ("a?b", ToCp932(no_cp932_form));
  EXPECT_FALSE(Cp932ToUtf8("\x81", &out)); // a lead byte without its trail
  EXPECT_EQ("x?", ToUtf8("x\x81"));
}

} // namespace
} // namespace stmtlink

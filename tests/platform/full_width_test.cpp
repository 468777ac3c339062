#include "platform/full_width.h"

#include <gtest/gtest.h>

namespace stmtlink {
namespace {

TEST(FullWidthTest, AsciiAndSpaceBecomeFullWidth) {
  EXPECT_EQ(ToFullWidthText("AZaz09 !&<>?"), "ＡＺａｚ０９　！＆＜＞？");
  // The receiver sees the code page's full-width backslash and tilde.
  EXPECT_EQ(ToFullWidthText("\\~"), "＼～");
}

TEST(FullWidthTest, HalfWidthKatakanaAndSoundMarks) {
  EXPECT_EQ(ToFullWidthText("ｱｲｳｴｵﾝｰ｡｢｣､･ｦｧｯ"), "アイウエオンー。「」、・ヲァッ");
  EXPECT_EQ(ToFullWidthText("ｶﾞｷﾞｸﾞｻﾞﾀﾞﾂﾞﾄﾞﾊﾞﾊﾟﾎﾟｳﾞ"), "ガギグザダヅドバパポヴ");
  // Marks that join nothing stand as full-width marks of their own.
  EXPECT_EQ(ToFullWidthText("ｱﾞﾏﾟﾞ"), "ア゛マ゜゛");
}

TEST(FullWidthTest, DoubleByteCharactersAreNeverSplit) {
  // Trail bytes 0x5C ("表"), 0x41 ("ア" 83 41) and 0xB6 lie in ranges that
  // would be mapped if they stood alone.
  EXPECT_EQ(ToFullWidthText("表ア株式会社"), "表ア株式会社");
  EXPECT_EQ(ToFullWidthText("\x83\xB6"), "\x83\xB6");
  // A stray lead byte at the end stays as it is.
  EXPECT_EQ(ToFullWidthText("A\x83"), "Ａ\x83");
}

TEST(FullWidthTest, WindowsCallSizesAndTerminator) {
  char out[16];
  EXPECT_EQ(LCMapStringA(GetSystemDefaultLCID(), LCMAP_FULLWIDTH, "AB", -1, nullptr, 0), 5);
  EXPECT_EQ(LCMapStringA(GetSystemDefaultLCID(), LCMAP_FULLWIDTH, "AB", -1, out, sizeof(out)), 5);
  EXPECT_STREQ(out, "ＡＢ");
  EXPECT_EQ(LCMapStringA(GetSystemDefaultLCID(), LCMAP_FULLWIDTH, "AB", 1, out, sizeof(out)), 2);
  EXPECT_EQ(LCMapStringA(GetSystemDefaultLCID(), LCMAP_FULLWIDTH, "AB", -1, out, 4), 0);
  EXPECT_EQ(LCMapStringA(GetSystemDefaultLCID(), 0, "AB", -1, out, sizeof(out)), 0);
}

} // namespace
} // namespace stmtlink

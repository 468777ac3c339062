#include "report/support_info_file.h"

#include <gtest/gtest.h>

#include "tests/support/scratch_home.h"
#include "tests/support/temp_dir.h"

namespace stmtlink {
namespace {

using testing::ScopedCurrentDir;

TEST(SupportInfoFileTest, ReadsBothKeysFromTheCurrentFolder) {
  ScratchHome home;
  ScopedCurrentDir cwd(home.dir());
  home.WriteFile("SUPPORT.INF", "[=製品ﾊﾞｰｼﾞｮﾝ=]20.00.07\r\n[=製品名=]ヴェルカ\r\n");
  SupportInfoFile support;
  EXPECT_EQ(support.ProductName(), "ヴェルカ");
  EXPECT_EQ(support.ProductVersion(), "20.00.07");
}

TEST(SupportInfoFileTest, ValueEndsAtLineEndEndOfFileMarkOrData) {
  ScratchHome home;
  ScopedCurrentDir cwd(home.dir());
  home.WriteFile("SUPPORT.INF", "[=製品名=]名前\x1A[=製品ﾊﾞｰｼﾞｮﾝ=]1.2");
  SupportInfoFile support;
  EXPECT_EQ(support.ProductName(), "名前");
  EXPECT_EQ(support.ProductVersion(), "1.2");
}

TEST(SupportInfoFileTest, LineFeedAloneEndsTheValueToo) {
  ScratchHome home;
  ScopedCurrentDir cwd(home.dir());
  home.WriteFile("SUPPORT.INF", "[=製品名=]名前\n[=製品ﾊﾞｰｼﾞｮﾝ=]1.2\n");
  SupportInfoFile support;
  EXPECT_EQ(support.ProductName(), "名前");
  EXPECT_EQ(support.ProductVersion(), "1.2");
}

TEST(SupportInfoFileTest, MissingFileOrPrefixedFolder) {
  ScratchHome home;
  ScopedCurrentDir cwd(home.dir());
  SupportInfoFile missing;
  EXPECT_EQ(missing.ProductName(), "");
  EXPECT_EQ(missing.ProductVersion(), "");
  home.WriteFile("drive_c/SUPPORT.INF", "[=製品名=]C\r\n");
  SupportInfoFile prefixed("C:\\");
  EXPECT_EQ(prefixed.ProductName(), "C");
}

TEST(SupportInfoFileTest, KeyIsMatchedOnWholeCharacters) {
  ScratchHome home;
  ScopedCurrentDir cwd(home.dir());
  // 0x5B ("[") is the trail byte of 83 5B ("ー"); the key must not be found
  // starting inside that character, only at the real key after it.
  home.WriteFile("SUPPORT.INF", "\x83[=製品名=]bad\r\n[=製品名=]good\r\n");
  SupportInfoFile support;
  EXPECT_EQ(support.ProductName(), "good");
}

} // namespace
} // namespace stmtlink

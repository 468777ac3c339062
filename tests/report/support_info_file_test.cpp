#include "report/support_info_file.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

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

TEST(SupportInfoFileTest, ValuesHoldOnlyWholeCharacters) {
  ScratchHome home;
  ScopedCurrentDir cwd(home.dir());
  // A lone lead byte before the line end, and a character cut by the end
  // of the 30,000 bytes read: neither half reaches the value.
  std::string content = "[=製品名=]名\x83\r\n";
  const std::string key = "[=製品ﾊﾞｰｼﾞｮﾝ=]";
  content += std::string(SupportInfoFile::kBlockSize - 2 - content.size() - key.size(), ' ');
  content += key + "v版";
  ASSERT_EQ(SupportInfoFile::kBlockSize + 1, content.size());
  home.WriteFile("SUPPORT.INF", content);
  SupportInfoFile support;
  EXPECT_EQ(support.ProductName(), "名");
  EXPECT_EQ(support.ProductVersion(), "v");
}

TEST(SupportInfoFileTest, ADeviceOrAFifoIsNoSupportFile) {
  ScratchHome home;
  ScopedCurrentDir cwd(home.dir());
  ASSERT_EQ(0, symlink("/dev/zero", "SUPPORT.INF"));
  EXPECT_EQ(SupportInfoFile().ProductName(), "");
  ASSERT_EQ(0, unlink("SUPPORT.INF"));
  ASSERT_EQ(0, mkfifo("SUPPORT.INF", 0600)); // no writer: a read would wait
  EXPECT_EQ(SupportInfoFile().ProductVersion(), "");
}

} // namespace
} // namespace stmtlink

#include "platform/win_path.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include "platform/drive_map.h"
#include "tests/support/scratch_home.h"
#include "tests/support/utf8.h"

namespace stmtlink {
namespace {

class WinPathTest : public ::testing::Test {
 protected:
  WinPathTest() {
    home_.WriteHostIni(testing::U8(u8"[Drives]\n"
                            u8"D=/media/cdrom,cdrom\n"
                            u8"E=,noroot\n"
                            u8"\\\\fileserver\\share=share_folder,remote\n"));
  }

  std::string ToLinux(std::string_view windows_path) {
    std::string out;
    return WindowsToLinuxPath(windows_path, &out) ? out : "<false>";
  }
  std::string ToWindows(std::string_view linux_path) {
    std::string out;
    return LinuxToWindowsPath(linux_path, &out) ? out : "<false>";
  }
  std::string C(const char8_t* rest) { return home_.Path("drive_c") + testing::U8(rest); }

  ScratchHome home_;
};

TEST_F(WinPathTest, DrivePathsWithKanjiNames) {
  // 表 and ソ end in 0x5C: that byte must stay inside the name.
  EXPECT_EQ(C(u8"/表/ソ/x.txt"), ToLinux("C:\\表\\ソ\\x.txt"));
  EXPECT_EQ(C(u8"/表/ソ"), ToLinux("c:/表/ソ/"));
  EXPECT_EQ(C(u8""), ToLinux("C:\\"));
  EXPECT_EQ("/", ToLinux("Z:\\"));
  EXPECT_EQ("/media/cdrom/setup.exe", ToLinux("D:\\setup.exe"));
  EXPECT_EQ("C:\\表\\ソ\\x.txt", ToWindows(C(u8"/表/ソ/x.txt")));
  EXPECT_EQ("C:\\", ToWindows(C(u8"")));
  EXPECT_EQ("Z:\\", ToWindows("/"));
  EXPECT_EQ("Z:\\tmp", ToWindows("/tmp/"));
  EXPECT_EQ("D:\\a", ToWindows("/media/cdrom/a"));
}

TEST_F(WinPathTest, DotsAndDoubledSeparatorsAreResolved) {
  EXPECT_EQ(C(u8"/b/d"), ToLinux("C:\\a\\..\\b\\.\\c\\..\\\\d"));
  EXPECT_EQ(C(u8"/x"), ToLinux("C:\\..\\..\\x")); // never above the root
  EXPECT_EQ("C:\\b", ToWindows(C(u8"//a/../b/.")));
  // ".." of a Linux path that leaves C: lands on Z:.
  std::string z_home = "Z:" + home_.dir();
  for (char& c : z_home)
    if (c == '/') c = '\\';
  EXPECT_EQ(z_home, ToWindows(C(u8"/..")));
}

TEST_F(WinPathTest, TrailingDotsAndSpacesOfEveryNameAreDropped) {
  EXPECT_EQ(C(u8"/out/r.xml"), ToLinux("C:\\out.\\r.xml"));
  EXPECT_EQ(C(u8"/out/r.xml"), ToLinux("C:\\out \\r.xml"));
  EXPECT_EQ(C(u8"/out/r.xml"), ToLinux("C:\\out. .\\r.xml. "));
  EXPECT_EQ(C(u8"/表/ソ"), ToLinux("C:\\表.\\ソ ")); // after double-byte names too
  EXPECT_EQ(C(u8"/a/.x"), ToLinux("C:\\a\\.x"));    // leading dots stay
  EXPECT_EQ(C(u8"/a"), ToLinux("C:\\a\\b\\.."));   // "." and ".." keep their sense
  EXPECT_EQ(C(u8"/a"), ToLinux("C:\\a\\...\\ "));
}

TEST_F(WinPathTest, TypedLinuxPathsTakeTheirWindowsForm) {
  EXPECT_TRUE(IsLinuxStylePath("/tmp/r.xml"));
  EXPECT_TRUE(IsLinuxStylePath("sub/r.xml"));
  EXPECT_FALSE(IsLinuxStylePath("r.xml"));
  EXPECT_FALSE(IsLinuxStylePath("C:/out/r.xml"));
  EXPECT_FALSE(IsLinuxStylePath("out\\r.xml"));
  std::string windows;
  ASSERT_TRUE(TypedLinuxPathToWindows("/tmp/nx/../r.xml", "", &windows));
  EXPECT_EQ("Z:\\tmp\\r.xml", windows);
  ASSERT_TRUE(TypedLinuxPathToWindows("sub/", "/srv", &windows));
  EXPECT_EQ("Z:\\srv\\sub\\", windows);
  ASSERT_TRUE(TypedLinuxPathToWindows(C(u8"/表/r.xml"), "", &windows)); // under drive C:'s folder
  EXPECT_EQ("C:\\表\\r.xml", windows);
  EXPECT_FALSE(TypedLinuxPathToWindows("sub/r.xml", "", &windows));
}

TEST_F(WinPathTest, UncSharesComeFromTheMap) {
  std::string share = home_.Path("share_folder");
  EXPECT_EQ(share + "/a/b.txt", ToLinux("\\\\fileserver\\share\\a\\b.txt"));
  EXPECT_EQ(share + "/a", ToLinux("\\\\FILESERVER\\Share\\a"));
  EXPECT_EQ(share, ToLinux("\\\\fileserver\\share\\..\\.."));
  EXPECT_EQ(share, ToLinux("//fileserver/share"));
  EXPECT_EQ("\\\\fileserver\\share\\", ToWindows(share));
  EXPECT_EQ("\\\\fileserver\\share\\a\\表", ToWindows(share + testing::U8(u8"/a/表")));
  EXPECT_EQ("<false>", ToLinux("\\\\fileserver\\other\\a"));
  EXPECT_EQ("<false>", ToLinux("\\\\fileserver"));
  EXPECT_EQ("<false>", ToLinux("\\\\"));
}

TEST_F(WinPathTest, UnusableDrivesAndNamesFail) {
  EXPECT_EQ("<false>", ToLinux("Q:\\x"));  // unmapped
  EXPECT_EQ("<false>", ToLinux("E:\\x"));  // no root directory
  EXPECT_EQ("<false>", ToLinux(""));
  EXPECT_EQ("<false>", ToLinux("C:\\a\x81 b")); // not CP932
  EXPECT_EQ("<false>", ToLinux(std::string_view("C:\\a\0b", 6)));
  EXPECT_EQ("<false>", ToWindows("relative/path"));
  EXPECT_EQ("<false>", ToWindows(""));
  EXPECT_EQ("<false>", ToWindows(testing::U8(u8"/tmp/a\\b"))); // would read back as two names
  EXPECT_EQ("<false>", ToWindows(testing::U8(u8"/tmp/\U0001F600")));  // no CP932 form
}

TEST_F(WinPathTest, RelativePathsFollowTheCurrentFolder) {
  std::string dir = home_.MakeDir(testing::U8(u8"drive_c/work/表"));
  ASSERT_EQ(0, ::chdir(dir.c_str()));
  EXPECT_EQ(dir + "/x.txt", ToLinux("x.txt"));
  EXPECT_EQ(C(u8"/work/y"), ToLinux("..\\y"));
  EXPECT_EQ(C(u8"/top"), ToLinux("\\top"));           // root of the current drive
  EXPECT_EQ(dir + "/z", ToLinux("C:z"));              // the current folder of C:
  EXPECT_EQ("/media/cdrom/z", ToLinux("D:z"));         // another drive: its root
  EXPECT_EQ(dir, ToLinux("."));

  ASSERT_EQ(0, ::chdir("/tmp"));
  EXPECT_EQ(C(u8"/z"), ToLinux("C:z"));
  EXPECT_EQ("/top", ToLinux("\\top"));
}

TEST_F(WinPathTest, RelativePathsInsideAShare) {
  std::string dir = home_.MakeDir("share_folder/sub");
  ASSERT_EQ(0, ::chdir(dir.c_str()));
  EXPECT_EQ(home_.Path("share_folder/top"), ToLinux("\\top"));
  EXPECT_EQ(home_.Path("share_folder"), ToLinux("..\\.."));
}

} // namespace
} // namespace stmtlink

// _getcwd, _chdir, _access and _splitpath.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "platform/mbcs.h"
#include "platform/win_api.h"
#include "tests/support/scratch_home.h"
#include "tests/support/utf8.h"

namespace stmtlink {
namespace {

// The Windows form of a folder under /tmp (drive Z:).
std::string ZPath(std::string linux_path) {
  for (char& c : linux_path)
    if (c == '/') c = '\\';
  return "Z:" + linux_path;
}

TEST(CrtPathTest, GetcwdInAFolderEndingInTrailByte5C) {
  ScratchHome home;
  std::string dir = home.MakeDir(testing::U8(u8"表"));
  ASSERT_EQ(0, ::chdir(dir.c_str()));
  char buf[MAX_PATH + 1];
  ASSERT_EQ(buf, _getcwd(buf, sizeof(buf)));
  std::string expected = ZPath(home.dir()) + "\\表";
  EXPECT_EQ(expected, buf);
  // The last byte is 0x5C, yet it is no separator.
  std::size_t len = std::strlen(buf);
  EXPECT_EQ('\\', buf[len - 1]);
  EXPECT_EQ(-1, _ismbstrail(reinterpret_cast<unsigned char*>(buf),
                            reinterpret_cast<unsigned char*>(buf + len - 1)));

  // Exactly fitting, one byte short, and allocated by the runtime.
  std::vector<char> exact(len + 1);
  EXPECT_EQ(exact.data(), _getcwd(exact.data(), static_cast<int>(len + 1)));
  EXPECT_EQ(nullptr, _getcwd(exact.data(), static_cast<int>(len)));
  EXPECT_EQ(nullptr, _getcwd(buf, 0));
  char* allocated = _getcwd(nullptr, 0);
  ASSERT_NE(nullptr, allocated);
  EXPECT_EQ(expected, allocated);
  std::free(allocated);
}

TEST(CrtPathTest, GetcwdAtADriveRootKeepsItsBackslash) {
  ScratchHome home;
  ASSERT_EQ(0, ::chdir(home.Path("drive_c").c_str()));
  char buf[MAX_PATH + 1];
  ASSERT_NE(nullptr, _getcwd(buf, sizeof(buf)));
  EXPECT_STREQ("C:\\", buf);
  ASSERT_EQ(0, ::chdir("/"));
  ASSERT_NE(nullptr, _getcwd(buf, sizeof(buf)));
  EXPECT_STREQ("Z:\\", buf);
}

TEST(CrtPathTest, ChdirAndAccessTakeWindowsPaths) {
  ScratchHome home;
  home.MakeDir(testing::U8(u8"drive_c/表/ソ"));
  home.WriteFile(testing::U8(u8"drive_c/表/ソ/f.txt"), "x");
  char buf[MAX_PATH + 1];

  ASSERT_EQ(0, _chdir("C:\\表\\ソ"));
  ASSERT_NE(nullptr, _getcwd(buf, sizeof(buf)));
  EXPECT_STREQ("C:\\表\\ソ", buf);
  EXPECT_EQ(0, _chdir(".."));
  ASSERT_NE(nullptr, _getcwd(buf, sizeof(buf)));
  EXPECT_STREQ("C:\\表", buf);
  EXPECT_EQ(-1, _chdir("C:\\missing"));
  EXPECT_EQ(-1, _chdir("Q:\\"));
  EXPECT_EQ(-1, _chdir("ソ\\f.txt")); // a file
  EXPECT_EQ(-1, _chdir(nullptr));

  EXPECT_EQ(0, _access("ソ\\f.txt", 0));
  EXPECT_EQ(0, _access("C:\\表\\ソ\\f.txt", 6));
  EXPECT_EQ(0, _access("C:\\表\\ソ", 0));
  EXPECT_EQ(0, _access("C:\\表\\ソ\\", 0));
  EXPECT_EQ(-1, _access("C:\\表\\ソ\\f.txt\\", 0));
  EXPECT_EQ(-1, _access("C:\\表\\ソ\\g.txt", 0));
  EXPECT_EQ(-1, _access("Q:\\", 0));
  EXPECT_EQ(-1, _access("C:\\表\\ソ\\f.txt", 3));
  EXPECT_EQ(-1, _access(nullptr, 0));
  if (::geteuid() != 0) {
    ASSERT_EQ(0, ::chmod(home.Path(testing::U8(u8"drive_c/表/ソ/f.txt")).c_str(), 0444));
    EXPECT_EQ(0, _access("C:\\表\\ソ\\f.txt", 4));
    EXPECT_EQ(-1, _access("C:\\表\\ソ\\f.txt", 2));
  }
}

struct Split {
  std::string drive, dir, fname, ext;
};

Split SplitPath(const char* path) {
  char drive[_MAX_DRIVE], dir[_MAX_DIR], fname[_MAX_FNAME], ext[_MAX_EXT];
  _splitpath(path, drive, dir, fname, ext);
  return {drive, dir, fname, ext};
}

void ExpectSplit(const char* path, const char* drive, const char* dir, const char* fname,
                 const char* ext) {
  Split s = SplitPath(path);
  EXPECT_EQ(drive, s.drive) << path;
  EXPECT_EQ(dir, s.dir) << path;
  EXPECT_EQ(fname, s.fname) << path;
  EXPECT_EQ(ext, s.ext) << path;
}

TEST(CrtPathTest, SplitpathCases) {
  ExpectSplit("C:\\表\\ソ\\決算書.xml", "C:", "\\表\\ソ\\", "決算書", ".xml");
  ExpectSplit("c:表", "c:", "", "表", "");
  ExpectSplit("C:\\", "C:", "\\", "", "");
  ExpectSplit("C:", "C:", "", "", "");
  ExpectSplit("\\\\server\\share\\dir\\a.b.c", "", "\\\\server\\share\\dir\\", "a.b", ".c");
  ExpectSplit("dir.d\\name", "", "dir.d\\", "name", "");
  ExpectSplit("a/b/c.txt", "", "a/b/", "c", ".txt");
  ExpectSplit("表", "", "", "表", "");           // trail 0x5C is no separator
  ExpectSplit("ソ.txt", "", "", "ソ", ".txt");
  ExpectSplit("file.", "", "", "file", ".");
  ExpectSplit("1:\\x", "", "1:\\", "x", "");       // only a letter names a drive
  ExpectSplit("", "", "", "", "");

  char fname[_MAX_FNAME];
  _splitpath("C:\\a\\name.ext", nullptr, nullptr, fname, nullptr);
  EXPECT_STREQ("name", fname);
}

TEST(CrtPathTest, SplitpathCutsLongPartsAtACharacterBoundary) {
  // 255 bytes of room: "ab" + 126 kanji take 254, the next kanji would split.
  std::string kanji;
  for (int i = 0; i < 130; ++i) kanji += "表";
  std::string path = "C:\\ab" + kanji + ".txt";
  Split s = SplitPath(path.c_str());
  EXPECT_EQ("ab" + kanji.substr(0, 252), s.fname);
  EXPECT_EQ(".txt", s.ext);
  // The same for the directory: "\a" + 126 kanji.
  std::string folder = "C:\\a" + kanji + "\\x";
  s = SplitPath(folder.c_str());
  EXPECT_EQ("\\a" + kanji.substr(0, 252), s.dir);
  EXPECT_EQ("x", s.fname);
}

} // namespace
} // namespace stmtlink

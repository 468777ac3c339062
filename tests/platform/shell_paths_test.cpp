// PathSkipRoot, PathStripToRoot and PathFileExists.
#include <gtest/gtest.h>

#include <string>

#include "platform/win_api.h"
#include "tests/support/scratch_home.h"
#include "tests/support/utf8.h"

namespace stmtlink {
namespace {

std::string SkipRoot(const char* path) {
  const char* rest = PathSkipRoot(path);
  return rest != nullptr ? rest : "<null>";
}

std::string StripToRoot(const char* path, BOOL expected) {
  std::string buffer = path;
  EXPECT_EQ(expected, PathStripToRoot(buffer.data())) << path;
  return buffer.c_str();
}

TEST(ShellPathTest, SkipRoot) {
  EXPECT_EQ("a\\b", SkipRoot("C:\\a\\b"));
  EXPECT_EQ("", SkipRoot("C:\\"));
  EXPECT_EQ("a", SkipRoot("\\\\server\\share\\a"));
  EXPECT_EQ("", SkipRoot("\\\\server\\share\\"));
  // 表 (95 5C) and ソ (83 5C) in server and share names end no name.
  EXPECT_EQ("a", SkipRoot("\\\\表\\ソ\\a"));
  EXPECT_EQ("<null>", SkipRoot("\\\\表\\ソ"));
  EXPECT_EQ("<null>", SkipRoot("\\\\server\\share"));
  EXPECT_EQ("<null>", SkipRoot("\\\\server"));
  EXPECT_EQ("<null>", SkipRoot("C:"));
  EXPECT_EQ("<null>", SkipRoot("C:a"));
  EXPECT_EQ("<null>", SkipRoot("C:/a")); // the shell knows only "\"
  EXPECT_EQ("<null>", SkipRoot("\\a"));
  EXPECT_EQ("<null>", SkipRoot("a\\b"));
  EXPECT_EQ("<null>", SkipRoot(""));
  EXPECT_EQ(nullptr, PathSkipRoot(static_cast<const char*>(nullptr)));
  char buffer[] = "D:\\x";
  EXPECT_EQ(buffer + 3, PathSkipRoot(buffer));
}

TEST(ShellPathTest, StripToRoot) {
  EXPECT_EQ("C:\\", StripToRoot("C:\\a\\b", TRUE));
  EXPECT_EQ("C:\\", StripToRoot("C:\\", TRUE));
  EXPECT_EQ("C:\\", StripToRoot("C:\\表\\", TRUE));
  EXPECT_EQ("\\\\s\\sh", StripToRoot("\\\\s\\sh\\x", TRUE));
  EXPECT_EQ("\\\\s\\sh", StripToRoot("\\\\s\\sh\\", TRUE));
  EXPECT_EQ("\\\\s\\sh", StripToRoot("\\\\s\\sh", TRUE));
  EXPECT_EQ("\\\\表\\ソ", StripToRoot("\\\\表\\ソ\\x\\y", TRUE));
  EXPECT_EQ("\\\\s", StripToRoot("\\\\s", TRUE));
  EXPECT_EQ("\\", StripToRoot("\\a\\b", TRUE));
  EXPECT_EQ("C:", StripToRoot("C:a", FALSE));
  EXPECT_EQ("C:", StripToRoot("C:", FALSE));
  EXPECT_EQ("", StripToRoot("a\\b", FALSE));
  EXPECT_EQ("", StripToRoot("表", FALSE));
  EXPECT_EQ(FALSE, PathStripToRoot(nullptr));
}

TEST(ShellPathTest, StripToRootKnowsEveryFormAsTheShellDoes) {
  EXPECT_EQ("c:\\", StripToRoot("c:\\a\\b", TRUE));
  EXPECT_EQ("1:\\", StripToRoot("1:\\a", TRUE)); // any single-byte character
  EXPECT_EQ("C:", StripToRoot("C:/a/b", FALSE));   // "/" is no separator here
  EXPECT_EQ("C:\\", StripToRoot("C:\\a/b", TRUE));
  EXPECT_EQ("\\\\s", StripToRoot("\\\\s\\", TRUE));
  EXPECT_EQ("\\\\", StripToRoot("\\\\", TRUE));
  EXPECT_EQ("\\", StripToRoot("\\", TRUE));
  // The long-path and device prefixes are no roots to the shell.
  EXPECT_EQ("\\\\?\\C:\\", StripToRoot("\\\\?\\C:\\a\\b", FALSE));
  EXPECT_EQ("\\\\.\\C:\\", StripToRoot("\\\\.\\C:\\a", FALSE));
  EXPECT_EQ("\\\\?\\UNC", StripToRoot("\\\\?\\UNC\\s\\sh\\a", TRUE));
}

TEST(ShellPathTest, FileExists) {
  ScratchHome home;
  home.WriteHostIni("[Drives]\nE=,noroot\n");
  home.MakeDir(testing::U8(u8"drive_c/表"));
  home.WriteFile(testing::U8(u8"drive_c/表/ZephonDef.ini"), "");
  EXPECT_EQ(TRUE, PathFileExists("C:\\表\\ZephonDef.ini"));
  EXPECT_EQ(TRUE, PathFileExists("C:\\表"));
  EXPECT_EQ(TRUE, PathFileExists("C:\\表\\"));
  EXPECT_EQ(FALSE, PathFileExists("C:\\表\\ZephonDef.ini\\")); // a file is no folder
  EXPECT_EQ(TRUE, PathFileExists("C:\\"));
  EXPECT_EQ(FALSE, PathFileExists("C:\\表\\other.ini"));
  EXPECT_EQ(FALSE, PathFileExists("C:\\ソ"));
  EXPECT_EQ(FALSE, PathFileExists("E:\\"));
  EXPECT_EQ(FALSE, PathFileExists("Q:\\"));
  EXPECT_EQ(FALSE, PathFileExists(""));
  EXPECT_EQ(FALSE, PathFileExists(nullptr));
}

} // namespace
} // namespace stmtlink

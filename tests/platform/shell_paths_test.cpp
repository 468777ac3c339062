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
  EXPECT_EQ("C:", StripToRoot("C:a", TRUE));
  EXPECT_EQ("C:", StripToRoot("C:", TRUE));
  EXPECT_EQ("", StripToRoot("a\\b", FALSE));
  EXPECT_EQ("", StripToRoot("表", FALSE));
  EXPECT_EQ("", StripToRoot("1:\\a", FALSE)); // a drive is a letter
  // The trail byte 0x5C of 表 and ソ ends no server or share name.
  EXPECT_EQ("\\\\表", StripToRoot("\\\\表", TRUE));
  EXPECT_EQ("\\\\表", StripToRoot("\\\\表\\", TRUE));
  EXPECT_EQ("\\\\s\\ソ", StripToRoot("\\\\s\\ソ\\表", TRUE));
  EXPECT_EQ("\\", StripToRoot("\\表\\ソ", TRUE));
  EXPECT_EQ("", StripToRoot("表:\\a", FALSE));
  EXPECT_EQ(FALSE, PathStripToRoot(nullptr));
}

// Windows' answers, as its own conformance runs record them, for every form
// a root can take: drive letters with either separator, the long-path and
// device prefixes, UNC servers and shares with empty or odd names, and
// relative names. A path that fails keeps nothing.
struct StripToRootCase {
  const char* path;
  BOOL result;
  const char* root;
};

constexpr StripToRootCase kWindowsStripToRootCases[] = {
    // A drive letter, with or without a backslash after the colon; "/"
    // does not separate here, and only a letter makes a drive.
    {R"(Q:\)", TRUE, R"(Q:\)"},
    {R"(Q:/)", TRUE, "Q:"},
    {"Q:", TRUE, "Q:"},
    {"|:", FALSE, ""},
    {R"(Q:\\)", TRUE, R"(Q:\)"},
    {R"(Q:\\test1)", TRUE, R"(Q:\)"},
    {R"(Q:\test1\test2)", TRUE, R"(Q:\)"},
    {R"(Q:\test1\\test2)", TRUE, R"(Q:\)"},
    {R"(Q:\test1\\\test2)", TRUE, R"(Q:\)"},
    {R"(Q:\test1\test2\)", TRUE, R"(Q:\)"},
    {R"(Q:\test1\\test2\)", TRUE, R"(Q:\)"},
    {R"(Q:\test1\test2\\)", TRUE, R"(Q:\)"},
    {"Q:/test1/test2", TRUE, "Q:"},
    {R"(Q:/test1\test2)", TRUE, "Q:"},
    {"0:/test1/test2", FALSE, ""},
    // No root at all.
    {"test", FALSE, ""},
    {"?", FALSE, ""},
    {R"(||||Q:\aaa)", FALSE, ""},
    {"", FALSE, ""},
    // The long-path prefix \\? is no root to the narrow shell calls,
    // whatever follows it.
    {R"(\\?\Q:\)", FALSE, ""},
    {R"(\\?\Q:\\)", FALSE, ""},
    {R"(\\?\Q:)", FALSE, ""},
    {R"(\\?\aa\)", FALSE, ""},
    {R"(\\?\aa)", FALSE, ""},
    {R"(\\?\)", FALSE, ""},
    {R"(\\?\\)", FALSE, ""},
    {R"(\\?)", FALSE, ""},
    {R"(\\?Q:\)", FALSE, ""},
    {R"(\\?\UNC\)", FALSE, ""},
    {R"(\\?\UNC\a)", FALSE, ""},
    {R"(\\?\UNC\a\)", FALSE, ""},
    {R"(\\?\UNC\a\b)", FALSE, ""},
    {R"(\\?\UNC\a\b\c)", FALSE, ""},
    {R"(\\?\UNC\Q:\)", FALSE, ""},
    {R"(\\?\Volume{aaaaaaaa-bbbb-cccc-dddd-ffffffffffff})", FALSE, ""},
    {R"(\\?\Volume{aaaaaaaa-bbbb-cccc-dddd-ffffffffffff}\)", FALSE, ""},
    {R"(\\?\Volume{aaaaaaaa-bbbb-cccc-dddd-ffffffffffff}\\)", FALSE, ""},
    {R"(\\?\Volume{zaaaaaaa-bbbb-cccc-dddd-ffffffffffff}\)", FALSE, ""},
    {R"(\\?\Volume{aaaaaaaa-bbbb-cccc-dddd-ffffffffffff}\a)", FALSE, ""},
    {R"(\\?\TST\)", FALSE, ""},
    // The device prefix \\. is an ordinary server name.
    {R"(\\.\Q:\)", TRUE, R"(\\.\Q:)"},
    {R"(\\.\Q:)", TRUE, R"(\\.\Q:)"},
    {R"(\\.\)", TRUE, R"(\\.)"},
    {R"(\\.)", TRUE, R"(\\.)"},
    // \\server\share: the server and at most one more name, with no
    // backslash at the end; an empty server or share still takes its place.
    {R"(\\)", TRUE, R"(\\)"},
    {R"(\\\)", TRUE, R"(\\)"},
    {R"(\\\\)", TRUE, R"(\\)"},
    {R"(\\\\\)", TRUE, R"(\\)"},
    {R"(\\\\\\)", TRUE, R"(\\)"},
    {R"(\\*)", TRUE, R"(\\*)"},
    {R"(\\!)", TRUE, R"(\\!)"},
    {R"(\\|)", TRUE, R"(\\|)"},
    {R"(\\\.)", TRUE, R"(\\\.)"},
    {R"(\\\a)", TRUE, R"(\\\a)"},
    {R"(\\\\.)", TRUE, R"(\\)"},
    {R"(\\\Q:)", TRUE, R"(\\\Q:)"},
    {R"(\\\\Q:\)", TRUE, R"(\\)"},
    {R"(\\\\Q:)", TRUE, R"(\\)"},
    {R"(\\a)", TRUE, R"(\\a)"},
    {R"(\\a\)", TRUE, R"(\\a)"},
    {R"(\\a\b)", TRUE, R"(\\a\b)"},
    {R"(\\a\\b)", TRUE, R"(\\a)"},
    {R"(\\a\b\)", TRUE, R"(\\a\b)"},
    {R"(\\a\b\c)", TRUE, R"(\\a\b)"},
    {R"(\\a\Q:\)", TRUE, R"(\\a\Q:)"},
    {R"(\\a\Q:)", TRUE, R"(\\a\Q:)"},
    {R"(\\aa)", TRUE, R"(\\aa)"},
    {R"(\\aa\)", TRUE, R"(\\aa)"},
    {R"(\\aa\b)", TRUE, R"(\\aa\b)"},
    {R"(\\aa\|)", TRUE, R"(\\aa\|)"},
    {R"(\\aa\b\c)", TRUE, R"(\\aa\b)"},
    {R"(\\aa\Q:\)", TRUE, R"(\\aa\Q:)"},
    {R"(\\aa\Q:)", TRUE, R"(\\aa\Q:)"},
    {R"(\\o\Q:\aaa)", TRUE, R"(\\o\Q:)"},
    {R"(\\Q:)", TRUE, R"(\\Q:)"},
    {R"(\\Q:\)", TRUE, R"(\\Q:)"},
    // A single backslash is the root of the current drive, whatever follows.
    {R"(\)", TRUE, R"(\)"},
    {R"(\a)", TRUE, R"(\)"},
    {R"(\a\b)", TRUE, R"(\)"},
    {R"(\?)", TRUE, R"(\)"},
    {R"(\Q:\)", TRUE, R"(\)"},
    {R"(\Q:)", TRUE, R"(\)"},
    {R"(\??\Q:\)", TRUE, R"(\)"},
    {R"(\??\)", TRUE, R"(\)"},
    {R"(\Device\Harddiskvolume1)", TRUE, R"(\)"},
    {R"(\Device\Harddiskvolume1\)", TRUE, R"(\)"},
};

TEST(ShellPathTest, StripToRootGivesWindowsAnswers) {
  int mismatches = 0;
  for (const StripToRootCase& c : kWindowsStripToRootCases) {
    std::string buffer = c.path;
    const BOOL result = PathStripToRoot(buffer.data());
    const std::string root = buffer.c_str();
    EXPECT_EQ(c.result, result) << c.path;
    EXPECT_EQ(c.root, root) << c.path;
    if (result != c.result || root != c.root) ++mismatches;
  }
  EXPECT_EQ(0, mismatches) << "of " << std::size(kWindowsStripToRootCases) << " cases";
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

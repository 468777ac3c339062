// GetDriveType, CreateDirectory, RemoveDirectory, GetTempPath and
// GetModuleFileName.
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstring>
#include <string>

#include "platform/env.h"
#include "platform/mbcs.h"
#include "platform/win_api.h"
#include "tests/support/fault_injection_env.h"
#include "tests/support/scratch_home.h"
#include "tests/support/utf8.h"

namespace stmtlink {
namespace {

class PlatformFilesTest : public ::testing::Test {
 protected:
  PlatformFilesTest() {
    home_.WriteHostIni(testing::U8(u8"[Drives]\n"
                            u8"A=floppy,removable\n"
                            u8"D=/media/cdrom,cdrom\n"
                            u8"E=,noroot\n"
                            u8"F=,unknown\n"
                            u8"R=ram,ramdisk\n"
                            u8"\\\\fileserver\\share=share_folder,remote\n"));
    home_.MakeDir("floppy");
  }

  bool LinuxDirExists(const char8_t* relative) {
    FileStatus status;
    return Env::Real()->Stat(home_.Path(testing::U8(relative)), &status) && status.is_directory;
  }

  ScratchHome home_;
};

TEST_F(PlatformFilesTest, DriveTypesComeFromTheMap) {
  EXPECT_EQ(DRIVE_FIXED, GetDriveType("C:\\"));
  EXPECT_EQ(DRIVE_FIXED, GetDriveType("c:"));
  EXPECT_EQ(DRIVE_FIXED, GetDriveType("Z:\\"));
  EXPECT_EQ(DRIVE_REMOVABLE, GetDriveType("A:\\"));
  EXPECT_EQ(DRIVE_CDROM, GetDriveType("D:\\")); // no folder needed: no disc
  EXPECT_EQ(DRIVE_NO_ROOT_DIR, GetDriveType("E:\\"));
  EXPECT_EQ(DRIVE_UNKNOWN, GetDriveType("F:\\"));
  EXPECT_EQ(DRIVE_RAMDISK, GetDriveType("R:\\"));
  EXPECT_EQ(DRIVE_NO_ROOT_DIR, GetDriveType("Q:\\")); // unmapped
  EXPECT_EQ(DRIVE_REMOTE, GetDriveType("\\\\fileserver\\share\\"));
  EXPECT_EQ(DRIVE_REMOTE, GetDriveType("\\\\FileServer\\Share"));
  EXPECT_EQ(DRIVE_NO_ROOT_DIR, GetDriveType("\\\\fileserver\\other\\"));
  EXPECT_EQ(DRIVE_NO_ROOT_DIR, GetDriveType("\\\\fileserver\\"));
  EXPECT_EQ(DRIVE_NO_ROOT_DIR, GetDriveType("\\\\fileserver\\share\\dir\\"));
  // Not roots at all.
  EXPECT_EQ(DRIVE_NO_ROOT_DIR, GetDriveType("C:\\Windows\\"));
  EXPECT_EQ(DRIVE_NO_ROOT_DIR, GetDriveType("1:\\"));
  EXPECT_EQ(DRIVE_NO_ROOT_DIR, GetDriveType(""));
  EXPECT_EQ(DRIVE_NO_ROOT_DIR, GetDriveType("表"));
}

TEST_F(PlatformFilesTest, DriveTypeOfTheCurrentFolder) {
  ASSERT_EQ(0, ::chdir(home_.Path("floppy").c_str()));
  EXPECT_EQ(DRIVE_REMOVABLE, GetDriveType(nullptr));
  EXPECT_EQ(DRIVE_REMOVABLE, GetDriveType("\\"));
  ASSERT_EQ(0, ::chdir(home_.MakeDir("share_folder/x").c_str()));
  EXPECT_EQ(DRIVE_REMOTE, GetDriveType(nullptr));
}

TEST_F(PlatformFilesTest, CreateAndRemoveDirectory) {
  EXPECT_EQ(TRUE, CreateDirectory("C:\\表", nullptr));
  EXPECT_TRUE(LinuxDirExists(u8"drive_c/表"));
  EXPECT_EQ(FALSE, CreateDirectory("C:\\表", nullptr));        // exists
  EXPECT_EQ(TRUE, CreateDirectory("C:\\表\\ソ\\", nullptr));    // trailing backslash
  EXPECT_TRUE(LinuxDirExists(u8"drive_c/表/ソ"));
  EXPECT_EQ(FALSE, CreateDirectory("C:\\a\\b", nullptr));      // parent missing
  EXPECT_FALSE(LinuxDirExists(u8"drive_c/a"));
  EXPECT_EQ(FALSE, CreateDirectory("C:\\", nullptr));
  EXPECT_EQ(FALSE, CreateDirectory("E:\\x", nullptr));         // no root directory
  EXPECT_EQ(FALSE, CreateDirectory(nullptr, nullptr));

  EXPECT_EQ(FALSE, RemoveDirectory("C:\\表"));                  // not empty
  EXPECT_EQ(TRUE, RemoveDirectory("C:\\表\\ソ"));
  EXPECT_EQ(TRUE, RemoveDirectory("C:\\表"));
  EXPECT_FALSE(LinuxDirExists(u8"drive_c/表"));
  EXPECT_EQ(FALSE, RemoveDirectory("C:\\表"));                  // gone
  EXPECT_EQ(FALSE, RemoveDirectory("C:\\"));                    // empty, but a root
  EXPECT_TRUE(LinuxDirExists(u8"drive_c"));
  home_.MakeDir("share_folder");
  EXPECT_EQ(FALSE, RemoveDirectory("\\\\fileserver\\share\\"));
  EXPECT_TRUE(LinuxDirExists(u8"share_folder"));
}

TEST_F(PlatformFilesTest, DirectoriesFollowWindowsNameRules) {
  // Wildcards and reserved marks are no part of a name.
  EXPECT_EQ(FALSE, CreateDirectory("C:\\a?", nullptr));
  EXPECT_EQ(FALSE, CreateDirectory("C:\\*", nullptr));
  EXPECT_EQ(FALSE, CreateDirectory("C:\\a|b", nullptr));
  EXPECT_FALSE(LinuxDirExists(u8"drive_c/a?"));
  EXPECT_FALSE(LinuxDirExists(u8"drive_c/*"));
  // Trailing dots and spaces go: "x." and "y " are x and y.
  EXPECT_EQ(TRUE, CreateDirectory("C:\\x.", nullptr));
  EXPECT_TRUE(LinuxDirExists(u8"drive_c/x"));
  EXPECT_FALSE(LinuxDirExists(u8"drive_c/x."));
  EXPECT_EQ(FALSE, CreateDirectory("C:\\x ", nullptr)); // that is x again
  EXPECT_EQ(TRUE, CreateDirectory("C:\\x. \\y .", nullptr));
  EXPECT_TRUE(LinuxDirExists(u8"drive_c/x/y"));
  // The current folder is held open: it is never removed.
  ASSERT_EQ(0, ::chdir(home_.Path("drive_c/x/y").c_str()));
  EXPECT_EQ(FALSE, RemoveDirectory("C:\\x\\y"));
  EXPECT_EQ(FALSE, RemoveDirectory("."));
  EXPECT_TRUE(LinuxDirExists(u8"drive_c/x/y"));
  ASSERT_EQ(0, ::chdir(home_.Path("drive_c").c_str()));
  EXPECT_EQ(TRUE, RemoveDirectory("C:\\x\\y."));
  EXPECT_FALSE(LinuxDirExists(u8"drive_c/x/y"));
}

TEST_F(PlatformFilesTest, DirectoryCallsGoThroughTheEnv) {
  FaultInjectionEnv env;
  ScopedEnv use(&env);
  env.Fail(FaultInjectionEnv::Op::kCreateDir, home_.Path(testing::U8(u8"drive_c/ソ")));
  EXPECT_EQ(TRUE, CreateDirectory("C:\\表", nullptr));
  EXPECT_EQ(FALSE, CreateDirectory("C:\\ソ", nullptr));
  EXPECT_FALSE(LinuxDirExists(u8"drive_c/ソ"));
  env.Fail(FaultInjectionEnv::Op::kRemoveDir);
  EXPECT_EQ(FALSE, RemoveDirectory("C:\\表"));
  EXPECT_TRUE(LinuxDirExists(u8"drive_c/表"));
}

TEST_F(PlatformFilesTest, TempPath) {
  FaultInjectionEnv env;
  ScopedEnv use(&env);
  env.SetTempDir(home_.Path(testing::U8(u8"drive_c/一時")));
  char buf[MAX_PATH + 1];
  const std::string expected = "C:\\一時\\";
  EXPECT_EQ(expected.size(), GetTempPath(sizeof(buf), buf));
  EXPECT_EQ(expected, buf);
  // Too small: the size needed, terminator included.
  std::memset(buf, 'X', sizeof(buf));
  EXPECT_EQ(expected.size() + 1, GetTempPath(static_cast<DWORD>(expected.size()), buf));
  EXPECT_EQ('X', buf[0]);
  EXPECT_EQ(expected.size() + 1, GetTempPath(0, nullptr));

  env.SetTempDir("/");
  EXPECT_EQ(3u, GetTempPath(sizeof(buf), buf));
  EXPECT_STREQ("Z:\\", buf);
}

TEST_F(PlatformFilesTest, ModuleFileName) {
  char buf[MAX_PATH + 1];
  SetLastError(0xdeadbeef);
  DWORD n = GetModuleFileName(0, buf, sizeof(buf));
  ASSERT_GT(n, 0u);
  EXPECT_EQ(std::strlen(buf), n);
  EXPECT_EQ(ERROR_SUCCESS, GetLastError());
  EXPECT_EQ(0, std::strncmp(buf, "Z:\\", 3)) << buf; // the build folder is outside the home
  EXPECT_NE(nullptr, std::strstr(buf, "\\stmtlink_tests"));
}

// Windows' answers for every buffer size around the path's length, and for
// handles that name no module. "C:\表\StmtLinkStd" is 17 bytes.
struct ModuleFileNameCase {
  HMODULE module;
  DWORD size;
  DWORD result;
  const char* text; // null: the buffer is not written to
  DWORD last_error;
};

constexpr ModuleFileNameCase kModuleFileNameCases[] = {
    {0, MAX_PATH, 17, "C:\\表\\StmtLinkStd", ERROR_SUCCESS},
    {0, 18, 17, "C:\\表\\StmtLinkStd", ERROR_SUCCESS},     // just fits
    {0, 17, 17, "C:\\表\\StmtLinkSt", ERROR_INSUFFICIENT_BUFFER}, // no room for the terminator
    {0, 8, 8, "C:\\表\\S", ERROR_INSUFFICIENT_BUFFER},
    {0, 6, 6, "C:\\表", ERROR_INSUFFICIENT_BUFFER},
    {0, 5, 5, "C:\\", ERROR_INSUFFICIENT_BUFFER}, // never half of 表
    {0, 1, 1, "", ERROR_INSUFFICIENT_BUFFER},
    {0, 0, 0, nullptr, ERROR_INSUFFICIENT_BUFFER},
    {1234, MAX_PATH, 0, nullptr, ERROR_MOD_NOT_FOUND},
    {0xffffffff, MAX_PATH, 0, nullptr, ERROR_MOD_NOT_FOUND},
};

TEST_F(PlatformFilesTest, ModuleFileNameGivesWindowsAnswers) {
  FaultInjectionEnv env;
  ScopedEnv use(&env);
  env.SetExecutablePath(home_.Path(testing::U8(u8"drive_c/表/StmtLinkStd")));
  for (const ModuleFileNameCase& c : kModuleFileNameCases) {
    SCOPED_TRACE(::testing::Message() << "module " << c.module << ", size " << c.size);
    char buf[MAX_PATH + 1];
    std::memset(buf, '*', sizeof(buf));
    SetLastError(0xdeadbeef);
    EXPECT_EQ(c.result, GetModuleFileName(c.module, buf, c.size));
    EXPECT_EQ(c.last_error, GetLastError());
    const std::size_t written = c.text != nullptr ? std::strlen(c.text) + 1 : 0;
    if (c.text != nullptr) {
      EXPECT_STREQ(c.text, buf);
    }
    EXPECT_EQ('*', buf[written]) << "written past the terminator";
  }
  SetLastError(0xdeadbeef);
  EXPECT_EQ(0u, GetModuleFileName(0, nullptr, MAX_PATH));
  EXPECT_EQ(ERROR_INVALID_PARAMETER, GetLastError());
}

} // namespace
} // namespace stmtlink

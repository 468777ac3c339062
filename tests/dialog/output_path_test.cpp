// The output path rules: splitting, characters, drives, and folder creation
// with the removal of what a failed creation made. Every case with "表" or
// "ソ" (second byte 0x5C) or "ポ" (second byte 0x7C, the code of "|") checks
// that a scan treats a double-byte character as one unit.
#include <gtest/gtest.h>

#include <string>

#include "dialog/folder_tree.h"
#include "dialog/path_checks.h"
#include "dialog/path_parts.h"
#include "platform/env.h"
#include "tests/support/fault_injection_env.h"
#include "tests/support/scratch_home.h"
#include "tests/support/utf8.h"

namespace stmtlink {
namespace {

using testing::U8;

TEST(PathPartsTest, SplitsAtWholeBackslashesAndColons) {
  EXPECT_EQ("C:\\表\\ソ\\", FolderPart("C:\\表\\ソ\\a.xml"));
  EXPECT_EQ("a.xml", FilePart("C:\\表\\ソ\\a.xml"));
  EXPECT_EQ("C:\\", FolderPart("C:\\表"));
  EXPECT_EQ("表", FilePart("C:\\表"));
  EXPECT_EQ("", FolderPart("a.xml"));
  EXPECT_EQ("a.xml", FilePart("a.xml"));
  EXPECT_EQ("", FilePart("C:\\out\\"));
  EXPECT_EQ("C:", DrivePart("C:a.xml"));
  EXPECT_EQ("a.xml", AfterDrivePart("C:a.xml"));
  EXPECT_EQ("", DrivePart("a.xml"));
  EXPECT_EQ("a.xml", AfterDrivePart("a.xml"));

  EXPECT_FALSE(IsInDoubleByteChar("a表b", 0));
  EXPECT_TRUE(IsInDoubleByteChar("a表b", 1));
  EXPECT_TRUE(IsInDoubleByteChar("a表b", 2));
  EXPECT_FALSE(IsInDoubleByteChar("a表b", 3));
}

TEST(PathPartsTest, AppendSeparatorKnowsDoubleByteEndsAndTheBufferSize) {
  std::string s = "C:\\表";
  ASSERT_TRUE(AppendSeparator(&s, kPathBufferSize));
  EXPECT_EQ("C:\\表\\", s); // the trail byte 0x5C is no backslash
  ASSERT_TRUE(AppendSeparator(&s, kPathBufferSize));
  EXPECT_EQ("C:\\表\\", s);
  s.clear();
  EXPECT_FALSE(AppendSeparator(&s, kPathBufferSize));

  s = std::string(259, 'a');
  EXPECT_TRUE(AppendSeparator(&s, kPathBufferSize));
  EXPECT_EQ(260u, s.size());
  s = std::string(260, 'a');
  EXPECT_FALSE(AppendSeparator(&s, kPathBufferSize));
  // A full buffer ending in a double-byte character has no room either.
  s = std::string(258, 'a') + "表";
  EXPECT_FALSE(AppendSeparator(&s, kPathBufferSize));
  EXPECT_EQ(260u, s.size());
}

TEST(PathTextTest, ForbiddenCharactersAndDoubledBackslashes) {
  EXPECT_TRUE(IsValidPathText("C:\\out\\report.xml"));
  EXPECT_TRUE(IsValidPathText("\\\\server\\share\\report.xml"));
  EXPECT_TRUE(IsValidPathText("report.xml"));
  // "表\" is 95 5C 5C: no doubled backslash; "ポ" is 83 7C: no "|".
  EXPECT_TRUE(IsValidPathText("C:\\表\\ソ\\ポ.xml"));

  EXPECT_FALSE(IsValidPathText("C:\\out\\a*b.xml"));
  EXPECT_FALSE(IsValidPathText("C:\\out\\\\a.xml"));
  EXPECT_FALSE(IsValidPathText("\\\\server\\share\\\\a.xml"));
  EXPECT_FALSE(IsValidPathText("C:\\a:b.xml"));
  for (char c : std::string("/:,;*?\"><|")) {
    std::string path = std::string("C:\\out\\a") + c + "b.xml";
    EXPECT_FALSE(IsValidPathText(path)) << path;
  }
}

class OutputPathTest : public ::testing::Test {
 protected:
  OutputPathTest() {
    home_.WriteHostIni(U8(u8"[Drives]\n"
                          u8"A=floppy,removable\n"
                          u8"G=missing,removable\n"
                          u8"D=/media/cdrom,cdrom\n"
                          u8"E=,noroot\n"
                          u8"F=,unknown\n"
                          u8"R=ram,ramdisk\n"
                          u8"\\\\fileserver\\share=share_folder,remote\n"));
    home_.MakeDir("floppy");
    home_.MakeDir("ram");
    home_.MakeDir("share_folder");
    home_.MakeDir("drive_c/existing");
  }
  bool DirExists(const char8_t* relative) {
    FileStatus status;
    return Env::Real()->Stat(home_.Path(U8(relative)), &status) && status.is_directory;
  }

  ScratchHome home_;
};

TEST_F(OutputPathTest, DrivesThatCanAndCannotTakeTheFile) {
  EXPECT_TRUE(IsValidDrive("C:\\out\\a.xml"));
  EXPECT_TRUE(IsValidDrive("c:\\a.xml"));
  EXPECT_TRUE(IsValidDrive("A:\\a.xml"));
  EXPECT_FALSE(IsValidDrive("G:\\a.xml")); // removable, no medium: root not accessible
  EXPECT_FALSE(IsValidDrive("D:\\a.xml")); // CD-ROM
  EXPECT_FALSE(IsValidDrive("R:\\a.xml")); // RAM disk
  EXPECT_FALSE(IsValidDrive("F:\\a.xml")); // unknown type
  EXPECT_TRUE(IsValidDrive("E:\\a.xml"));  // no root directory: passes, as on Windows
  EXPECT_TRUE(IsValidDrive("Q:\\a.xml"));  // unmapped letter: the same
  EXPECT_FALSE(IsValidDrive("\\a.xml"));
  EXPECT_FALSE(IsValidDrive("1:\\a.xml"));

  EXPECT_TRUE(IsValidDrive("\\\\fileserver\\share\\a.xml"));
  EXPECT_TRUE(IsValidDrive("\\\\FILESERVER\\share\\sub\\a.xml"));
  EXPECT_FALSE(IsValidDrive("\\\\fileserver\\a.xml"));         // a server, no share
  EXPECT_FALSE(IsValidDrive("\\\\fileserver\\share"));         // no backslash ends the share
  EXPECT_FALSE(IsValidDrive("\\\\fileserver\\other\\a.xml"));  // no such share
}

TEST_F(OutputPathTest, NormalizeAndExistingFolder) {
  std::string path = "C:\\existing\\a.xml";
  ASSERT_TRUE(NormalizeFolder(&path));
  EXPECT_EQ("C:\\existing\\", path);
  ASSERT_TRUE(NormalizeFolder(&path));
  EXPECT_EQ("C:\\existing\\", path);
  path = "C:\\表";
  ASSERT_TRUE(NormalizeFolder(&path));
  EXPECT_EQ("C:\\", path);
  path = "a.xml";
  EXPECT_FALSE(NormalizeFolder(&path));
  EXPECT_EQ("a.xml", path);

  EXPECT_TRUE(IsExistingFolder("C:\\existing\\"));
  EXPECT_TRUE(IsExistingFolder("C:\\existing\\missing.xml"));
  EXPECT_FALSE(IsExistingFolder("C:\\missing\\"));
  EXPECT_FALSE(IsExistingFolder("E:\\"));
}

TEST_F(OutputPathTest, CreatesEveryMissingFolderDoubleByteAware) {
  EXPECT_TRUE(CreateFolderTree("C:\\existing\\表\\ソ\\"));
  EXPECT_TRUE(DirExists(u8"drive_c/existing/表/ソ"));
  // Already there: nothing to do, still true.
  EXPECT_TRUE(CreateFolderTree("C:\\existing\\表\\ソ\\"));
  // Without a trailing backslash the last name is a file's ("ソ" ends in
  // 0x5C, which is no backslash): only its folder is made.
  EXPECT_TRUE(CreateFolderTree("C:\\new\\ソ"));
  EXPECT_TRUE(DirExists(u8"drive_c/new"));
  EXPECT_FALSE(DirExists(u8"drive_c/new/ソ"));
  EXPECT_TRUE(CreateFolderTree("\\\\fileserver\\share\\表\\"));
  EXPECT_TRUE(DirExists(u8"share_folder/表"));

  EXPECT_FALSE(CreateFolderTree(""));
  EXPECT_FALSE(CreateFolderTree("E:\\x\\")); // no root directory to create in
  EXPECT_FALSE(CreateFolderTree("C:\\"));     // a root alone
  EXPECT_FALSE(CreateFolderTree(std::string("C:\\") + std::string(300, 'a') + "\\"));
  // The device and long-path prefixes name no mapped drive: nothing is made.
  EXPECT_FALSE(CreateFolderTree("\\\\.\\C:\\existing\\dev\\"));
  EXPECT_FALSE(CreateFolderTree("\\\\?\\C:\\existing\\long\\"));
  EXPECT_FALSE(DirExists(u8"drive_c/existing/dev"));
  EXPECT_FALSE(DirExists(u8"drive_c/existing/long"));
}

TEST_F(OutputPathTest, FailedCreationRemovesWhatItMadeAndKeepsWhatExisted) {
  FaultInjectionEnv env;
  env.FailAfter(FaultInjectionEnv::Op::kCreateDir, 1); // the upper folder is made, the lower fails
  {
    ScopedEnv use(&env);
    EXPECT_FALSE(CreateFolderTree("C:\\existing\\表\\ソ\\"));
  }
  EXPECT_EQ(2, env.Calls(FaultInjectionEnv::Op::kCreateDir));
  EXPECT_EQ(1, env.Calls(FaultInjectionEnv::Op::kRemoveDir));
  EXPECT_FALSE(DirExists(u8"drive_c/existing/表"));
  EXPECT_TRUE(DirExists(u8"drive_c/existing"));
}

TEST_F(OutputPathTest, RemovalStopsAtTheStopFolderAndRefusesAStrangerStop) {
  ASSERT_TRUE(CreateFolderTree("C:\\existing\\a\\b\\c\\"));
  EXPECT_FALSE(RemoveCreatedFolders("C:\\existing\\a\\b\\c\\", "C:\\other\\"));
  EXPECT_FALSE(RemoveCreatedFolders("C:\\existing\\a\\b\\c\\", "A:\\"));
  EXPECT_TRUE(DirExists(u8"drive_c/existing/a/b/c"));
  // Case is ignored in the stop folder, as Windows paths are.
  EXPECT_TRUE(RemoveCreatedFolders("C:\\existing\\a\\b\\c\\", "c:\\EXISTING\\A\\"));
  EXPECT_FALSE(DirExists(u8"drive_c/existing/a/b"));
  EXPECT_TRUE(DirExists(u8"drive_c/existing/a"));
  // A folder that is not empty is not removed, and says so.
  home_.MakeDir("drive_c/existing/a/kept");
  home_.WriteFile("drive_c/existing/a/kept/file", "x");
  EXPECT_FALSE(RemoveCreatedFolders("C:\\existing\\a\\kept\\", "C:\\existing\\"));
  EXPECT_TRUE(DirExists(u8"drive_c/existing/a/kept"));
}

} // namespace
} // namespace stmtlink

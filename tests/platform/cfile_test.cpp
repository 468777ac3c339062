#include "platform/cfile.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include "tests/support/fault_injection_env.h"
#include "tests/support/scratch_home.h"
#include "tests/support/temp_dir.h"
#include "tests/support/utf8.h"

namespace stmtlink {
namespace {

using testing::ReadTextFile;
using testing::U8;

TEST(CFileTest, CreatesTruncatesAndWritesUnderTheMappedPath) {
  ScratchHome home;
  home.WriteFile(U8(u8"drive_c/決算.xml"), "old contents that must go");
  CFile file;
  ASSERT_TRUE(file.Open("C:\\決算.xml", CFile::modeCreate | CFile::modeWrite));
  file.Write("abc", 3);
  file.Write("", 0);
  file.Close();
  EXPECT_FALSE(file.IsOpen());
  EXPECT_EQ(ReadTextFile(home.Path(U8(u8"drive_c/決算.xml"))), "abc");
}

TEST(CFileTest, OpenFailuresSayWhy) {
  ScratchHome home;
  CFile file;
  CFileException error;
  EXPECT_FALSE(file.Open("C:\\no such folder\\a.xml", CFile::modeCreate | CFile::modeWrite, &error));
  EXPECT_EQ(error.m_cause, CFileException::fileNotFound);
  EXPECT_EQ(error.m_strFileName, "C:\\no such folder\\a.xml");
  EXPECT_FALSE(file.Open("Q:\\a.xml", CFile::modeCreate | CFile::modeWrite, &error));
  EXPECT_EQ(error.m_cause, CFileException::badPath);
  EXPECT_FALSE(file.Open("C:\\missing.inf", CFile::modeRead, &error));
  EXPECT_EQ(error.m_cause, CFileException::fileNotFound);
  EXPECT_FALSE(file.IsOpen());
}

TEST(CFileTest, ShortWriteRaisesAndLaterWritesRaiseToo) {
  ScratchHome home;
  home.WriteFile("drive_c/a.txt", "the earlier file");
  FaultInjectionEnv env;
  ScopedEnv use(&env);
  CFile file;
  ASSERT_TRUE(file.Open("C:\\a.txt", CFile::modeCreate | CFile::modeWrite));
  env.SetDiskSpace(4);
  file.Write("abc", 3);
  EXPECT_THROW(file.Write("def", 3), CFileException);
  env.Clear();
  EXPECT_THROW(file.Write("g", 1), CFileException);
  EXPECT_THROW(file.Close(), CFileException);
  EXPECT_FALSE(file.IsOpen());
  // The fragment never takes the earlier file's place, and goes itself.
  EXPECT_EQ(ReadTextFile(home.Path("drive_c/a.txt")), "the earlier file");
  EXPECT_EQ(testing::FolderEntries(home.Path("drive_c")), std::vector<std::string>{"a.txt"});
}

TEST(CFileTest, FailedCloseRaisesAndAbortDoesNot) {
  ScratchHome home;
  FaultInjectionEnv env;
  ScopedEnv use(&env);
  env.Fail(FaultInjectionEnv::Op::kClose);
  CFile file;
  ASSERT_TRUE(file.Open("C:\\a.txt", CFile::modeCreate | CFile::modeWrite));
  file.Write("abc", 3);
  EXPECT_THROW(file.Close(), CFileException);
  ASSERT_TRUE(file.Open("C:\\b.txt", CFile::modeCreate | CFile::modeWrite));
  EXPECT_NO_THROW(file.Abort());
}

TEST(CFileTest, ReplacesTheTargetOnlyWhenWholeAndRefusesWhatItCouldNotWrite) {
  ScratchHome home;
  home.WriteFile("drive_c/a.txt", "old");
  {
    CFile file;
    ASSERT_TRUE(file.Open("C:\\a.txt", CFile::modeCreate | CFile::modeWrite));
    file.Write("new", 3);
    // Until Close the reader of the target sees the earlier file whole.
    EXPECT_EQ(ReadTextFile(home.Path("drive_c/a.txt")), "old");
  } // dropped without Close
  EXPECT_EQ(ReadTextFile(home.Path("drive_c/a.txt")), "old");
  EXPECT_EQ(testing::FolderEntries(home.Path("drive_c")), std::vector<std::string>{"a.txt"});

  CFileException error;
  CFile file;
  // A device, a folder and a read-only file are refused as a direct write was.
  EXPECT_FALSE(file.Open("Z:\\dev\\full", CFile::modeCreate | CFile::modeWrite, &error));
  home.MakeDir("drive_c/folder");
  EXPECT_FALSE(file.Open("C:\\folder", CFile::modeCreate | CFile::modeWrite, &error));
  home.WriteFile("drive_c/ro.txt", "kept");
  chmod(home.Path("drive_c/ro.txt").c_str(), 0444);
  if (geteuid() != 0) {
    EXPECT_FALSE(file.Open("C:\\ro.txt", CFile::modeCreate | CFile::modeWrite, &error));
    EXPECT_EQ(error.m_cause, CFileException::accessDenied);
  }
}

TEST(CFileTest, ReadsAFileInPieces) {
  ScratchHome home;
  home.WriteFile("drive_c/a.inf", "hello");
  CFile file;
  ASSERT_TRUE(file.Open("C:\\a.inf", CFile::modeRead | CFile::shareDenyNone | CFile::typeBinary));
  char buffer[4];
  EXPECT_EQ(file.Read(buffer, 4), 4u);
  EXPECT_EQ(std::string(buffer, 4), "hell");
  EXPECT_EQ(file.Read(buffer, 4), 1u);
  EXPECT_EQ(buffer[0], 'o');
  EXPECT_EQ(file.Read(buffer, 4), 0u);
  EXPECT_THROW(file.Write("x", 1), CFileException);
  file.Close();
}

} // namespace
} // namespace stmtlink

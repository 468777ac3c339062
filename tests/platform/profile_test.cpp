// GetPrivateProfileString.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstring>
#include <string>

#include "platform/ini_file.h"
#include "platform/win_api.h"
#include "tests/support/fault_injection_env.h"
#include "tests/support/scratch_home.h"
#include "tests/support/utf8.h"

namespace stmtlink {
namespace {

class ProfileTest : public ::testing::Test {
 protected:
  ProfileTest() {
    home_.MakeDir(testing::U8(u8"drive_c/表"));
    // Narrow literals are CP932: so is the file.
    home_.WriteFile(testing::U8(u8"drive_c/表/ZephonDef.ini"),
                    "[ProgramLevel]\r\n"
                    "HJ21=2\r\n"
                    "Empty=\r\n"
                    "Name = 決算書 \r\n"
                    "Quoted=\"  a  \"\r\n"
                    "[Other]\r\n"
                    "HJ21=9\r\n");
  }

  // The value read into a buffer of `size` bytes, and the count returned.
  std::string Read(const char* section, const char* key, const char* default_value,
                   DWORD size = 16, const char* file = kFile) {
    std::string buffer(size + 1, 'X');
    DWORD n = GetPrivateProfileString(section, key, default_value, buffer.data(), size, file);
    EXPECT_EQ(std::strlen(buffer.c_str()), n);
    EXPECT_EQ('X', buffer[size]); // nothing past the buffer
    return buffer.c_str();
  }

  static constexpr const char* kFile = "C:\\表\\ZephonDef.ini";
  ScratchHome home_;
};

TEST_F(ProfileTest, ReadsValuesWithTheProfileRules) {
  EXPECT_EQ("2", Read("ProgramLevel", "HJ21", "1"));
  EXPECT_EQ("2", Read("programlevel", "hj21", "1")); // names ignore case
  EXPECT_EQ("9", Read("Other", "HJ21", "1"));
  EXPECT_EQ("決算書", Read("ProgramLevel", "Name", ""));
  EXPECT_EQ("  a  ", Read("ProgramLevel", "Quoted", ""));
  EXPECT_EQ("", Read("ProgramLevel", "Empty", "1")); // present but empty
}

TEST_F(ProfileTest, MissingFileSectionOrKeyGivesTheDefault) {
  EXPECT_EQ("1", Read("ProgramLevel", "HJ22", "1"));
  EXPECT_EQ("1", Read("NoSection", "HJ21", "1"));
  EXPECT_EQ("1", Read("ProgramLevel", "HJ21", "1", 16, "C:\\表\\missing.ini"));
  EXPECT_EQ("1", Read("ProgramLevel", "HJ21", "1", 16, "Q:\\ZephonDef.ini"));
  EXPECT_EQ("", Read("ProgramLevel", "HJ22", nullptr));
  EXPECT_EQ("a b", Read("ProgramLevel", "HJ22", "a b   ")); // trailing blanks go
  EXPECT_EQ("", Read("ProgramLevel", "HJ22", "   "));
}

TEST_F(ProfileTest, CutsAtACharacterBoundary) {
  EXPECT_EQ("決", Read("ProgramLevel", "Name", "", 4));  // 3 bytes of room: one kanji
  EXPECT_EQ("決算", Read("ProgramLevel", "Name", "", 5));
  EXPECT_EQ("", Read("ProgramLevel", "Name", "", 2));
  EXPECT_EQ("", Read("ProgramLevel", "Name", "", 1));
  EXPECT_EQ("表", Read("ProgramLevel", "HJ22", "表ソ", 4)); // the default too
  char untouched = 'X';
  EXPECT_EQ(0u, GetPrivateProfileString("ProgramLevel", "HJ21", "1", &untouched, 0, kFile));
  EXPECT_EQ('X', untouched);
}

TEST_F(ProfileTest, RelativeAndBareFileNames) {
  ASSERT_EQ(0, _chdir("C:\\表"));
  EXPECT_EQ("2", Read("ProgramLevel", "HJ21", "1", 16, ".\\ZephonDef.ini"));
  // Without a folder Windows looks in its own folder, not the current one.
  EXPECT_EQ("1", Read("ProgramLevel", "HJ21", "1", 16, "ZephonDef.ini"));
  home_.MakeDir("drive_c/Windows");
  home_.WriteFile("drive_c/Windows/ZephonDef.ini", "[ProgramLevel]\nHJ21=3\n");
  EXPECT_EQ("3", Read("ProgramLevel", "HJ21", "1", 16, "ZephonDef.ini"));
}

TEST_F(ProfileTest, LinesEndInCrLfLfOrALoneCr) {
  home_.WriteFile("drive_c/cr.ini", "[ProgramLevel]\rHJ21=2\r[Other]\rA=x\r\n\nB=y\n\rC=z");
  EXPECT_EQ("2", Read("ProgramLevel", "HJ21", "1", 16, "C:\\cr.ini"));
  EXPECT_EQ("x", Read("Other", "A", "d", 16, "C:\\cr.ini"));
  EXPECT_EQ("y", Read("Other", "B", "d", 16, "C:\\cr.ini"));
  EXPECT_EQ("z", Read("Other", "C", "d", 16, "C:\\cr.ini"));
  EXPECT_EQ("d", Read("ProgramLevel", "A", "d", 16, "C:\\cr.ini"));
}

TEST_F(ProfileTest, AnUnreadableFileGivesTheDefault) {
  FaultInjectionEnv env;
  ScopedEnv use(&env);
  env.Fail(FaultInjectionEnv::Op::kReadFile);
  EXPECT_EQ("1", Read("ProgramLevel", "HJ21", "1"));
}

TEST_F(ProfileTest, OnlyTheStartOfARegularFileIsRead) {
  // A device or a FIFO named as the profile gives the default at once.
  ASSERT_EQ(0, symlink("/dev/zero", home_.Path("drive_c/zero.ini").c_str()));
  EXPECT_EQ("d", Read("ProgramLevel", "HJ21", "d", 16, "C:\\zero.ini"));
  ASSERT_EQ(0, mkfifo(home_.Path("drive_c/fifo.ini").c_str(), 0600));
  EXPECT_EQ("d", Read("ProgramLevel", "HJ21", "d", 16, "C:\\fifo.ini"));
  IniFile ini;
  EXPECT_FALSE(IniFile::Load(home_.Path("drive_c/fifo.ini"), &ini));
  // A key beyond the bytes a profile may hold is not found.
  home_.WriteFile("drive_c/big.ini", "[S]\nA=1\n" + std::string(kMaxProfileBytes, ';') + "\nB=2\n");
  EXPECT_EQ("1", Read("S", "A", "d", 16, "C:\\big.ini"));
  EXPECT_EQ("d", Read("S", "B", "d", 16, "C:\\big.ini"));
}

} // namespace
} // namespace stmtlink

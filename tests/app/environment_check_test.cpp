// The receiver's level check, run in a folder of the test's own.
#include <gtest/gtest.h>

#include <filesystem>

#include "app/environment_check.h"
#include "platform/drive_map.h"
#include "platform/host_home.h"
#include "tests/support/recording_front_end.h"
#include "tests/support/temp_dir.h"
#include "tests/support/utf8.h"

namespace stmtlink {
namespace {

using testing::RecordingFrontEnd;
using testing::ScopedCurrentDir;
using testing::TempDir;
using testing::WriteTextFile;

class EnvironmentCheckTest : public ::testing::Test {
 protected:
  void SetUp() override {
    SetHostHome(home_.path());
    ReloadDriveMap();
  }
  // Runs the check in dir with the given definition file content (none when
  // null) and returns the state.
  EnvironmentState StateWith(const char* content) {
    if (content) {
      EXPECT_TRUE(testing::WriteTextFile(dir_.File("ZephonDef.ini"), content));
    }
    ScopedCurrentDir cwd(dir_.path());
    return ReadEnvironmentState();
  }

  TempDir home_;
  TempDir dir_;
};

TEST_F(EnvironmentCheckTest, LevelTwoIsCompatible) {
  EXPECT_EQ(EnvironmentState::kCompatible, StateWith("[ProgramLevel]\nHJ21=2\n"));
}

TEST_F(EnvironmentCheckTest, LevelsAndMissingPiecesMapToTheirStates) {
  EXPECT_EQ(EnvironmentState::kNotInstalled, StateWith(nullptr));
  EXPECT_EQ(EnvironmentState::kReceiverTooNew, StateWith("[ProgramLevel]\nHJ21=3\n"));
  EXPECT_EQ(EnvironmentState::kReceiverTooOld, StateWith("[ProgramLevel]\nHJ21=1\n"));
  EXPECT_EQ(EnvironmentState::kReceiverTooOld, StateWith("[ProgramLevel]\nHJ21=abc\n"));
  EXPECT_EQ(EnvironmentState::kNotInstalled, StateWith("[ProgramLevel]\nHJ21=\n"));
  // No section or no key: the default level 1 applies.
  EXPECT_EQ(EnvironmentState::kReceiverTooOld, StateWith("[Other]\nHJ21=2\n"));
  EXPECT_EQ(EnvironmentState::kReceiverTooOld, StateWith("[ProgramLevel]\nHJ22=2\n"));
}

TEST_F(EnvironmentCheckTest, MismatchIsShownOnceWithCaptionAndExclamation) {
  RecordingFrontEnd front_end;
  ASSERT_TRUE(WriteTextFile(dir_.File("ZephonDef.ini"), "[ProgramLevel]\nHJ21=3\n"));
  ScopedCurrentDir cwd(dir_.path());
  EXPECT_EQ(0, CheckEnvironment(4660, 1));
  ASSERT_EQ(1u, front_end.messages.size());
  EXPECT_EQ(4660u, front_end.messages[0].owner);
  EXPECT_EQ("決算書", front_end.messages[0].caption);
  EXPECT_EQ(0x30u, front_end.messages[0].flags);
  EXPECT_NE(std::string::npos, front_end.messages[0].text.find("連動コンポーネントの最新版"));

  // Without messages nothing is shown; a compatible level shows nothing.
  EXPECT_EQ(0, CheckEnvironment(0, 0));
  ASSERT_TRUE(WriteTextFile(dir_.File("ZephonDef.ini"), "[ProgramLevel]\nHJ21=2\n"));
  EXPECT_EQ(1, CheckEnvironment(0, 1));
  EXPECT_EQ(1u, front_end.messages.size());
}

TEST_F(EnvironmentCheckTest, FolderEndingInKanjiWithTrailByte5CGetsASeparator) {
  // "表" is 95 5C in CP932: its second byte must not count as a backslash.
  std::string kanji_dir = dir_.File(testing::U8(u8"表"));
  std::filesystem::create_directory(kanji_dir);
  ASSERT_TRUE(WriteTextFile(kanji_dir + "/ZephonDef.ini", "[ProgramLevel]\nHJ21=2\n"));
  ScopedCurrentDir cwd(kanji_dir);
  std::string path = DefinitionFilePath();
  EXPECT_EQ("\\表\\ZephonDef.ini", path.substr(path.size() - 17));
  EXPECT_EQ(EnvironmentState::kCompatible, ReadEnvironmentState());
}

TEST_F(EnvironmentCheckTest, DriveRootGetsNoSecondSeparator) {
  std::string drive_c = home_.File("drive_c");
  std::filesystem::create_directory(drive_c);
  ASSERT_TRUE(WriteTextFile(drive_c + "/ZephonDef.ini", "[ProgramLevel]\nHJ21=2\n"));
  ScopedCurrentDir cwd(drive_c);
  EXPECT_EQ("C:\\ZephonDef.ini", DefinitionFilePath());
  EXPECT_EQ(EnvironmentState::kCompatible, ReadEnvironmentState());
}

} // namespace
} // namespace stmtlink

// The real programs started as the host starts them, on books built here.
#include <gtest/gtest.h>

#include <filesystem>

#include "tests/support/books_builder.h"
#include "tests/support/program_runner.h"
#include "tests/support/temp_dir.h"
#include "tests/support/utf8.h"

namespace stmtlink {
namespace {

using testing::BooksBuilder;
using testing::BuiltProgram;
using testing::ProgramRun;
using testing::ReadTextFile;
using testing::RunProgram;
using testing::TempDir;
using testing::U8;
using testing::WriteTextFile;

constexpr char kHostLine[] = "4660,1025,7,";

std::string NotificationLog(int result) {
  return "EnableWindow 4660 FALSE\n"
         "SetForegroundWindow 4660\n"
         "EnableWindow 4660 TRUE\n"
         "PostMessage 4660 msg=1025 wParam=7 lParam=" + std::to_string(result) + "\n"
         "EnableWindow 4660 TRUE\n";
}

class StartUpE2eTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(books_.ok());
    ASSERT_TRUE(books_.AddDataSet({}));
  }
  // A copy of the standard edition in a folder of its own, with the given
  // definition file (none when null).
  std::string CopiedProgram(const char* definition) {
    std::string copy = program_dir_.File("StmtLinkStd");
    std::filesystem::copy_file(BuiltProgram("StmtLinkStd"), copy,
                               std::filesystem::copy_options::overwrite_existing);
    std::filesystem::remove(program_dir_.File("ZephonDef.ini"));
    if (definition) {
      EXPECT_TRUE(WriteTextFile(program_dir_.File("ZephonDef.ini"), definition));
    }
    return copy;
  }
  ProgramRun RunBatch(const std::string& program) {
    std::filesystem::remove(home_.File("host-window.log"));
    // Past start-up, the conditions dialog executes with a new output file.
    return RunProgram(program, {"--ui", "batch", "--home", home_.path(), "--output", "C:\\report.xml",
                                kHostLine});
  }
  std::string WindowLog() { return ReadTextFile(home_.File("host-window.log")); }

  TempDir home_;
  TempDir program_dir_;
  BooksBuilder books_{home_.path()};
};

TEST_F(StartUpE2eTest, MissingDefinitionFileFailsAndTellsTheHost) {
  ProgramRun run = RunBatch(CopiedProgram(nullptr));
  EXPECT_EQ(2, run.exit_status) << run.err;
  EXPECT_NE(std::string::npos, run.err.find(U8(u8"決算書 [exclamation] 動作環境が不正です。"))) << run.err;
  EXPECT_EQ(NotificationLog(2), WindowLog());
}

TEST_F(StartUpE2eTest, ReceiverLevelsGiveTheirMessages) {
  struct Case {
    const char* definition;
    std::u8string expected;
    int exit_status;
  } cases[] = {
      {"[ProgramLevel]\nHJ21=3\n", u8"連動コンポーネントの最新版を入手", 2},
      {"[ProgramLevel]\nHJ21=1\n", u8"ES_APRPACKAGENAMEの最新版を入手", 2},
      {"[ProgramLevel]\nHJ21=x\n", u8"ES_APRPACKAGENAMEの最新版を入手", 2},
      {"[ProgramLevel]\nHJ21=\n", u8"動作環境が不正です。", 2},
      {"[ProgramLevel]\nHJ21=2\n", u8"決算書 [information] 決算書情報の出力が終了しました。", 0},
  };
  for (const Case& c : cases) {
    ProgramRun run = RunBatch(CopiedProgram(c.definition));
    EXPECT_EQ(c.exit_status, run.exit_status) << c.definition << run.err;
    EXPECT_NE(std::string::npos, run.err.find(U8(c.expected.c_str()))) << c.definition << run.err;
    EXPECT_EQ(NotificationLog(c.exit_status), WindowLog()) << c.definition;
  }
}

TEST_F(StartUpE2eTest, FailedInitiateEndsQuietlyWithoutNotification) {
  std::string ini = BooksBuilder::DefaultHostIni();
  ini.replace(ini.find("Initiate=0"), 10, "Initiate=3");
  ASSERT_TRUE(books_.WriteHostIni(ini));
  ProgramRun run = RunBatch(BuiltProgram("StmtLinkStd"));
  EXPECT_EQ(0, run.exit_status);
  EXPECT_EQ("", run.err);
  EXPECT_EQ("", WindowLog());
}

TEST_F(StartUpE2eTest, EachEditionNamesItselfInItsVersion) {
  struct Case {
    const char* program;
    std::u8string product;
  } cases[] = {{"StmtLinkNeo", u8"ヴェルカ２０ NEO"},
               {"StmtLinkStd", u8"ヴェルカ２０ 決算書連動"},
               {"StmtLinkLumina", u8"ヴェルカ２０ ルミナ"}};
  for (const Case& c : cases) {
    ProgramRun run = RunProgram(BuiltProgram(c.program), {"--version"});
    EXPECT_EQ(0, run.exit_status);
    EXPECT_EQ(0u, run.out.find(std::string(c.program) + " 20.01.02\n")) << run.out;
    EXPECT_NE(std::string::npos, run.out.find("ProductName: " + U8(c.product.c_str()))) << run.out;
    EXPECT_NE(std::string::npos, run.out.find("FileVersion: 20.01.02\n"));
    EXPECT_NE(std::string::npos, run.out.find("ProductVersion: 20.01.02\n"));
  }
}

TEST_F(StartUpE2eTest, HomeWithoutBooksAndBadOptionsAreRefusedInWords) {
  TempDir empty_home;
  ProgramRun run = RunProgram(BuiltProgram("StmtLinkStd"), {"--ui", "batch", "--home", empty_home.path()});
  EXPECT_EQ(2, run.exit_status);
  EXPECT_NE(std::string::npos, run.err.find("stmtlink-books sample --home " + empty_home.path())) << run.err;

  run = RunProgram(BuiltProgram("StmtLinkStd"), {"--from", "13"});
  EXPECT_EQ(2, run.exit_status);
  EXPECT_NE(std::string::npos, run.err.find("--from takes a number from 1 to 12")) << run.err;

  run = RunProgram(BuiltProgram("StmtLinkStd"), {"--help"});
  EXPECT_EQ(0, run.exit_status);
  EXPECT_NE(std::string::npos, run.out.find("--home DIR"));
  run = RunProgram(BuiltProgram("StmtLinkStd"), {"-V"});
  EXPECT_EQ(0, run.exit_status);
  EXPECT_NE(std::string::npos, run.out.find("FileVersion: "));
  // A stray word is not taken for the host's command line.
  run = RunProgram(BuiltProgram("StmtLinkStd"), {"--home", home_.path(), "report.xml"});
  EXPECT_EQ(2, run.exit_status);
  EXPECT_NE(std::string::npos, run.err.find("'report.xml' is neither an option nor a host command line"));
}

TEST_F(StartUpE2eTest, TheQtFrontEndRunsOffscreenAndIsRefusedWithoutADisplay) {
  const std::vector<std::string> args = {"--ui", "qt", "--home", home_.path(), "--output",
                                         "C:\\report.xml", "--answer", "yes"};
  ProgramRun run = RunProgram(BuiltProgram("StmtLinkStd"), args,
                              {"DISPLAY=", "WAYLAND_DISPLAY=", "QT_QPA_PLATFORM="});
  EXPECT_EQ(2, run.exit_status);
  EXPECT_NE(std::string::npos, run.err.find("--ui qt needs a display")) << run.err;

  // A display that is set but does not answer: refused in words, where Qt
  // would end the process; without --ui the run falls back to batch.
  const std::vector<std::string> dead_display = {"DISPLAY=:97", "WAYLAND_DISPLAY=",
                                                 "QT_QPA_PLATFORM="};
  run = RunProgram(BuiltProgram("StmtLinkStd"), args, dead_display);
  EXPECT_EQ(2, run.exit_status);
  EXPECT_NE(std::string::npos, run.err.find("the display :97 cannot be reached")) << run.err;
  std::vector<std::string> chosen(args.begin() + 2, args.end());
  chosen.push_back(kHostLine);
  run = RunProgram(BuiltProgram("StmtLinkStd"), chosen, dead_display);
  EXPECT_EQ(0, run.exit_status) << run.err;
  EXPECT_TRUE(std::filesystem::exists(home_.File("drive_c/report.xml")));

  std::vector<std::string> unattended = args;
  unattended.push_back("--unattended");
  unattended.push_back(kHostLine);
  std::filesystem::remove(home_.File("host-window.log"));
  std::filesystem::remove(home_.File("drive_c/report.xml"));
  // Without a runtime folder named, Qt has nothing to warn about either.
  run = RunProgram(BuiltProgram("StmtLinkStd"), unattended,
                   {"QT_QPA_PLATFORM=offscreen", "XDG_RUNTIME_DIR="});
  EXPECT_EQ(0, run.exit_status) << run.err;
  EXPECT_EQ(std::string::npos, run.err.find("XDG_RUNTIME_DIR")) << run.err;
  EXPECT_EQ(NotificationLog(0), WindowLog());
  EXPECT_TRUE(std::filesystem::exists(home_.File("drive_c/report.xml")));

  // A Qt platform that cannot start (as a display lost at start): Qt would
  // abort the process; the run ends as failed, in words, and the host hears it.
  std::filesystem::remove(home_.File("host-window.log"));
  std::vector<std::string> with_host = args;
  with_host.push_back(kHostLine);
  run = RunProgram(BuiltProgram("StmtLinkStd"), with_host, {"QT_QPA_PLATFORM=no-such-platform"});
  EXPECT_EQ(2, run.exit_status) << run.err;
  EXPECT_NE(std::string::npos, run.err.find("StmtLinkStd: the windows cannot be shown: ")) << run.err;
  EXPECT_EQ("EnableWindow 4660 TRUE\nPostMessage 4660 msg=1025 wParam=7 lParam=2\n", WindowLog());
  // Refused before Qt starts, the host hears it too.
  std::filesystem::remove(home_.File("host-window.log"));
  run = RunProgram(BuiltProgram("StmtLinkStd"), with_host, dead_display);
  EXPECT_EQ(2, run.exit_status);
  EXPECT_EQ("EnableWindow 4660 TRUE\nPostMessage 4660 msg=1025 wParam=7 lParam=2\n", WindowLog());

  // --unattended is for the windows of qt only.
  run = RunProgram(BuiltProgram("StmtLinkStd"), {"--ui", "batch", "--unattended", "--home", home_.path()});
  EXPECT_EQ(2, run.exit_status);
}

TEST_F(StartUpE2eTest, HomeComesFromTheEnvironmentWhenNotGiven) {
  std::filesystem::remove(home_.File("host-window.log"));
  ProgramRun run = RunProgram(BuiltProgram("StmtLinkStd"),
                              {"--ui", "batch", "--output", "C:\\report.xml", kHostLine},
                              {"STMTLINK_HOME=" + home_.path()});
  EXPECT_EQ(0, run.exit_status) << run.err;
  EXPECT_EQ(NotificationLog(0), WindowLog());
}

} // namespace
} // namespace stmtlink

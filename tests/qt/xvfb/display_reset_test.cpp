// The real program on an X server that resets whenever its last client
// leaves: the program's own display check must not leave the server
// resetting just when Qt connects (Qt would end the process).
#include <gtest/gtest.h>

#include <filesystem>

#include "tests/qt/xvfb/sample_home.h"
#include "tests/qt/xvfb/xvfb_display.h"
#include "tests/support/program_runner.h"
#include "tests/support/temp_dir.h"

namespace stmtlink {
namespace {

using testing::ProgramRun;

TEST(DisplayResetTest, QtRunsStartOnAServerThatResetsWhenIdle) {
  XVFB_OR_SKIP();
  testing::TempDir home;
  std::string error;
  ASSERT_TRUE(testing::WriteSampleHomeWithOutFolder(home, 50, &error)) << error;
  std::string display;
  const pid_t server = testing::StartXvfb(testing::Xvfb().program, true, &display, &error);
  ASSERT_GT(server, 0) << error;
  // Under LeakSanitizer the program on X meets libdbus's one kept buffer
  // (see xvfb_test_main.cpp).
  ASSERT_TRUE(testing::WriteTextFile(home.File("lsan.supp"), "leak:libdbus-1.so\n"));
  // The reset follows each probe by a moment only: several runs.
  for (int i = 0; i < 8; ++i) {
    ProgramRun run = testing::RunProgram(
        testing::BuiltProgram("StmtLinkStd"),
        {"--ui", "qt", "--unattended", "--home", home.path(), "--from", "4", "--to", "3", "--ledger", "0",
         "--output", "C:\\out\\r.xml", "--answer", "yes"},
        {"DISPLAY=" + display, "QT_QPA_PLATFORM=xcb", "LSAN_OPTIONS=suppressions=" + home.File("lsan.supp")});
    EXPECT_EQ(0, run.exit_status) << "run " << i << ": " << run.err;
  }
  testing::StopXvfb(server);
}

} // namespace
} // namespace stmtlink

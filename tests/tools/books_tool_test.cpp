// The books tool's command line, run as a program.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "tests/host/host_test_home.h"

namespace {

using stmtlink::testing::TestHome;
using stmtlink::testing::Utf8;

struct ToolRun {
  int status = -1;
  std::string out;
  std::string err;
};

std::string ReadAll(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

// Runs stmtlink-books with the arguments (already quoted for the shell),
// speaking English.
ToolRun RunTool(const TestHome& home, const std::string& args) {
  std::string out = home.dir() + "/tool.out";
  std::string err = home.dir() + "/tool.err";
  // In English: the texts checked here are.
  std::string command = "LC_ALL= LC_MESSAGES= LANG=en_US.UTF-8 '" STMTLINK_BIN_DIR
                        "/stmtlink-books' " + args + " >'" + out + "' 2>'" + err + "'";
  int raw = std::system(command.c_str());
  ToolRun run;
  run.status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
  run.out = ReadAll(out);
  run.err = ReadAll(err);
  return run;
}

TEST(BooksTool, SampleThenInfo) {
  TestHome home;
  std::string dir = home.dir() + "/h";
  ToolRun sample = RunTool(home, "sample --home '" + dir + "' --seed 7");
  ASSERT_EQ(0, sample.status) << sample.err;
  EXPECT_TRUE(std::filesystem::is_directory(dir + "/drive_c"));

  ToolRun info = RunTool(home, "info --home=" + dir);
  ASSERT_EQ(0, info.status) << info.err;
  EXPECT_NE(std::string::npos, info.out.find(Utf8(u8"1  D0000001  株式会社　山桜商事  20250401-20260331")))
      << info.out;
  EXPECT_NE(std::string::npos, info.out.find("company-law=1")) << info.out;
  EXPECT_NE(std::string::npos, info.out.find("SelectedNo2=1")) << info.out;
  EXPECT_NE(std::string::npos, info.out.find(Utf8(u8"Selected data set: 1  株式会社　山桜商事")))
      << info.out;

  ToolRun again = RunTool(home, "sample --home '" + dir + "'");
  EXPECT_EQ(2, again.status);
  EXPECT_NE(std::string::npos, again.err.find("--force")) << again.err;
  EXPECT_EQ(0, RunTool(home, "sample --force --home '" + dir + "'").status);
}

TEST(BooksTool, BadCommandLinesAreRefusedWithAHint) {
  TestHome home;
  for (const char* args : {"", "frobnicate", "sample --home", "sample --seed x --home /tmp/x",
                           "info --seed 3 --home /tmp/x", "sample --bogus"}) {
    ToolRun run = RunTool(home, args);
    EXPECT_EQ(2, run.status) << args;
    EXPECT_NE(std::string::npos, run.err.find("--help")) << args << ": " << run.err;
  }
  ToolRun help = RunTool(home, "--help");
  EXPECT_EQ(0, help.status);
  EXPECT_NE(std::string::npos, help.out.find("sample")) << help.out;
}

TEST(BooksTool, InfoOnAHomeWithoutBooksSaysHowToMakeThem) {
  TestHome home;
  ToolRun run = RunTool(home, "info --home '" + home.dir() + "'");
  EXPECT_EQ(1, run.status);
  EXPECT_NE(std::string::npos, run.err.find("stmtlink-books sample")) << run.err;
}

} // namespace

namespace {

TEST(BooksTool, SampleScaleAndContentOptions) {
  TestHome home;
  const std::string dir = home.dir() + "/scaled";
  ToolRun sample = RunTool(home, "sample --home '" + dir +
                                     "' --entries 40 --accounts 200 --manufacturing --interim "
                                     "--unclassified --tax-included");
  ASSERT_EQ(0, sample.status) << sample.err;
  ToolRun info = RunTool(home, "info --home '" + dir + "'");
  EXPECT_NE(std::string::npos, info.out.find("mfg-schedule=1 interim-closing=1")) << info.out;
  EXPECT_NE(std::string::npos, info.out.find("tax-included=1")) << info.out;

  for (const char* bad : {"--entries x", "--accounts", "--lines -1", "--manufacturing=1"}) {
    ToolRun refused = RunTool(home, "sample --home '" + dir + "' --force " + bad);
    EXPECT_EQ(2, refused.status) << bad;
  }
}

} // namespace

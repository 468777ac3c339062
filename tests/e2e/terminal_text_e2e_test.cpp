// Whatever the programs and the books tool print is UTF-8, as a terminal
// shows it: help, versions, refusals, the messages of a run in batch and
// the console's form. The program's texts are Shift_JIS inside; a text
// that reaches the terminal unconverted shows up here.
#include <gtest/gtest.h>
#include <iconv.h>

#include "tests/support/program_runner.h"
#include "tests/support/temp_dir.h"
#include "tests/support/utf8.h"

namespace stmtlink {
namespace {

using testing::BuiltProgram;
using testing::ProgramRun;
using testing::RunProgram;
using testing::TempDir;
using testing::U8;

// Well-formed UTF-8, as iconv reads it.
bool IsUtf8(const std::string& text) {
  iconv_t cd = iconv_open("UTF-32LE", "UTF-8");
  std::string in = text;
  std::string out(in.size() * 4 + 4, '\0');
  char* from = in.data();
  char* to = out.data();
  std::size_t from_left = in.size();
  std::size_t to_left = out.size();
  const bool ok = iconv(cd, &from, &from_left, &to, &to_left) != static_cast<std::size_t>(-1) && from_left == 0;
  iconv_close(cd);
  return ok;
}

struct Printed {
  std::string what;
  ProgramRun run;
};

void ExpectUtf8(const std::vector<Printed>& printed) {
  for (const Printed& p : printed) {
    EXPECT_FALSE(p.run.out.empty() && p.run.err.empty()) << p.what << " printed nothing";
    EXPECT_TRUE(IsUtf8(p.run.out)) << p.what << " (standard output)";
    EXPECT_TRUE(IsUtf8(p.run.err)) << p.what << " (standard error)";
  }
}

TEST(TerminalTextTest, TheCheckKnowsUtf8FromShiftJis) {
  EXPECT_TRUE(IsUtf8(U8(u8"繰越利益剰余金 ascii")));
  EXPECT_FALSE(IsUtf8("\x8c\x4a\x89\x7a")); // 繰越 in Shift_JIS
  EXPECT_FALSE(IsUtf8("\xE7\xB9"));         // cut short
}

TEST(TerminalTextTest, BooksToolPrintsUtf8) {
  TempDir home;
  const std::string tool = BuiltProgram("stmtlink-books");
  std::vector<Printed> printed = {
      {"--help", RunProgram(tool, {"--help"})},
      {"no command", RunProgram(tool, {})},
      {"unknown command", RunProgram(tool, {"frobnicate"})},
      {"info without books", RunProgram(tool, {"info", "--home", home.path()})},
      {"sample", RunProgram(tool, {"sample", "--home", home.path(), "--entries", "50"})},
      {"sample again", RunProgram(tool, {"sample", "--home", home.path()})},
      {"info", RunProgram(tool, {"info", "--home", home.path()})},
  };
  ExpectUtf8(printed);
  EXPECT_NE(std::string::npos, printed[0].run.out.find(U8(u8"繰越利益剰余金")));
}

TEST(TerminalTextTest, ProgramsPrintUtf8) {
  TempDir home;
  TempDir empty_home;
  ProgramRun made = RunProgram(BuiltProgram("stmtlink-books"), {"sample", "--home", home.path(), "--entries", "50"});
  ASSERT_EQ(0, made.exit_status) << made.err;
  std::vector<Printed> printed;
  for (const char* edition : {"StmtLinkNeo", "StmtLinkStd", "StmtLinkLumina"}) {
    const std::string program = BuiltProgram(edition);
    auto run = [&](std::vector<std::string> args) { return RunProgram(program, args); };
    const std::string name = std::string(edition) + " ";
    printed.push_back({name + "--help", run({"--help"})});
    printed.push_back({name + "--version", run({"--version"})});
    printed.push_back({name + "unknown option", run({"--frobnicate"})});
    printed.push_back({name + "bad month", run({"--from", "13"})});
    printed.push_back({name + "no books", run({"--ui", "batch", "--home", empty_home.path()})});
    printed.push_back({name + "unattended batch", run({"--ui", "batch", "--unattended", "--home", home.path()})});
    // A check that fails (the default path has no file name), then a
    // completed run with the folder question and the closing message.
    printed.push_back({name + "refused dialog", run({"--ui", "batch", "--home", home.path()})});
    printed.push_back({name + "completed run",
                       run({"--ui", "batch", "--home", home.path(), "--from", "4", "--to", "3", "--output",
                            U8(u8"C:\\決算書\\") + edition + ".xml", "--answer", "yes"})});
    printed.push_back({name + "console form", run({"--ui", "console", "--home", home.path()})});
  }
  ExpectUtf8(printed);
}

} // namespace
} // namespace stmtlink

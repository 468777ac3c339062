// docs/books.md runs as written: its files are written, its commands run in
// a fresh home folder, and the report lines it shows are the program's.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <set>
#include <sstream>

#include "platform/text_codec.h"
#include "tests/support/program_runner.h"
#include "tests/support/temp_dir.h"

namespace stmtlink {
namespace {

using testing::BuiltProgram;
using testing::ProgramRun;
using testing::ReadTextFile;
using testing::RunProgram;
using testing::TempDir;
using testing::WriteTextFile;
namespace fs = std::filesystem;

struct Block {
  std::string info; // what follows the opening fence: "sh", "csv journal.csv"
  std::string text;
};

std::vector<Block> FencedBlocks(const std::string& markdown) {
  std::vector<Block> blocks;
  std::istringstream in(markdown);
  std::string line;
  Block* open = nullptr;
  while (std::getline(in, line)) {
    if (line.rfind("```", 0) == 0) {
      if (open) {
        open = nullptr;
      } else {
        blocks.push_back({line.substr(3), ""});
        open = &blocks.back();
      }
    } else if (open) {
      open->text += line + "\n";
    }
  }
  return blocks;
}

std::set<std::string> Reports(const std::string& dir) {
  std::set<std::string> found;
  for (const fs::directory_entry& e : fs::recursive_directory_iterator(dir))
    if (e.path().extension() == ".xml") found.insert(e.path().string());
  return found;
}

TEST(BooksDoc, EveryCommandRunsAsWrittenAndTheReportLinesAreTheProgramsOwn) {
  const std::vector<Block> blocks =
      FencedBlocks(ReadTextFile(std::string(STMTLINK_SOURCE_DIR) + "/docs/books.md"));
  TempDir dir;
  const std::string bin = fs::path(BuiltProgram("stmtlink-books")).parent_path().string();
  const char* path = std::getenv("PATH");
  std::string reports; // of the last commands, as UTF-8
  int commands = 0, shown = 0;
  for (const Block& b : blocks) {
    if (b.info.rfind("csv ", 0) == 0) {
      ASSERT_TRUE(WriteTextFile(dir.File(b.info.substr(4)), b.text));
    } else if (b.info == "sh") {
      const std::set<std::string> before = Reports(dir.path());
      ASSERT_TRUE(WriteTextFile(dir.File("commands.sh"), "set -e\n" + b.text));
      ProgramRun run = RunProgram("/bin/sh", {dir.File("commands.sh")},
                                  {"HOME=" + dir.path(), "PATH=" + bin + ":" + (path ? path : "")},
                                  dir.path());
      EXPECT_EQ(0, run.exit_status) << b.text << run.err;
      reports.clear();
      for (const std::string& file : Reports(dir.path())) {
        if (before.count(file)) continue;
        std::string utf8;
        EXPECT_TRUE(Cp932ToUtf8(ReadTextFile(file), &utf8));
        reports += utf8;
      }
      ++commands;
    } else if (b.info == "xml") {
      std::istringstream lines(b.text);
      std::string line;
      while (std::getline(lines, line)) {
        if (line.empty()) continue;
        EXPECT_NE(std::string::npos, reports.find(line)) << line;
        ++shown;
      }
    }
  }
  EXPECT_EQ(2, commands);
  EXPECT_GT(shown, 30);
}

} // namespace
} // namespace stmtlink

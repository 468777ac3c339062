// docs/books.md runs as written: its files are written, its commands run in
// a fresh home folder as a reader runs them, and the report lines it shows
// are the program's.
#include <gtest/gtest.h>

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

// The page is run as a reader runs it: the sh blocks one after the other
// in one shell (so that its PATH line holds for the rest), from a folder
// that has the build's build/bin as the repository has, with a PATH that
// does not hold it. After each block the shell lists the reports made so
// far, so that the xml lines shown after a block are checked against the
// reports of that block.
TEST(BooksDoc, EveryCommandRunsAsWrittenAndTheReportLinesAreTheProgramsOwn) {
  const std::vector<Block> blocks =
      FencedBlocks(ReadTextFile(std::string(STMTLINK_SOURCE_DIR) + "/docs/books.md"));
  TempDir dir;
  const fs::path bin = fs::path(BuiltProgram("stmtlink-books")).parent_path();
  fs::create_directories(dir.File("build"));
  fs::create_directory_symlink(bin, dir.File("build/bin"));
  std::string session = "set -e\n";
  int commands = 0;
  for (const Block& b : blocks) {
    if (b.info.rfind("csv ", 0) == 0) {
      ASSERT_TRUE(WriteTextFile(dir.File(b.info.substr(4)), b.text));
    } else if (b.info == "sh") {
      session += b.text + "find \"$HOME\" -name '*.xml' | sort > .reports-" +
                 std::to_string(++commands) + "\n";
    }
  }
  ASSERT_TRUE(WriteTextFile(dir.File("session.sh"), session));
  ProgramRun run = RunProgram("/bin/sh", {dir.File("session.sh")},
                              {"HOME=" + dir.path(), "PATH=/usr/bin:/bin"}, dir.path());
  ASSERT_EQ(0, run.exit_status) << run.err;
  EXPECT_EQ(3, commands); // the PATH line and the two examples

  std::set<std::string> seen;
  std::string reports; // of the last block, as UTF-8
  int block = 0, shown = 0;
  for (const Block& b : blocks) {
    if (b.info == "sh") {
      reports.clear();
      std::istringstream files(ReadTextFile(dir.File(".reports-" + std::to_string(++block))));
      std::string file;
      while (std::getline(files, file)) {
        if (!seen.insert(file).second) continue;
        std::string utf8;
        EXPECT_TRUE(Cp932ToUtf8(ReadTextFile(file), &utf8));
        reports += utf8;
      }
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
  EXPECT_GT(shown, 30);
}

} // namespace
} // namespace stmtlink

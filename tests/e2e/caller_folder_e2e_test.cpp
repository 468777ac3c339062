// Relative paths on the command line belong to the caller's folder, even
// though start-up makes the program's own folder current: run from another
// folder, with a decoy home of the same name beside the program.
#include <gtest/gtest.h>

#include <filesystem>

#include "tests/support/books_builder.h"
#include "tests/support/program_runner.h"
#include "tests/support/temp_dir.h"

namespace stmtlink {
namespace {

using testing::BooksBuilder;
using testing::BuiltProgram;
using testing::ProgramRun;
using testing::ReadTextFile;
using testing::RunProgram;
using testing::TempDir;

namespace fs = std::filesystem;

class CallerFolderE2eTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ProgramRun made = RunProgram(BuiltProgram("stmtlink-books"),
                                 {"sample", "--home", "h1", "--entries", "100"}, {}, caller_.path());
    ASSERT_EQ(0, made.exit_status) << made.err;
    // The program in a folder of its own, beside books of another company.
    program_ = program_dir_.File("StmtLinkStd");
    fs::copy_file(BuiltProgram("StmtLinkStd"), program_);
    fs::copy_file(BuiltProgram("ZephonDef.ini"), program_dir_.File("ZephonDef.ini"));
    BooksBuilder decoy(program_dir_.File("h1"));
    ASSERT_TRUE(decoy.ok());
    ASSERT_TRUE(decoy.AddDataSet({}));
  }
  ProgramRun Run(std::vector<std::string> args, std::vector<std::string> env = {}) {
    fs::remove(caller_.File("h1/host-window.log"));
    args.insert(args.end(), {"--ui", "batch", "--from", "4", "--to", "3", "--answer", "yes",
                             "4660,1025,7,"});
    return RunProgram(program_, args, env, caller_.path());
  }
  // The run used the caller's home from start to end, and the decoy never.
  void ExpectCallersHome(const ProgramRun& run, const std::string& report) {
    EXPECT_EQ(0, run.exit_status) << run.err;
    EXPECT_NE(std::string::npos, ReadTextFile(caller_.File("h1/host-window.log")).find("lParam=0"));
    EXPECT_EQ(0u, ReadTextFile(report).find("<?xml")) << report;
    EXPECT_FALSE(fs::exists(program_dir_.File("h1/host-window.log")));
    EXPECT_FALSE(fs::exists(program_dir_.File("h1/drive_c/out")));
  }

  TempDir caller_;
  TempDir program_dir_;
  std::string program_;
};

TEST_F(CallerFolderE2eTest, RelativeHomeFromOptionOrEnvironmentIsTheCallersFolder) {
  const std::string report = caller_.File("h1/drive_c/out/r.xml");
  ExpectCallersHome(Run({"--home", "h1", "--output", "C:\\out\\r.xml"}), report);
  fs::remove(report);
  ExpectCallersHome(Run({"--home", "./h1", "--output", "C:\\out\\r.xml"}), report);
  fs::remove(report);
  ExpectCallersHome(Run({"--output", "C:\\out\\r.xml"}, {"STMTLINK_HOME=h1"}), report);
}

TEST_F(CallerFolderE2eTest, RelativeOutputPathIsTheCallersFolder) {
  fs::create_directory(caller_.File("out"));
  ExpectCallersHome(Run({"--home", "h1", "--output", "out\\r.xml"}), caller_.File("out/r.xml"));
}

} // namespace
} // namespace stmtlink

// The conditions dialog in the real programs, in batch: the options as the
// dialog's input, its refusals ending the run as cancelled, its questions
// answered by --answer, and the path the host imposes.
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
using testing::DataSetRow;
using testing::ProgramRun;
using testing::ReadTextFile;
using testing::RunProgram;
using testing::TempDir;
using testing::U8;

class ConditionsE2eTest : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(books_.ok()); }
  ProgramRun Run(std::vector<std::string> args) {
    std::filesystem::remove(home_.File("host-window.log"));
    args.insert(args.begin(), {"--ui", "batch", "--home", home_.path()});
    return RunProgram(BuiltProgram("StmtLinkStd"), args);
  }
  std::string WindowLog() { return ReadTextFile(home_.File("host-window.log")); }

  TempDir home_;
  BooksBuilder books_{home_.path()};
};

TEST_F(ConditionsE2eTest, ForbiddenCharacterEndsTheRunAsCancelled) {
  ASSERT_TRUE(books_.AddDataSet({}));
  ProgramRun run = Run({"--from", "4", "--to", "3", "--output", "Z:\\tmp\\a*b.xml"});
  EXPECT_EQ(1, run.exit_status) << run.err;
  const std::string message = U8(u8"決算書 [exclamation] データの出力先に不正な文字が含まれています。\n"
                                 u8"  \n  出力先を再入力してください。\n"
                                 u8"batch: the output path 'Z:\\tmp\\a*b.xml' was refused; give another "
                                 u8"with --output PATH\n");
  ASSERT_GE(run.err.size(), message.size()) << run.err;
  EXPECT_EQ(message, run.err.substr(run.err.size() - message.size())) << run.err;
}

TEST_F(ConditionsE2eTest, ValidChoicesCompleteAndTheFolderIsMadeOnYes) {
  ASSERT_TRUE(books_.AddDataSet({}));
  std::vector<std::string> args = {"--from", "5", "--to", "9", "--equity", "2", "--ledger", "0",
                                   "--output", U8(u8"C:\\決算書\\表\\report.xml"), "4660,1025,7,"};
  ProgramRun declined = Run(args);
  EXPECT_EQ(1, declined.exit_status) << declined.err;
  EXPECT_NE(std::string::npos, declined.err.find(U8(u8"作成してもよろしいですか？\n  -> no"))) << declined.err;
  EXPECT_NE(std::string::npos,
            declined.err.find("its question was answered No; give another with --output PATH, "
                              "or --answer yes to answer Yes\n"))
      << declined.err;
  EXPECT_FALSE(std::filesystem::exists(home_.File("drive_c")+ "/" + U8(u8"決算書")));
  EXPECT_NE(std::string::npos, WindowLog().find("lParam=1\n"));

  args.insert(args.begin(), {"--answer", "yes"});
  ProgramRun accepted = Run(args);
  EXPECT_EQ(0, accepted.exit_status) << accepted.err;
  EXPECT_TRUE(std::filesystem::is_directory(home_.File("drive_c") + "/" + U8(u8"決算書/表")));
  EXPECT_NE(std::string::npos, WindowLog().find("lParam=0\n"));
}

TEST_F(ConditionsE2eTest, PathImposedByTheHostCannotBeReplaced) {
  ASSERT_TRUE(books_.AddDataSet({}));
  ProgramRun run = Run({"--output", "C:\\mine.xml", "4660,1025,7,C:\\imposed.xml"});
  EXPECT_EQ(0, run.exit_status) << run.err;
  EXPECT_NE(std::string::npos, run.err.find("control 1015 is disabled")) << run.err;
}

TEST_F(ConditionsE2eTest, RefusedDataAndUnusableOutputOption) {
  DataSetRow old_format;
  old_format.company_law = 0;
  ASSERT_TRUE(books_.AddDataSet(old_format));
  ProgramRun refused = Run({"--output", "C:\\a.xml"});
  EXPECT_EQ(1, refused.exit_status);
  EXPECT_NE(std::string::npos, refused.err.find(U8(u8"会社法(H18.5施行)に対応していない"))) << refused.err;

  ProgramRun bad = Run({"--output", U8(u8"C:\\\U0001F600.xml")});
  EXPECT_EQ(2, bad.exit_status);
  EXPECT_NE(std::string::npos, bad.err.find("--output holds characters that Shift_JIS cannot represent"));
  bad = Run({"--output", "C:\\" + std::string(300, 'a') + ".xml"});
  EXPECT_EQ(2, bad.exit_status);
  EXPECT_NE(std::string::npos, bad.err.find("--output is longer than the 255 bytes")) << bad.err;
}

} // namespace
} // namespace stmtlink

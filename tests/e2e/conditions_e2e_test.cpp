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

TEST_F(ConditionsE2eTest, TrailingDotsAndSpacesNameTheFolderThatExists) {
  ASSERT_TRUE(books_.AddDataSet({}));
  std::filesystem::create_directories(home_.File("drive_c/out"));
  for (const char* output : {"C:\\out.\\r.xml", "C:\\out \\r.xml."}) {
    std::filesystem::remove(home_.File("drive_c/out/r.xml"));
    ProgramRun run = Run({"--from", "4", "--to", "3", "--output", output, "4660,1025,7,"});
    EXPECT_EQ(0, run.exit_status) << output << ": " << run.err;
    EXPECT_EQ(std::string::npos, run.err.find(U8(u8"作成してもよろしいですか"))) << run.err;
    EXPECT_EQ(0u, ReadTextFile(home_.File("drive_c/out/r.xml")).find("<?xml")) << output;
  }
  EXPECT_FALSE(std::filesystem::exists(home_.File("drive_c/out.")));
  EXPECT_FALSE(std::filesystem::exists(home_.File("drive_c/out ")));
}

TEST_F(ConditionsE2eTest, LinuxOutputPathsAbsoluteOrRelative) {
  ASSERT_TRUE(books_.AddDataSet({}));
  TempDir caller;
  std::filesystem::create_directories(caller.File("nx"));
  std::filesystem::create_directories(caller.File("sub"));
  const std::vector<std::string> months = {"--ui", "batch", "--home", home_.path(), "--from", "4", "--to", "3"};
  auto run = [&](const std::string& output) {
    std::vector<std::string> args = months;
    args.insert(args.end(), {"--output", output, "4660,1025,7,"});
    return RunProgram(BuiltProgram("StmtLinkStd"), args, {}, caller.path());
  };
  ProgramRun absolute = run(caller.File("nx/r3.xml"));
  EXPECT_EQ(0, absolute.exit_status) << absolute.err;
  EXPECT_EQ(0u, ReadTextFile(caller.File("nx/r3.xml")).find("<?xml"));
  ProgramRun relative = run("sub/r4.xml");
  EXPECT_EQ(0, relative.exit_status) << relative.err;
  EXPECT_EQ(0u, ReadTextFile(caller.File("sub/r4.xml")).find("<?xml"));
  // A folder of the host home's drive C: is named on C:.
  ProgramRun on_c = run(home_.File("drive_c/r5.xml"));
  EXPECT_EQ(0, on_c.exit_status) << on_c.err;
  EXPECT_EQ(0u, ReadTextFile(home_.File("drive_c/r5.xml")).find("<?xml"));
  // The Windows rules still hold for what the Linux path names.
  ProgramRun refused = run("sub/a*b.xml");
  EXPECT_EQ(1, refused.exit_status);
  EXPECT_NE(std::string::npos, refused.err.find("sub\\a*b.xml' was refused")) << refused.err;
}

TEST_F(ConditionsE2eTest, ConsoleRefusalsSayOneThingAndBrowseTakesALinuxPath) {
  ASSERT_TRUE(books_.AddDataSet({}));
  TempDir out;
  const std::string input = U8(u8"1=０４\n2=123\n6\n") + out.File("r6.xml") + "\n7\n\n\n";
  ProgramRun run = RunProgram(BuiltProgram("StmtLinkStd"),
                              {"--ui", "console", "--home", home_.path(), "4660,1025,7,"}, {}, "", input);
  EXPECT_EQ(0, run.exit_status) << run.err;
  EXPECT_NE(std::string::npos, run.err.find(U8(u8"1 には数字だけを入力できます（「０４」は入力しませんでした）")));
  EXPECT_NE(std::string::npos, run.err.find(U8(u8"2 には半角 2 文字までしか入りません（「123」は入力しませんでした）")));
  EXPECT_EQ(std::string::npos, run.err.find(U8(u8"入力を読み取れません"))) << run.err;
  EXPECT_EQ(0u, ReadTextFile(out.File("r6.xml")).find("<?xml"));
}

} // namespace
} // namespace stmtlink

// stmtlink-report etax and etax-check on the sample company's report: the
// two files and the PDF written, checked clean against the report and a
// total edited by hand found; names e-Tax cannot take refused until --map
// renames them, a comma turned full-width; and every refusal (not a
// report, a cut report, a folder that cannot be written, a bad map) leaves
// the folder exactly as it was.
#include <gtest/gtest.h>

#include <filesystem>

#include "platform/text_codec.h"
#include "tests/report_tool/report_fixture.h"
#include "tests/support/program_runner.h"
#include "tests/support/temp_dir.h"

namespace stmtlink::report {
namespace {

using stmtlink::testing::FolderEntries;
using stmtlink::testing::ProgramRun;
using stmtlink::testing::ReadTextFile;
using stmtlink::testing::WriteTextFile;

ProgramRun RunEtaxTool(const std::vector<std::string>& args) {
  return stmtlink::testing::RunProgram(stmtlink::testing::BuiltProgram("stmtlink-report"), args,
                                       {"QT_QPA_PLATFORM=offscreen"});
}

std::string EtaxUtf8(const std::string& path) {
  std::string text;
  EXPECT_TRUE(Cp932ToUtf8(ReadTextFile(path), &text)) << path;
  return text;
}

// The report with some account labels replaced (text in UTF-8, written back as Shift_JIS).
std::string RelabelledReport(const std::string& report, const std::string& path,
                             const std::vector<std::pair<std::string, std::string>>& labels) {
  std::string text = EtaxUtf8(report);
  for (const auto& [from, to] : labels) {
    const std::string attribute = "Label=\"" + from + "\"";
    const std::size_t at = text.find(attribute);
    EXPECT_NE(at, std::string::npos) << from;
    if (at != std::string::npos) text.replace(at, attribute.size(), "Label=\"" + to + "\"");
  }
  std::string bytes;
  EXPECT_TRUE(Utf8ToCp932(text, &bytes));
  EXPECT_TRUE(WriteTextFile(path, bytes));
  return path;
}

// The report's UTF-8 text without the element of that name (and all in it).
std::string WithoutElement(std::string text, const std::string& name) {
  const std::size_t start = text.find("<" + name + ">");
  const std::size_t end = text.find("</" + name + ">");
  EXPECT_TRUE(start != std::string::npos && end != std::string::npos) << name;
  if (start != std::string::npos && end != std::string::npos) text.erase(start, end + name.size() + 3 - start);
  return text;
}

class EtaxCommand : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    dir = new stmtlink::testing::TempDir;
    std::string why;
    report = testing::SampleReport(dir->path(), "e", {"--seed", "7"}, {}, &why);
    ASSERT_FALSE(report.empty()) << why;
  }
  static void TearDownTestSuite() { delete dir; }
  static stmtlink::testing::TempDir* dir;
  static std::string report;
  stmtlink::testing::TempDir here;
};
stmtlink::testing::TempDir* EtaxCommand::dir = nullptr;
std::string EtaxCommand::report;

TEST_F(EtaxCommand, WritesBothFilesAndThePdfThatCheckAgainstTheReport) {
  const std::string out = here.File("etax");
  const ProgramRun run = RunEtaxTool({"etax", report, "-o", out});
  ASSERT_EQ(run.exit_status, 0) << run.err;
  EXPECT_NE(run.out.find("PDF で添付"), std::string::npos) << run.out;
  const std::string bs = EtaxUtf8(out + "/HOT010_3.0_BS.csv");
  const std::string pl = EtaxUtf8(out + "/HOT010_3.0_PL.csv");
  EXPECT_EQ(bs.substr(0, 8), "A,BS,,,\r");
  EXPECT_EQ(pl.substr(0, 8), "A,PL,,,\r");
  const std::string head = bs.substr(bs.find("\r\nB,"), bs.find("\r\n貸借対照表,,,,\r\n") - bs.find("\r\nB,"));
  EXPECT_NE(head.find("C1,2025-04-01,,,\r\nC2,2026-03-31,,,"), std::string::npos) << head;
  EXPECT_NE(pl.find(head + "\r\n損益計算書,,,,\r\n"), std::string::npos); // rows 2-4 alike in both
  EXPECT_NE(bs.find("\r\n現金及び預金,"), std::string::npos);
  EXPECT_NE(pl.find("\r\n当期純利益,"), std::string::npos);
  EXPECT_EQ(ReadTextFile(out + "/決算書_その他.pdf").substr(0, 5), "%PDF-");

  ProgramRun check = RunEtaxTool({"etax-check", out, "--report", report});
  EXPECT_EQ(check.exit_status, 0) << check.out << check.err;

  // 資産合計 one yen off: the file alone keeps its form; beside the report it is found.
  const std::size_t at = bs.find("\r\n資産合計,") + std::string("\r\n資産合計,").size();
  std::string edited = bs;
  edited.insert(at, "1");
  std::string bytes;
  ASSERT_TRUE(Utf8ToCp932(edited, &bytes));
  ASSERT_TRUE(WriteTextFile(out + "/HOT010_3.0_BS.csv", bytes));
  EXPECT_EQ(RunEtaxTool({"etax-check", out}).exit_status, 0);
  check = RunEtaxTool({"etax-check", out, "--report", report});
  EXPECT_EQ(check.exit_status, 1) << check.out;
  EXPECT_NE(check.out.find("「資産合計」（10A000020）"), std::string::npos) << check.out;
  EXPECT_EQ(RunEtaxTool({"etax-check", here.File("none")}).exit_status, 2);
}

TEST_F(EtaxCommand, NamesOutsideJisX0208AreRefusedUntilMapped) {
  const std::string relabelled = RelabelledReport(
      report, here.File("r.xml"), {{"雑費", "髙橋商店への雑費"}, {"消耗品費", "消耗品費①"}, {"通信費", "通信費,郵送料"}});
  const std::string out = here.File("etax");
  ProgramRun run = RunEtaxTool({"etax", relabelled, "-o", out});
  EXPECT_EQ(run.exit_status, 2);
  EXPECT_NE(run.err.find("損益計算書の勘定科目（10E200010-2）「消耗品費①」の 5 文字目「①」（U+2460、NEC 特殊文字"),
            std::string::npos) << run.err;
  EXPECT_FALSE(std::filesystem::exists(out));

  ASSERT_TRUE(WriteTextFile(here.File("map.csv"), "消耗品費①,10E200200\n"));
  run = RunEtaxTool({"etax", relabelled, "-o", out, "--map", here.File("map.csv")});
  EXPECT_EQ(run.exit_status, 2);
  EXPECT_NE(run.err.find("「髙橋商店への雑費」の 1 文字目「髙」（U+9AD9、IBM 拡張文字"), std::string::npos) << run.err;

  ASSERT_TRUE(WriteTextFile(here.File("map.csv"), "髙橋商店への雑費,,高橋商店への雑費\n消耗品費①,10E200200\n"));
  run = RunEtaxTool({"etax", relabelled, "-o", out, "--map", here.File("map.csv")});
  ASSERT_EQ(run.exit_status, 0) << run.err;
  const std::string pl = EtaxUtf8(out + "/HOT010_3.0_PL.csv");
  EXPECT_NE(pl.find("\r\n高橋商店への雑費,"), std::string::npos) << pl;
  EXPECT_NE(pl.find("\r\n消耗品費,"), std::string::npos) << pl;
  EXPECT_NE(pl.find("\r\n通信費，郵送料,"), std::string::npos) << pl;
  EXPECT_EQ(RunEtaxTool({"etax-check", out}).exit_status, 0);
}

TEST_F(EtaxCommand, RefusalsLeaveTheFolderAsItWas) {
  const std::string out = here.File("etax");
  ASSERT_EQ(RunEtaxTool({"etax", report, "-o", out}).exit_status, 0);
  const std::vector<std::string> before = FolderEntries(out);
  const std::string bs = ReadTextFile(out + "/HOT010_3.0_BS.csv");
  const std::string full = ReadTextFile(report);
  ASSERT_TRUE(WriteTextFile(here.File("cut.xml"), full.substr(0, full.size() / 2)));
  ASSERT_TRUE(WriteTextFile(here.File("text.xml"), "決算書ではありません\n"));
  ASSERT_TRUE(WriteTextFile(here.File("row.csv"), "売掛金,10A100090\n現金\n"));
  ASSERT_TRUE(WriteTextFile(here.File("code.csv"), "売掛金,10A100099\n"));
  struct Case {
    std::vector<std::string> args;
    std::string words;
  };
  for (const Case& c : std::vector<Case>{
           {{"etax", here.File("text.xml"), "-o", out}, "text.xml"},
           {{"etax", here.File("cut.xml"), "-o", out}, "cut.xml"},
           {{"etax", report, "-o", out, "--map", here.File("row.csv")}, "row.csv の 2 行目"},
           {{"etax", report, "-o", out, "--map", here.File("code.csv")}, "code.csv の 1 行目"},
           {{"etax", report, "-o", here.File("cut.xml")}, "フォルダーではありません"},
           {{"etax", report, "-o", here.File("cut.xml") + "/sub"}, "書き込めません"}}) {
    const ProgramRun run = RunEtaxTool(c.args);
    EXPECT_EQ(run.exit_status, 2) << c.words;
    EXPECT_NE(run.err.find(c.words), std::string::npos) << run.err;
    EXPECT_NE(run.err.find("何も書き込んでいません"), std::string::npos) << run.err;
    EXPECT_EQ(FolderEntries(out), before) << c.words;
    EXPECT_EQ(ReadTextFile(out + "/HOT010_3.0_BS.csv"), bs) << c.words;
  }
  EXPECT_EQ(ReadTextFile(here.File("cut.xml")), full.substr(0, full.size() / 2));
}

TEST_F(EtaxCommand, CompanyNamesOtherStatementsAndFoldersOfOneFile) {
  // A company name e-Tax cannot take: refused naming 法人名, --company writes another.
  const std::string relabelled = here.File("r.xml");
  std::string text = EtaxUtf8(report);
  const std::string company = "株式会社　山桜商事";
  text.replace(text.find(company), company.size(), "髙山商事株式会社");
  std::string bytes;
  ASSERT_TRUE(Utf8ToCp932(text, &bytes));
  ASSERT_TRUE(WriteTextFile(relabelled, bytes));
  const std::string out = here.File("etax");
  ProgramRun run = RunEtaxTool({"etax", relabelled, "-o", out});
  EXPECT_EQ(run.exit_status, 2);
  EXPECT_NE(run.err.find("法人名「髙山商事株式会社」の 1 文字目「髙」"), std::string::npos) << run.err;
  run = RunEtaxTool({"etax", relabelled, "-o", out, "--company", "高山商事株式会社"});
  ASSERT_EQ(run.exit_status, 0) << run.err;
  for (const char* file : {"/HOT010_3.0_BS.csv", "/HOT010_3.0_PL.csv"})
    EXPECT_NE(EtaxUtf8(out + file).find("\r\nB,高山商事株式会社,,,\r\n"), std::string::npos) << file;

  // Files of two companies in one folder, and a folder with one file only.
  ASSERT_EQ(RunEtaxTool({"etax", report, "-o", here.File("other")}).exit_status, 0);
  std::filesystem::copy_file(here.File("other") + "/HOT010_3.0_PL.csv", out + "/HOT010_3.0_PL.csv",
                             std::filesystem::copy_options::overwrite_existing);
  ProgramRun check = RunEtaxTool({"etax-check", out});
  EXPECT_EQ(check.exit_status, 1);
  EXPECT_NE(check.out.find("法人名または事業年度"), std::string::npos) << check.out;
  std::filesystem::remove(out + "/HOT010_3.0_PL.csv");
  check = RunEtaxTool({"etax-check", out});
  EXPECT_EQ(check.exit_status, 1);
  EXPECT_NE(check.out.find("HOT010_3.0_PL.csv がありません"), std::string::npos) << check.out;

  // A report without the equity statement and notes: no PDF, and the
  // command says so (and that an earlier PDF in the folder is not this one's).
  text = WithoutElement(WithoutElement(EtaxUtf8(report), "StatementChangesNetAssets"), "ListNotesNonConsolidated");
  ASSERT_TRUE(Utf8ToCp932(text, &bytes));
  ASSERT_TRUE(WriteTextFile(here.File("bare.xml"), bytes));
  run = RunEtaxTool({"etax", here.File("bare.xml"), "-o", here.File("bare")});
  ASSERT_EQ(run.exit_status, 0) << run.err;
  EXPECT_NE(run.out.find("PDF は作っていません"), std::string::npos) << run.out;
  EXPECT_FALSE(std::filesystem::exists(here.File("bare") + "/決算書_その他.pdf"));
  run = RunEtaxTool({"etax", here.File("bare.xml"), "-o", here.File("other")});
  ASSERT_EQ(run.exit_status, 0) << run.err;
  EXPECT_NE(run.out.find("このレポートのものではありません"), std::string::npos) << run.out;
}

} // namespace
} // namespace stmtlink::report

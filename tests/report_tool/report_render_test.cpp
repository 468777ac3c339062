// stmtlink-report html and pdf on a report the programs wrote: one
// self-contained HTML file with every statement on its own page; a PDF on
// A4 with the font embedded whose text holds every figure of the statements
// and the company on every page; a window beside the check's findings. The
// PDF's pages and the window land in build/screenshots/.
#include <gtest/gtest.h>

#include <cstdlib>
#include <regex>

#include "platform/text_codec.h"
#include "tests/report_tool/report_fixture.h"
#include "tests/support/program_runner.h"
#include "tests/support/temp_dir.h"
#include "tools/report/findings.h"
#include "tools/report/statement_entries.h"

namespace stmtlink::report {
namespace {

using stmtlink::testing::BuiltProgram;
using stmtlink::testing::ReadTextFile;
using stmtlink::testing::RunProgram;

std::string Shell(const std::string& command) {
  std::string out;
  if (FILE* pipe = popen(command.c_str(), "r")) {
    char buffer[4096];
    std::size_t n;
    while ((n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0) out.append(buffer, n);
    pclose(pipe);
  }
  return out;
}

std::size_t Count(const std::string& text, const std::string& part) {
  std::size_t n = 0;
  for (std::size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1)) ++n;
  return n;
}

class RenderedReport : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    dir = new stmtlink::testing::TempDir;
    std::string why;
    path = testing::SampleReport(dir->path(), "m", {"--seed", "8", "--manufacturing"},
                                 {"--ledger", "1", "--equity", "2"}, &why);
    ASSERT_FALSE(path.empty()) << why;
    ReadResult read;
    ASSERT_TRUE(ReadReport(path, ReadOptions{}, &read));
    entries = new std::vector<StatementEntry>(StatementEntries(read.root));
  }
  static void TearDownTestSuite() {
    delete entries;
    delete dir;
  }
  static stmtlink::testing::TempDir* dir;
  static std::string path;
  static std::vector<StatementEntry>* entries;
};
stmtlink::testing::TempDir* RenderedReport::dir = nullptr;
std::string RenderedReport::path;
std::vector<StatementEntry>* RenderedReport::entries = nullptr;

TEST_F(RenderedReport, HtmlIsOneSelfContainedFileWithAPagePerStatement) {
  const std::string out = dir->File("r.html");
  const auto run = RunProgram(BuiltProgram("stmtlink-report"),
                              {"html", path, "-o", out, "--ledger", "--previous", path});
  ASSERT_EQ(0, run.exit_status) << run.err;
  const std::string html = ReadTextFile(out);
  for (const char* title : {"決算報告書", "貸借対照表", "損益計算書", "製造原価報告書",
                            "販売費及び一般管理費内訳書", "社員資本等変動計算書", "個別注記表",
                            "総勘定元帳", "自 令和7年4月1日　至 令和8年3月31日", "（単位：円）"})
    EXPECT_NE(std::string::npos, html.find(title)) << title;
  // The notes' own text, its ampersand escaped.
  EXPECT_NE(std::string::npos, html.find("株式会社S&amp;Kサービス"));
  EXPECT_EQ(std::string::npos, html.find("1株当たり当期純損失"));
  EXPECT_EQ(std::string::npos, html.find("http")) << "nothing fetched";
  EXPECT_EQ(std::string::npos, html.find("<link"));
  EXPECT_EQ(std::string::npos, html.find("<script"));
  EXPECT_NE(std::string::npos, html.find("size: A4"));
  EXPECT_EQ(8u, Count(html, "<section")); // cover, six statements, ledger
  // The previous year's columns (here the same report: no change).
  EXPECT_NE(std::string::npos, html.find("<th>前期</th><th>当期</th><th>増減</th>"));
  // Every figure of the statements, with separators; negatives as △.
  for (const StatementEntry& entry : *entries)
    EXPECT_NE(std::string::npos, html.find(GroupedNumber(entry.amount < 0 ? -entry.amount : entry.amount)))
        << entry.key;
  EXPECT_GT(Count(html, "<th colspan=\"6\" class=\"account\">"), 30u); // one table per account

  // Another company's report is no previous year: refused, naming both, nothing written.
  std::string text;
  ASSERT_TRUE(Cp932ToUtf8(ReadTextFile(path), &text));
  const std::size_t company = text.find("山桜商事");
  ASSERT_NE(std::string::npos, company);
  std::string other;
  ASSERT_TRUE(Utf8ToCp932(text.replace(company, std::string("山桜商事").size(), "別会社"), &other));
  ASSERT_TRUE(stmtlink::testing::WriteTextFile(dir->File("other.xml"), other));
  const auto refused = RunProgram(BuiltProgram("stmtlink-report"),
                                  {"html", path, "-o", dir->File("o.html"), "--previous", dir->File("other.xml")});
  EXPECT_EQ(2, refused.exit_status);
  EXPECT_NE(std::string::npos, refused.err.find("別会社")) << refused.err;
  EXPECT_NE(std::string::npos, refused.err.find("山桜商事")) << refused.err;
  EXPECT_FALSE(std::filesystem::exists(dir->File("o.html")));

  const auto minus = RunProgram(BuiltProgram("stmtlink-report"), {"html", path, "--minus", "-"});
  EXPECT_EQ(0, minus.exit_status);
  EXPECT_EQ(std::string::npos, minus.out.find("△"));
  EXPECT_TRUE(std::regex_search(minus.out, std::regex(">-[0-9]{1,3}(,[0-9]{3})*<")));
}

TEST_F(RenderedReport, PdfHoldsEveryFigureWithTheCompanyOnEveryPage) {
  if (Shell("for t in pdftotext pdffonts pdfinfo pdftoppm; do command -v $t; done | wc -l") != "4\n")
    GTEST_SKIP() << "poppler-utils (pdftotext, pdffonts, pdftoppm) not installed";
  const std::string out = dir->File("r.pdf");
  const auto run = RunProgram(BuiltProgram("stmtlink-report"), {"pdf", path, "-o", out},
                              {"QT_QPA_PLATFORM=offscreen"});
  ASSERT_EQ(0, run.exit_status) << run.err;
  const std::string fonts = Shell("pdffonts '" + out + "'");
  EXPECT_TRUE(std::regex_search(fonts, std::regex("IPA\\S*Gothic\\s+CID TrueType\\s+Identity-H\\s+yes")))
      << fonts;
  const std::string info = Shell("pdfinfo '" + out + "'");
  EXPECT_NE(std::string::npos, info.find("595 x 842 pts (A4)")) << info;
  std::smatch pages;
  ASSERT_TRUE(std::regex_search(info, pages, std::regex("Pages:\\s+([0-9]+)")));
  const int page_count = std::stoi(pages.str(1));
  EXPECT_GE(page_count, 8);
  const std::string text = Shell("pdftotext -layout '" + out + "' -");
  for (const StatementEntry& entry : *entries)
    EXPECT_NE(std::string::npos, text.find(GroupedNumber(entry.amount < 0 ? -entry.amount : entry.amount)))
        << entry.key;
  // pdftotext gives the running head's spaces back as plain ones.
  const std::regex head("山桜商事\\s+自\\s*令和7年4月1日\\s+至\\s*令和8年3月31日");
  // Every page but the cover, which names the period once in its own words.
  EXPECT_EQ(page_count - 1, std::distance(std::sregex_iterator(text.begin(), text.end(), head),
                                          std::sregex_iterator()));
  const std::string n = std::to_string(page_count);
  EXPECT_TRUE(std::regex_search(text, std::regex("-\\s*" + n + "\\s*/\\s*" + n + "\\s*-")));
  // With the ledger, painted page by page: the book's columns, 月計 and
  // 累計, and a continued account named again with its headings.
  const std::string ledger = dir->File("l.pdf");
  const auto with_ledger = RunProgram(BuiltProgram("stmtlink-report"), {"pdf", path, "-o", ledger, "--ledger"},
                                      {"QT_QPA_PLATFORM=offscreen"});
  ASSERT_EQ(0, with_ledger.exit_status) << with_ledger.err;
  const std::string book = Shell("pdftotext -layout '" + ledger + "' -");
  for (const char* part : {"総勘定元帳", "相手勘定科目", "借方", "貸方", "月計", "累計", "前期繰越", "（続き）"})
    EXPECT_NE(std::string::npos, book.find(part)) << part;
  std::smatch ledger_pages;
  const std::string ledger_info = Shell("pdfinfo '" + ledger + "'");
  ASSERT_TRUE(std::regex_search(ledger_info, ledger_pages, std::regex("Pages:\\s+([0-9]+)")));
  const std::string total = ledger_pages.str(1);
  EXPECT_GT(std::stoi(total), page_count);
  EXPECT_TRUE(std::regex_search(book, std::regex("-\\s*" + total + "\\s*/\\s*" + total + "\\s*-"))) << "numbered to the end";
  EXPECT_EQ(Count(book, "相手勘定科目"), Count(book, "日付")) << "headings with every account head";
  // The pages, for a person to look at.
  const std::string shots = std::string(STMTLINK_SCREENSHOT_DIR);
  Shell("mkdir -p '" + shots + "' && pdftoppm -r 70 -png '" + out + "' '" + shots + "/report-pdf'");
  EXPECT_FALSE(ReadTextFile(shots + "/report-pdf-1.png").empty() &&
               ReadTextFile(shots + "/report-pdf-01.png").empty());
}

TEST_F(RenderedReport, ViewShowsTheStatementsBesideTheFindings) {
  const std::string shot = std::string(STMTLINK_SCREENSHOT_DIR) + "/report-view.png";
  Shell("mkdir -p '" + std::string(STMTLINK_SCREENSHOT_DIR) + "' && rm -f '" + shot + "' '" +
        std::string(STMTLINK_SCREENSHOT_DIR) + "/report-view-ledger.png'");
  const auto run = RunProgram(BuiltProgram("stmtlink-report"),
                              {"view", path, "--screenshot", shot}, {"QT_QPA_PLATFORM=offscreen"});
  EXPECT_EQ(0, run.exit_status) << run.err;
  // The window, and its ledger tab (the report has a ledger).
  for (const std::string& picture : {shot, std::string(STMTLINK_SCREENSHOT_DIR) + "/report-view-ledger.png"}) {
    const std::string png = ReadTextFile(picture);
    ASSERT_GT(png.size(), 10000u) << picture;
    EXPECT_EQ(0, png.compare(1, 3, "PNG"));
  }
}

} // namespace
} // namespace stmtlink::report

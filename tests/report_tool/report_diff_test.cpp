// stmtlink-report diff: two reports compared item by item.
#include <gtest/gtest.h>

#include "platform/text_codec.h"
#include "tests/report_tool/report_fixture.h"
#include "tests/support/program_runner.h"
#include "tests/support/temp_dir.h"
#include "tools/report/report_diff.h"

namespace stmtlink::report {
namespace {

using stmtlink::testing::BuiltProgram;
using stmtlink::testing::RunProgram;

TEST(ReportDiff, NamesEachChangedItemWithItsAmountAndPerCent) {
  stmtlink::testing::TempDir dir;
  std::string why;
  const std::string path = testing::SampleReport(dir.path(), "h", {"--seed", "5"}, {}, &why);
  ASSERT_FALSE(path.empty()) << why;
  // The same books a year on, as far as this test is concerned: 建物 one
  // yen more, 開業費 gone.
  std::string text;
  ASSERT_TRUE(Cp932ToUtf8(stmtlink::testing::ReadTextFile(path), &text));
  const std::size_t building = text.find("<Item Label=\"建物\">");
  ASSERT_NE(std::string::npos, building);
  const std::size_t digits = text.find('>', building) + 1;
  const std::size_t end = text.find('<', digits);
  const long value = std::stol(text.substr(digits, end - digits));
  text.replace(digits, end - digits, std::to_string(value + 1));
  const std::size_t deferred = text.find("<Item Label=\"開業費\">");
  ASSERT_NE(std::string::npos, deferred);
  text.erase(deferred, text.find('\n', deferred) + 1 - deferred);
  const std::size_t note = text.find("<Line>重要な後発事象はありません。</Line>");
  ASSERT_NE(std::string::npos, note);
  text.replace(note, std::string("<Line>重要な後発事象はありません。</Line>").size(), "<Line>増資を決議しました。</Line>");
  std::string cp932;
  ASSERT_TRUE(Utf8ToCp932(text, &cp932));
  const std::string later = dir.File("later.xml");
  ASSERT_TRUE(stmtlink::testing::WriteTextFile(later, cp932));

  const auto same = RunProgram(BuiltProgram("stmtlink-report"), {"diff", path, path});
  EXPECT_EQ(0, same.exit_status) << same.out << same.err;
  const auto run = RunProgram(BuiltProgram("stmtlink-report"), {"diff", path, later});
  EXPECT_EQ(1, run.exit_status) << run.err;
  EXPECT_NE(std::string::npos, run.out.find("貸借対照表 / 資産の部 / 固定資産 / 有形固定資産 / 建物\n"))
      << run.out;
  EXPECT_NE(std::string::npos, run.out.find("増減 +1円")) << run.out;
  EXPECT_NE(std::string::npos, run.out.find("古いレポートにだけあります")) << run.out;
  EXPECT_NE(std::string::npos, run.out.find("金額が変わった項目 1 件、新しい項目 0 件、なくなった項目 1 件"))
      << run.out;
  // In statement order: 開業費 (繰延資産) before the liabilities.
  EXPECT_LT(run.out.find("開業費"), run.out.find("負債")) << run.out;
  EXPECT_NE(std::string::npos, run.out.find("個別注記表 / 重要な後発事象に関する注記\n    - 重要な後発事象はありません。\n"
                                            "    + 増資を決議しました。")) << run.out;
  EXPECT_EQ(2, RunProgram(BuiltProgram("stmtlink-report"), {"diff", path, dir.File("none.xml")})
                   .exit_status);

  EXPECT_EQ("+10.0%", PerCent(1000, 1100));
  EXPECT_EQ("-150.0%", PerCent(-200, -500));
  EXPECT_EQ("", PerCent(0, 5));
}

TEST(ReportDiff, ComparesTheLedgerPerAccountInDebitsAndCredits) {
  // A liability's payment is a debit, a sale's revenue a credit, as the category says.
  EXPECT_EQ(431423, SidesOf("流動負債", -431423).debit);
  EXPECT_EQ(10864, SidesOf("売上高", 10864).credit);
  EXPECT_EQ(46790, SidesOf("流動資産", -46790).credit);
  EXPECT_EQ(500, SidesOf("販管費", 500).debit);
  const std::vector<LedgerAccountTotals> older = {{"現金", "流動資産", 100, 50, 20, 130, 2},
                                                  {"開業費", "繰延資産", 10, 0, 0, 10, 0}};
  const std::vector<LedgerAccountTotals> newer = {{"現金", "流動資産", 100, 50, 21, 129, 2},
                                                  {"売掛金", "流動資産", 0, 5, 0, 5, 1}};
  const std::vector<LedgerChange> changes = CompareLedgers(older, newer);
  ASSERT_EQ(3u, changes.size());
  EXPECT_EQ("現金", changes[0].account);
  EXPECT_TRUE(changes[1].in_new && !changes[1].in_old);
  EXPECT_TRUE(changes[2].in_old && !changes[2].in_new);
  const std::string text = LedgerDiffText(changes);
  EXPECT_NE(std::string::npos, text.find("貸方合計 20円 → 21円  増減 +1円")) << text;
  EXPECT_EQ(std::string::npos, text.find("借方合計 50円")) << "unchanged figures are not listed";
  EXPECT_TRUE(CompareLedgers(older, older).empty());
}

} // namespace
} // namespace stmtlink::report

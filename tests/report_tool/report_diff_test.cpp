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
  EXPECT_EQ(2, RunProgram(BuiltProgram("stmtlink-report"), {"diff", path, dir.File("none.xml")})
                   .exit_status);

  EXPECT_EQ("+10.0%", PerCent(1000, 1100));
  EXPECT_EQ("-150.0%", PerCent(-200, -500));
  EXPECT_EQ("", PerCent(0, 5));
}

} // namespace
} // namespace stmtlink::report

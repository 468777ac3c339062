#include "tests/support/report_items.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <regex>

#include "platform/text_codec.h"
#include "tests/support/program_runner.h"
#include "tests/support/temp_dir.h"
#include "tests/support/utf8.h"

namespace stmtlink::testing {

std::string YearReport(const std::string& home, const std::vector<std::string>& conditions) {
  std::vector<std::string> args = {"--ui",     "batch", "--home", home,       "--from",
                                   "4",        "--to",  "3",      "--output", "C:\\report.xml",
                                   "--answer", "yes"};
  args.insert(args.end(), conditions.begin(), conditions.end());
  ProgramRun run = RunProgram(BuiltProgram("StmtLinkStd"), args);
  EXPECT_EQ(0, run.exit_status) << run.err;
  return ReadTextFile(home + "/drive_c/report.xml");
}

std::map<std::string, long long> ReportItems(const std::string& cp932) {
  std::string text;
  EXPECT_TRUE(Cp932ToUtf8(cp932, &text));
  std::map<std::string, long long> items;
  const std::regex item(R"re(<(\w+) Label="([^"]+)"(?: Amount="(-?\d+)")?>(-?\d+)?)re");
  for (std::sregex_iterator it(text.begin(), text.end(), item), end; it != end; ++it) {
    const std::string& figure = (*it)[3].matched ? (*it)[3].str() : (*it)[4].str();
    if (!figure.empty()) items.emplace((*it)[2].str(), std::atoll(figure.c_str()));
  }
  return items;
}

void ExpectItems(const std::map<std::string, long long>& items,
                 const std::vector<std::pair<const char8_t*, long long>>& want) {
  for (const auto& [label, yen] : want) {
    const std::string name = U8(label);
    ASSERT_TRUE(items.count(name)) << name;
    EXPECT_EQ(yen, items.at(name)) << name;
  }
}

} // namespace stmtlink::testing

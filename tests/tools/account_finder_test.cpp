// How the journal's account fields find their accounts.
#include <gtest/gtest.h>

#include "tests/support/utf8.h"
#include "tools/books/account_finder.h"

namespace stmtlink {
namespace {

using testing::U8;

ChartAccount Account(std::int64_t code, const char8_t* name, int line_type = 0) {
  ChartAccount a;
  a.code = code;
  a.formal_name = U8(name);
  a.line_type = line_type;
  return a;
}

TEST(AccountFinderTest, CodesNamesAndMainSlashSubNames) {
  const std::vector<ChartAccount> accounts = {
      Account(10000000, u8"流動資産合計", 2), Account(11200000, u8"普通預金"),
      Account(11200001, u8"東都銀行"),        Account(11400000, u8"売掛金"),
      Account(11400001, u8"東都銀行"), // a customer with the bank's name
      Account(21100000, u8"買掛金")};
  const AccountFinder finder(accounts);
  std::int64_t code = 0;
  std::string why;
  const std::pair<std::string, std::int64_t> found[] = {{"1120", 11200000},
                                                        {"1120-1", 11200001},
                                                        {U8(u8"普通預金"), 11200000},
                                                        {U8(u8"普通預金/東都銀行"), 11200001},
                                                        {U8(u8"売掛金/東都銀行"), 11400001}};
  for (const auto& [text, expected] : found) {
    ASSERT_TRUE(finder.Find(text, &code, &why)) << text << ": " << why;
    EXPECT_EQ(expected, code) << text;
  }
  const std::pair<std::string, std::string> refused[] = {
      {U8(u8"東都銀行"), "belongs to several accounts"},
      {"1000", "a heading or a total"},
      {"1130", "no account has the code '1130'"},
      {U8(u8"売り掛け金"), U8(u8"unknown account '売り掛け金' (closest known: 売掛金)")}};
  for (const auto& [text, expected] : refused) {
    EXPECT_FALSE(finder.Find(text, &code, &why)) << text;
    EXPECT_NE(std::string::npos, why.find(expected)) << why;
  }
}

} // namespace
} // namespace stmtlink

// The general ledger's book form: debits and credits by the account's side,
// 月計 and 累計 at each month's end, and the accounts of the balance sheet
// that have a balance but no rows (net assets taking their opening and
// changes from the equity statement).
#include <gtest/gtest.h>

#include "tools/report/ledger_book.h"

namespace stmtlink::report {
namespace {

class RecordedBook : public LedgerBookOutput {
 public:
  void BeginAccount(const std::string& account, const std::string& category) override {
    lines.push_back("[" + account + "（" + category + "）]");
  }
  void Line(const LedgerLine& line) override {
    auto figure = [](const std::optional<std::int64_t>& v) { return v ? std::to_string(*v) : std::string("-"); };
    lines.push_back(line.date + "|" + line.counter_account + "|" + line.description + "|" + figure(line.debit) +
                    "|" + figure(line.credit) + "|" + figure(line.balance));
  }
  void EndAccount() override { lines.push_back("[end]"); }
  std::vector<std::string> lines;
};

Node Named(std::string name, std::vector<Node> children = {}, std::string text = "") {
  Node node;
  node.name = std::move(name);
  node.children = std::move(children);
  node.text = std::move(text);
  return node;
}
Node Amounted(std::string name, std::int64_t amount, std::string label = "") {
  Node node = Named(std::move(name));
  node.amount = amount;
  if (!label.empty()) node.label = label;
  return node;
}

TEST(LedgerBook, MonthsSidesAndAccountsWithoutRows) {
  RecordedBook book;
  const Node root = Named("REPORT", {Named("DATA", {
      Named("BalanceSheet", {Named("Liabilities", {Named("CurrentLiabilities", {Amounted("Item", 300, "買掛金")})}),
                             Named("NetAssets", {Amounted("Item", 80, "繰越利益剰余金"), Amounted("Item", 5, "自己株式")})}),
      Named("StatementChangesNetAssets", {
          Named("ChangesNetAssetsItem", {Named("AccountList", {}, "繰越利益剰余金"),
                                         Amounted("BalanceEndPreviousPeriod", 100),
                                         Named("ChangesItemsDuringPeriod", {
                                             Amounted("TotalChangesItemsDuringPeriod", -20),
                                             Named("ChangesItem", {Named("Reason", {}, "当期純利益"), Amounted("Amount", -20)})}),
                                         Amounted("BalanceEndCurrentPeriod", 80)}),
          Named("ChangesNetAssetsItem", {Named("AccountList", {}, "自己株式"), Amounted("BalanceEndPreviousPeriod", 5),
                                         Amounted("BalanceEndCurrentPeriod", 5)})})})});
  LedgerBook ledger(&book, &root);
  ledger.BeginBlock({"買掛金", "流動負債", 100, 300, 1});
  LedgerRow row;
  for (auto [date, amount, balance] : {std::tuple{"令和7年4月1日", 250, 350}, std::tuple{"令和7年4月9日", -50, 300},
                                       std::tuple{"令和7年5月2日", 0, 300}}) {
    row.date = date;
    row.counter_account = "仕入高";
    row.amount = amount;
    row.balance = balance;
    ledger.Row(row);
  }
  ledger.EndBlock();
  ledger.Finish();
  const std::vector<std::string> expected = {
      "[買掛金（流動負債）]", "||前期繰越|-|-|100",
      "令和7年4月1日|仕入高||-|250|350", "令和7年4月9日|仕入高||50|-|300", "||月計|50|250|-", "||累計|50|250|-",
      "令和7年5月2日|仕入高||0|-|300", "||月計|0|0|-", "||累計|50|250|-", "||期末残高|-|-|300", "[end]",
      // no rows in the ledger: the equity statement tells its opening and change
      "[繰越利益剰余金（純資産の部）]", "||前期繰越|-|-|100",
      "||当期純利益（株主資本等変動計算書）|20|-|80", "||期末残高|-|-|80", "[end]",
      "[自己株式（純資産の部）]", "||前期繰越|-|-|5", "||期末残高|-|-|5", "[end]"};
  EXPECT_EQ(expected, book.lines);
  EXPECT_EQ("令和7年12月", LedgerBook::MonthOf("令和7年12月31日"));
}

} // namespace
} // namespace stmtlink::report

#include "tools/report/net_assets_classes.h"

#include <set>
#include <utility>

namespace stmtlink::report {
namespace {

const std::pair<const char*, EquityClass> kEquityItems[] = {
    {"資本金", EquityClass::kCapital},
    {"資本準備金", EquityClass::kCapitalReserve},
    {"その他資本剰余金", EquityClass::kOtherCapitalSurplus},
    {"利益準備金", EquityClass::kLegalReserve},
    {"別途積立金", EquityClass::kVoluntaryReserve},
    {"任意積立金", EquityClass::kVoluntaryReserve},
    {"繰越利益剰余金", EquityClass::kRetainedBroughtForward},
    {"自己株式", EquityClass::kTreasuryShares},
    {"その他有価証券評価差額金", EquityClass::kValuation},
    {"繰延ヘッジ損益", EquityClass::kValuation},
    {"土地再評価差額金", EquityClass::kValuation},
    {"新株予約権", EquityClass::kSubscriptionRights},
};

struct EquityItem {
  std::string name;
  std::int64_t closing = 0;
  bool claimed = false;
};

} // namespace

EquityClass ClassOfEquityItem(const std::string& item) {
  for (const auto& [name, equity_class] : kEquityItems)
    if (item == name) return equity_class;
  return EquityClass::kUnplaced;
}

std::vector<NetAssetsAccount> ClassifyNetAssets(const Node& net_assets, const Node* equity_statement) {
  std::vector<EquityItem> items;
  if (equity_statement != nullptr)
    for (const Node* item : equity_statement->Children("ChangesNetAssetsItem")) {
      const Node* closing = item->Child("BalanceEndCurrentPeriod");
      items.push_back({item->ChildText("AccountList"), closing ? closing->amount.value_or(0) : 0});
    }
  std::vector<NetAssetsAccount> accounts;
  for (const Node* node : net_assets.Children("Item"))
    accounts.push_back({node->label.value_or(""), node->amount.value_or(0), EquityClass::kUnplaced, ""});

  auto place = [](NetAssetsAccount& account, EquityItem& item) {
    account.equity_class = ClassOfEquityItem(item.name);
    if (account.equity_class == EquityClass::kUnplaced) return;
    account.equity_item = item.name;
    item.claimed = true;
  };
  // By name first, so that an amount never takes an item its own account names.
  for (NetAssetsAccount& account : accounts)
    for (EquityItem& item : items)
      if (!item.claimed && item.name == account.label) {
        place(account, item);
        break;
      }
  std::set<std::string> labels;
  for (const NetAssetsAccount& account : accounts) labels.insert(account.label);
  for (NetAssetsAccount& account : accounts) {
    if (!account.equity_item.empty()) continue;
    EquityItem* only = nullptr;
    int candidates = 0;
    for (EquityItem& item : items)
      if (!item.claimed && labels.count(item.name) == 0 && item.closing == account.amount) {
        only = &item;
        ++candidates;
      }
    int rivals = 0; // another unplaced account of the same amount makes the match unsure
    for (const NetAssetsAccount& other : accounts)
      if (other.equity_item.empty() && other.amount == account.amount) ++rivals;
    if (candidates == 1 && rivals == 1) place(account, *only);
  }
  return accounts;
}

} // namespace stmtlink::report

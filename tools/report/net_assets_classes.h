// Where each account of the balance sheet's 純資産の部 stands in the form
// of the Companies Act's accounting rules (株主資本 with its 資本剰余金 and
// 利益剰余金, 評価・換算差額等, 新株予約権). The report gives net assets as
// one flat list; its statement of changes in net assets names each of its
// items by one of twelve fixed equity items, so that statement, and not a
// guess at an account's name, tells where an account belongs.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "tools/report/report_tree.h"

namespace stmtlink::report {

enum class EquityClass {
  kCapital,             // 資本金
  kCapitalReserve,      // 資本準備金
  kOtherCapitalSurplus, // その他資本剰余金
  kLegalReserve,        // 利益準備金
  kVoluntaryReserve,    // その他利益剰余金: 別途積立金 and the other reserves
  kRetainedBroughtForward, // その他利益剰余金: 繰越利益剰余金
  kTreasuryShares,      // 自己株式 (deducted)
  kValuation,           // 評価・換算差額等
  kSubscriptionRights,  // 新株予約権
  kUnplaced,            // no item of the equity statement answers for it
};

struct NetAssetsAccount {
  std::string label;        // as the balance sheet gives it
  std::int64_t amount = 0;  // as the balance sheet gives it (自己株式 positive)
  EquityClass equity_class = EquityClass::kUnplaced;
  std::string equity_item;  // the equity statement's item that answers for it ("" when unplaced)
};

// The class of one of the equity statement's twelve items; kUnplaced for
// any other text.
EquityClass ClassOfEquityItem(const std::string& item);

// The accounts of net_assets (BalanceSheet/NetAssets) in the report's order,
// each placed by the equity statement (may be null): first the item of the
// same name; else the one item not claimed by name whose closing balance is
// the account's amount (the statement's 任意積立金 answers for a reserve the
// books name 圧縮積立金). An account that neither places stays unplaced.
std::vector<NetAssetsAccount> ClassifyNetAssets(const Node& net_assets, const Node* equity_statement);

} // namespace stmtlink::report

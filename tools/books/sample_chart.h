// The sample company's chart of accounts: main accounts with their nature
// codes, line types and normal sides, sub-accounts, headings, and the total
// rows with their member masks. Options add the manufacturing-cost accounts,
// the unclassified noncurrent-asset accounts, and extra expense accounts and
// sub-accounts up to a number of rows.
//
// How the year's profit reaches net assets: 繰越利益剰余金 (0x80281048) is a
// computed item (line type 3) that holds the earlier years' retained
// earnings as its own opening balance and sums the income-statement
// accounts through the masks of 当期純利益. 前期繰越利益 (0x80202010) and
// 当期未処分利益 (0x40200020) are in the chart for the retained-earnings
// carry; 前期繰越利益 holds no balance, so the sample still balances.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "tools/books/sample_books.h"

namespace stmtlink {

struct ChartAccount {
  std::int64_t code = 0;      // stored form: main x 10,000 + sub
  std::int64_t seq = 0;
  std::string formal_name;    // UTF-8
  std::string statement_name; // UTF-8, may be empty
  std::uint32_t nature = 0;
  int line_type = 0;          // 0 account, 1 heading, 2 total, 3 computed item
  int normal_side = 1;        // 1 debit, 2 credit
  int ledger_excluded_a = 0;  // the two flags that keep an account out of
  int ledger_excluded_b = 0;  // the general ledger (either one does)
};

struct ChartMember {
  std::int64_t total_code = 0;
  std::uint32_t mask = 0;
};

struct SampleChart {
  std::vector<ChartAccount> accounts; // in seq order
  std::vector<ChartMember> members;
  // Accounts that the journal posts to, by role.
  std::vector<std::int64_t> customers;       // sub-accounts of 売掛金
  std::vector<std::int64_t> suppliers;       // sub-accounts of 買掛金
  std::vector<std::int64_t> banks;           // sub-accounts of 普通預金
  std::vector<std::int64_t> taxed_expenses;  // selling and administrative, with tax
  // The name of an account by stored code (UTF-8); "" when unknown.
  std::string NameOf(std::int64_t code) const;
};

// Main codes the journal uses (stored form is x 10,000).
namespace chart {
constexpr std::int64_t kCash = 1110, kBank = 1120, kNotesReceivable = 1130, kReceivable = 1140,
                       kGoods = 1150, kLoanReceivable = 1160, kConsumptionTaxRefundable = 1167,
                       kPrepaid = 1170, kMaterials = 1180,
                       kWorkInProcess = 1185, kInputTax = 1190, kBuildings = 1211,
                       kVehicles = 1212, kTools = 1213, kLand = 1214, kSoftware = 1221,
                       kSecurities = 1231, kDeposits = 1232, kStartUp = 1310, kPayable = 2110,
                       kShortLoan = 2120, kAccrued = 2130, kIncomeTaxPayable = 2140,
                       kConsumptionTaxPayable = 2141, kWithholding = 2150, kOutputTax = 2190,
                       kLongLoan = 2210, kCapital = 3110,
                       kRetainedEarnings = 3340, kTreasuryStock = 3410, kSales = 4110,
                       kSalesReturns = 4120, kOpeningGoods = 5110, kPurchases = 5120,
                       kClosingGoods = 5190, kDirectorsPay = 6110, kSalaries = 6120,
                       kWelfare = 6130, kTravel = 6140, kSupplies = 6160, kRent = 6180, kDepreciation = 6190, kFees = 6200,
                       kTaxesDues = 6210, kInterestIncome = 7110, kMiscIncome = 7120,
                       kInterestExpense = 7210, kMiscLoss = 7220, kGainOnSale = 8110,
                       kLossOnDisposal = 8210, kIncomeTaxes = 8810, kOpeningMaterials = 9110,
                       kMaterialPurchases = 9120, kClosingMaterials = 9130, kWages = 9210,
                       kOutsourcing = 9310, kPower = 9320, kMfgDepreciation = 9330,
                       kOpeningWip = 9510, kClosingWip = 9530;
// Taxed expenses kept out of the general ledger, one by each flag.
constexpr std::int64_t kLedgerExcludedA = 6220, kLedgerExcludedB = 6150;
constexpr std::int64_t Stored(std::int64_t main, std::int64_t sub = 0) { return main * 10000 + sub; }
} // namespace chart

SampleChart BuildSampleChart(const SampleOptions& options);

} // namespace stmtlink

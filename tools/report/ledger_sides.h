// The general ledger's rows as debits and credits. A ledger row carries one
// signed amount, the change of its account's balance on the side the
// balance normally stands (a payment of 買掛金 is negative). The block's
// category (流動負債, 売上高 …) tells that side: liabilities, net assets and
// revenues stand on the credit side, everything else on the debit side.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "tools/report/report_reader.h"

namespace stmtlink::report {

// Whether an account of that ledger category keeps its balance on the credit side.
bool IsCreditSide(std::string_view category);

// A row's amount as debit and credit (one of them zero).
struct DebitCredit {
  std::int64_t debit = 0, credit = 0;
};
DebitCredit SidesOf(std::string_view category, std::int64_t amount);

// One account of the ledger in sum: 前期繰越, the period's debits and credits, 期末残高.
struct LedgerAccountTotals {
  std::string account, category;
  std::int64_t opening = 0, debits = 0, credits = 0, closing = 0;
  long rows = 0;
};

// A LedgerSink that keeps each account's totals (a few numbers per account,
// whatever the ledger's size).
class LedgerTotalsSink : public LedgerSink {
 public:
  void BeginBlock(const LedgerBlock& block) override;
  void Row(const LedgerRow& row) override;
  void EndBlock() override {}

  std::vector<LedgerAccountTotals> accounts;
};

} // namespace stmtlink::report

#include "tools/report/ledger_sides.h"

#include "tools/report/findings.h"

namespace stmtlink::report {

bool IsCreditSide(std::string_view category) {
  for (std::string_view credit : {"流動負債", "固定負債", "負債の部", "株主資本", "評価･換算差額等",
                                  "評価・換算差額等", "新株予約権", "純資産の部", "負債・純資産合計",
                                  "売上高", "営業外収益", "特別利益"})
    if (category == credit) return true;
  return false;
}

DebitCredit SidesOf(std::string_view category, std::int64_t amount) {
  const bool credit_side = IsCreditSide(category);
  const std::int64_t size = amount < 0 ? Minus(0, amount) : amount;
  if ((amount >= 0) != credit_side) return {size, 0};
  return {0, size};
}

void LedgerTotalsSink::BeginBlock(const LedgerBlock& block) {
  accounts.push_back({block.account, block.category, block.opening, 0, 0, block.closing, 0});
}

void LedgerTotalsSink::Row(const LedgerRow& row) {
  LedgerAccountTotals& account = accounts.back();
  const DebitCredit sides = SidesOf(account.category, row.amount);
  account.debits = Plus(account.debits, sides.debit);
  account.credits = Plus(account.credits, sides.credit);
  ++account.rows;
}

} // namespace stmtlink::report

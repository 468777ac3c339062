// One general-ledger row of an account, made by the ledger collection for
// the chosen months, and the list of them: grouped by account in the
// aggregation's order, within an account in the host ledger's order.
#pragma once

#include <cstdint>

#include "aggregate/owning_list.h"

namespace stmtlink {

struct LedgerLine {
  std::int32_t code = 0;              // the account whose ledger this is (stored form)
  std::int32_t entryNo = 0;           // the row's number, printed by the report
  char dateText[31] = {};             // era date text, at most 30 bytes
  char subAccountName[31] = {};       // the account's own sub-account on this row
  char counterAccountName[31] = {};   // counter account, or 諸口 for several
  char counterSubAccountName[31] = {};
  char description[61] = {};          // at most 60 bytes
  std::int64_t amount = 0;            // 1/10,000 yen, signed by the normal side
  std::int64_t balance = 0;           // running balance after this row
};

using LedgerLineList = OwningList<LedgerLine>;

} // namespace stmtlink

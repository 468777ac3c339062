// The general-ledger collection of one account. Not built yet: until it is,
// general-ledger mode collects no ledger lines (the statements are still
// complete), and the driver's progress runs as in ledger mode.
#include "aggregate/statement_aggregator.h"

namespace stmtlink {

int StatementAggregator::collectLedger(std::int32_t, const StDATAINFO*, const StFINDINFO*,
                                       StKAMOKUSUMINFO) {
  return 1;
}

} // namespace stmtlink

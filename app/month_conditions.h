// The host's search conditions for the chosen months: a chain of
// StFINDINFO entries on the month position (field 17) that the aggregation
// and the ledger collection read.
//   entry 1: operator 4 (from), the start position s;
//   entry 2: operator 6 (to), the end position e;
//   then, when the company has an interim closing and e is 6, an entry with
//   15 (the interim adjustment period), and when `to` is the period's last
//   calendar month, an entry with 18 (the year-end adjustment period).
#pragma once

#include "AccUty/run_failure.h"
#include "host/host_records.h"

namespace stmtlink {

// The chain buffer of the run: 136 bytes, zero-filled before it is built.
struct MonthConditions {
  StFINDINFO entries[kFindInfoChainLength];
};

// Fills *conditions for the calendar months from..to (1-12) of the period
// of *data. Fails with kNoInput when either pointer is null, and with the
// host's failure when the period's months could not be read.
RunFailure BuildMonthConditions(MonthConditions* conditions, const StDATAINFO* data, int from, int to);

} // namespace stmtlink

static_assert(sizeof(stmtlink::MonthConditions) == 136);
static_assert(offsetof(stmtlink::MonthConditions, entries[1].value) == 0x34);
static_assert(offsetof(stmtlink::MonthConditions, entries[1].link) == 0x40);
static_assert(offsetof(stmtlink::MonthConditions, entries[2].value) == 0x56);

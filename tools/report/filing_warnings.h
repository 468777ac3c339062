// What an accountant wants to see before filing, though the figures hold
// together: cash, deposits, receivables or inventories below zero;
// consumption tax left on 仮払消費税 or 仮受消費税 (books kept without tax
// clear both at the year end); a balance on 諸口 or 未確定勘定; net assets
// below zero; a period that is not a whole year. (The ledger's 諸口 and
// 未確定勘定 blocks are looked at by the ledger check.)
#pragma once

#include "tools/report/findings.h"
#include "tools/report/report_tree.h"

namespace stmtlink::report {

void AddFilingWarnings(const Node& root, Findings* findings);

// Whether from..to (yyyymmdd) is one whole year: to is the day before
// from's date a year later.
bool IsWholeYear(int from, int to);

} // namespace stmtlink::report

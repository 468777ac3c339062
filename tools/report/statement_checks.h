// The figure checks of the statements the report holds besides the ledger:
// the balance sheet balances and every category total is the sum of its
// items and subcategories; the income statement's and the manufacturing
// schedule's chains of computed lines; the equity statement's items, its
// net income and its closing total against the balance sheet.
#pragma once

#include "tools/report/findings.h"
#include "tools/report/report_tree.h"

namespace stmtlink::report {

// root: the REPORT element. Adds what it finds to findings.
void CheckStatements(const Node& root, Findings* findings);

} // namespace stmtlink::report

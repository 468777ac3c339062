// Last year's report beside this year's (--previous): both reports brought
// to the same items, so that a column of either year adds up and an item
// only one year has stands in both with the other's figure 0; and the
// checks that last year's report is this company's year before.
#pragma once

#include <string>

#include "tools/report/report_tree.h"

namespace stmtlink::report {

// root with every section and item of other's statements it lacks, at
// other's place among its own and with a zero figure; the equity items of
// other it lacks likewise (zero balances), so the added accounts are placed
// as other places them. The ledger and the notes are not touched.
Node WithItemsOf(const Node& root, const Node& other);

// Why last year's report cannot stand beside this one ("" when it can):
// another company's report, naming both.
std::string PreviousRefusal(const Node& now, const Node& last);

// What the document's first page says when last year's period does not end
// the day before this one begins ("" when it does).
std::string PreviousPeriodRemark(const Node& now, const Node& last);

} // namespace stmtlink::report

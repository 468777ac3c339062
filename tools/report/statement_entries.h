// The figures of a report's statements as one list, each under a key that
// names it the same way in any year's report: statement, section and label
// ("貸借対照表 / 流動資産 / 現金"). Used to compare two reports item by item.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "tools/report/report_tree.h"

namespace stmtlink::report {

struct StatementEntry {
  std::string key;  // statement / section / label; "#2" on for a label met again
  std::int64_t amount = 0;
};

// Every category total, item and computed line of the balance sheet, the
// income statement and the manufacturing schedule, and every figure of the
// equity statement, in the report's order. The general ledger and the
// notes are not figures of the statements and are left out.
std::vector<StatementEntry> StatementEntries(const Node& root);

} // namespace stmtlink::report

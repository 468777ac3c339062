// Two reports compared item by item (stmtlink-report diff): every figure of
// the statements matched by statement, section and label, with the change
// in yen and per cent, and the items only one of them has.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "tools/report/statement_entries.h"

namespace stmtlink::report {

struct EntryChange {
  std::string key;
  bool in_old = false, in_new = false;
  std::int64_t old_amount = 0, new_amount = 0;
};

// The entries that differ (amount, or present on one side only), in the
// newer report's order, then those only the older has.
std::vector<EntryChange> CompareEntries(const std::vector<StatementEntry>& older,
                                        const std::vector<StatementEntry>& newer);

// "+12.5%", "-3.0%"; "" when the old amount is zero.
std::string PerCent(std::int64_t old_amount, std::int64_t new_amount);

// The changes as text for a terminal.
std::string DiffText(const std::vector<EntryChange>& changes);

} // namespace stmtlink::report

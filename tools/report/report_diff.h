// Two reports compared item by item (stmtlink-report diff): every figure of
// the statements matched by statement, section and label, in the order the
// statements print them, with the change in yen and per cent, and the items
// only one of them has; the general ledger per account (前期繰越, 借方, 貸方,
// 期末残高); the notes' texts per heading.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "tools/report/ledger_sides.h"
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

// The two reports' statements compared, in statement order: an item only
// one has stands where that report has it.
std::vector<EntryChange> CompareStatements(const Node& older, const Node& newer);

struct LedgerChange {
  std::string account; // "#2" on for an account met again
  bool in_old = false, in_new = false;
  LedgerAccountTotals old_totals, new_totals;
};
// The accounts whose totals differ, in the newer ledger's order, then those only the older has.
std::vector<LedgerChange> CompareLedgers(const std::vector<LedgerAccountTotals>& older,
                                         const std::vector<LedgerAccountTotals>& newer);

struct NoteChange {
  std::string heading;                // without its number
  std::vector<std::string> removed, added; // lines only the older, only the newer has
};
std::vector<NoteChange> CompareNotes(const Node& older, const Node& newer);

// "+12.5%", "-3.0%"; "" when the old amount is zero.
std::string PerCent(std::int64_t old_amount, std::int64_t new_amount);

// The changes as text for a terminal.
std::string DiffText(const std::vector<EntryChange>& changes);
std::string LedgerDiffText(const std::vector<LedgerChange>& changes);
std::string NotesDiffText(const std::vector<NoteChange>& changes);

} // namespace stmtlink::report

// The builders behind statement_model.h, one per statement form, and the
// small rules they share. Internal to the statement model.
#pragma once

#include <cstdint>
#include <string>

#include "tools/report/statement_model.h"

namespace stmtlink::report {

Statement BalanceSheetForm(const Node& root);
Statement IncomeStatementForm(const Node& root);
Statement ManufacturingForm(const Node& root);
Statement ExpenseDetailForm(const Node& root);

// Whether a section holds anything to show: an item, or a nonzero total.
bool SectionHasContent(const Node& section);
// A section's total: the report's, or (without a total line) the sum of its
// items, deductions taken off, and of its subsections' totals.
std::int64_t SectionTotal(const Node& section);
// The caption of a section's total line: the report's label, or 名称＋合計.
std::string TotalCaption(const Node& section);

} // namespace stmtlink::report

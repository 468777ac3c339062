#include "app/month_conditions.h"

#include <cstring>

#include "dialog/period_months.h"
#include "host/ledger_records.h"

namespace stmtlink {
namespace {

void SetEntry(StFINDINFO* entry, std::int16_t op, std::int16_t value) {
  entry->fieldId = kFindFieldMonthPosition;
  entry->op = op;
  entry->valueType = kFindValue16;
  entry->value = value;
  entry->link = kFindLinkEnd;
}

} // namespace

RunFailure BuildMonthConditions(MonthConditions* conditions, const StDATAINFO* data, int from, int to) {
  if (!conditions || !data) return RunFailure::Of(RunFailure::Kind::kNoInput);
  std::memset(conditions, 0, sizeof(*conditions));
  std::int16_t first = 0, last = 0;
  if (RunFailure months = GetPeriodMonths(data->periodStart, data->periodEnd, &first, &last);
      months.failed())
    return months;
  const auto s = GetMonthPosition(first, static_cast<std::int16_t>(from));
  const auto e = GetMonthPosition(first, static_cast<std::int16_t>(to));

  StFINDINFO* entries = conditions->entries;
  SetEntry(&entries[0], kFindOpAtLeast, s);
  entries[0].link = kFindLinkAnd;
  SetEntry(&entries[1], kFindOpAtMost, e);
  int count = 2;
  // At most two adjustment entries follow, so the chain never outgrows its
  // four entries.
  if (data->interimClosing == kInterimClosingOn && e == kInterimClosingMonthPosition) {
    entries[count - 1].link = kFindLinkOr;
    SetEntry(&entries[count++], kFindOpEqual, kMonthPositionInterim);
  }
  if (to == last % 100) {
    entries[count - 1].link = kFindLinkOr;
    SetEntry(&entries[count++], kFindOpEqual, kMonthPositionYearEnd);
  }
  return RunFailure();
}

} // namespace stmtlink

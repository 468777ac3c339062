#include "app/month_conditions.h"

#include <cstring>

#include "dialog/period_months.h"

namespace stmtlink {
namespace {

constexpr std::int32_t kMonthPositionField = 17;
constexpr std::int16_t kNumberValue = 2;
constexpr std::int16_t kOpFrom = 4;
constexpr std::int16_t kOpTo = 6;
constexpr std::int16_t kOpEquals = 1;
constexpr std::int16_t kInterimPosition = 15;
constexpr std::int16_t kYearEndPosition = 18;

void SetEntry(StFINDINFO* entry, std::int16_t op, std::int16_t value) {
  entry->fieldId = kMonthPositionField;
  entry->op = op;
  entry->valueType = kNumberValue;
  entry->value = value;
  entry->link = 0;
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
  SetEntry(&entries[0], kOpFrom, s);
  entries[0].link = 1;
  SetEntry(&entries[1], kOpTo, e);
  int count = 2;
  // At most two adjustment entries follow, so the chain never outgrows its
  // four entries.
  if (data->interimClosing == 1 && e == 6) {
    entries[count - 1].link = 2;
    SetEntry(&entries[count++], kOpEquals, kInterimPosition);
  }
  if (to == last % 100) {
    entries[count - 1].link = 2;
    SetEntry(&entries[count++], kOpEquals, kYearEndPosition);
  }
  return RunFailure();
}

} // namespace stmtlink

#include "dialog/period_months.h"

#include "host/acc_period.h"

namespace stmtlink {

void GetPeriodMonths(std::int32_t start, std::int32_t end, std::int16_t* first, std::int16_t* last) {
  // The host's results are not checked: the period comes from its own data.
  ClAccPeriod period;
  std::int16_t closing_day = 31;
  std::int16_t first_month = 0;
  period.SetPeriod(start, end);
  period.GetClosingDayByEndDate(end, 0, &closing_day);
  period.SetClosingDay(closing_day);
  period.GetAMonthByDate(start, &first_month, 0);

  std::int16_t last_month = static_cast<std::int16_t>(end % 10000 / 100);
  if (last_month < first_month) last_month = static_cast<std::int16_t>(last_month + 100);
  if (first) *first = first_month;
  if (last) *last = last_month;
}

std::int16_t GetMonthPosition(std::int16_t first, std::int16_t month) {
  return static_cast<std::int16_t>(month >= first ? month - first + 1 : month - first + 13);
}

} // namespace stmtlink

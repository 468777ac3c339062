#include "dialog/period_months.h"

#include "host/acc_period.h"

namespace {
constexpr char kPeriodWhat[] = "会計期間";
} // namespace

namespace stmtlink {

RunFailure GetPeriodMonths(std::int32_t start, std::int32_t end, std::int16_t* first,
                           std::int16_t* last) {
  // Every answer counts: a month computed from a failed call would make the
  // statements cover other months than the user chose.
  ClAccPeriod period;
  std::int16_t closing_day = 31;
  std::int16_t first_month = 0;
  if (first) *first = 0;
  if (last) *last = 0;
  RunFailure failure;
  if (!HostReadOk(period.SetPeriod(start, end), "ClAccPeriod::SetPeriod", kPeriodWhat, &failure) ||
      !HostReadOk(period.GetClosingDayByEndDate(end, 0, &closing_day),
                  "ClAccPeriod::GetClosingDayByEndDate", kPeriodWhat, &failure) ||
      !HostReadOk(period.SetClosingDay(closing_day), "ClAccPeriod::SetClosingDay", kPeriodWhat,
                  &failure) ||
      !HostReadOk(period.GetAMonthByDate(start, &first_month, 0), "ClAccPeriod::GetAMonthByDate",
                  kPeriodWhat, &failure))
    return failure;

  std::int16_t last_month = static_cast<std::int16_t>(end % 10000 / 100);
  if (last_month < first_month) last_month = static_cast<std::int16_t>(last_month + 100);
  if (first) *first = first_month;
  if (last) *last = last_month;
  return failure;
}

std::int16_t GetMonthPosition(std::int16_t first, std::int16_t month) {
  return static_cast<std::int16_t>(month >= first ? month - first + 1 : month - first + 13);
}

} // namespace stmtlink

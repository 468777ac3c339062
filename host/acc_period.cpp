#include "host/acc_period.h"

#include "host/host_call.h"
#include "host/host_errors.h"

namespace {

bool IsLeapYear(int year) { return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0; }

int DaysInMonth(int year, int month) {
  static const int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  if (month < 1 || month > 12) return 31;
  return month == 2 && IsLeapYear(year) ? 29 : kDays[month - 1];
}

} // namespace

long ClAccPeriod::SetPeriod(std::int32_t start, std::int32_t end) {
  if (long code = stmtlink::BeginHostCall("ClAccPeriod::SetPeriod", start, end)) return code;
  start_ = start;
  end_ = end;
  return 0;
}

long ClAccPeriod::GetClosingDayByEndDate(std::int32_t end, int, std::int16_t* closing_day) {
  if (long code = stmtlink::BeginHostCall("ClAccPeriod::GetClosingDayByEndDate", end)) return code;
  const int year = end / 10000;
  const int month = end % 10000 / 100;
  const int day = end % 100;
  if (closing_day == nullptr) return stmtlink::kHostErrorArgument;
  *closing_day = static_cast<std::int16_t>(day >= DaysInMonth(year, month) ? 31 : day);
  return 0;
}

long ClAccPeriod::SetClosingDay(std::int16_t closing_day) {
  if (long code = stmtlink::BeginHostCall("ClAccPeriod::SetClosingDay", closing_day)) return code;
  closing_day_ = closing_day;
  return 0;
}

long ClAccPeriod::GetAMonthByDate(std::int32_t date, std::int16_t* month, int) {
  if (long code = stmtlink::BeginHostCall("ClAccPeriod::GetAMonthByDate", date)) return code;
  if (month == nullptr) return stmtlink::kHostErrorArgument;
  int m = date % 10000 / 100;
  const int day = date % 100;
  // A day after the closing day belongs to the next accounting month.
  if (closing_day_ < 31 && day > closing_day_) m = m % 12 + 1;
  *month = static_cast<std::int16_t>(m);
  return 0;
}

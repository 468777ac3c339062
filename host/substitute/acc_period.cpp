#include "host/acc_period.h"

#include <algorithm>

#include "host/substitute/host_call.h"
#include "host/host_errors.h"

namespace {

bool IsLeapYear(int year) { return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0; }

int DaysInMonth(int year, int month) {
  static const int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  if (month < 1 || month > 12) return 31;
  return month == 2 && IsLeapYear(year) ? 29 : kDays[month - 1];
}

int ClosingDayOf(std::int32_t end) {
  const int year = end / 10000;
  const int month = end % 10000 / 100;
  const int day = end % 100;
  return day >= DaysInMonth(year, month) ? 31 : day;
}

// A calendar month as a count of months (year x 12 + month - 1).
int MonthIndex(int year, int month) { return year * 12 + month - 1; }

// The accounting month (as a month index) that a date belongs to.
int AccountingMonth(std::int32_t date, int closing_day) {
  const int index = MonthIndex(date / 10000, date % 10000 / 100);
  return closing_day < 31 && date % 100 > closing_day ? index + 1 : index;
}

// The closing date of the accounting month with this index.
std::int32_t ClosingDate(int index, int closing_day) {
  const int year = index / 12;
  const int month = index % 12 + 1;
  const int day = std::min(closing_day, DaysInMonth(year, month));
  return year * 10000 + month * 100 + day;
}

std::int32_t NextDay(std::int32_t date) {
  const int year = date / 10000;
  const int month = date % 10000 / 100;
  const int day = date % 100;
  if (day < DaysInMonth(year, month)) return date + 1;
  return month == 12 ? (year + 1) * 10000 + 101 : year * 10000 + (month + 1) * 100 + 1;
}

constexpr int kPositionInterim = 15;
constexpr int kPositionYearEnd = 18;

} // namespace

ClAccPeriod::ClAccPeriod(std::int32_t start, std::int32_t end)
    : start_(start), end_(end), closing_day_(static_cast<std::int16_t>(ClosingDayOf(end))) {}

long ClAccPeriod::SetPeriod(std::int32_t start, std::int32_t end) {
  if (long code = stmtlink::BeginHostCall("ClAccPeriod::SetPeriod", start, end)) return code;
  start_ = start;
  end_ = end;
  return 0;
}

long ClAccPeriod::GetClosingDayByEndDate(std::int32_t end, int, std::int16_t* closing_day) {
  if (long code = stmtlink::BeginHostCall("ClAccPeriod::GetClosingDayByEndDate", end)) return code;
  if (closing_day == nullptr) return stmtlink::kHostErrorArgument;
  *closing_day = static_cast<std::int16_t>(ClosingDayOf(end));
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

long ClAccPeriod::GetPeriodByMonthKind(int position, std::int32_t* first, std::int32_t* last,
                                       int) {
  if (long code = stmtlink::BeginHostCall("ClAccPeriod::GetPeriodByMonthKind", position))
    return code;
  if (!first || !last || start_ <= 0 || end_ < start_) return stmtlink::kHostErrorArgument;
  const int closing_day = std::clamp<int>(closing_day_, 1, 31);
  const int base = AccountingMonth(start_, closing_day);
  int month = position;
  if (position == kPositionInterim) {
    month = 6;
  } else if (position == kPositionYearEnd) {
    month = std::clamp(AccountingMonth(end_, closing_day) - base + 1, 1, 12);
  } else if (position < 1 || position > 12) {
    return stmtlink::kHostErrorArgument;
  }
  const int index = base + month - 1;
  *first = NextDay(ClosingDate(index - 1, closing_day));
  *last = ClosingDate(index, closing_day);
  return 0;
}

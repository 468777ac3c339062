#include "tools/books/journal_entries.h"

namespace stmtlink {

int FiscalPeriod::MonthPosition(std::int64_t date) const {
  const std::int64_t months = (date / 10000) * 12 + date / 100 % 100;
  const std::int64_t first = (start / 10000) * 12 + start / 100 % 100;
  return static_cast<int>(months - first + 1);
}

FiscalPeriod FiscalPeriod::YearFrom(std::int64_t date) {
  static const int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  const std::int64_t year = date / 10000, month = date / 100 % 100;
  // The last day of the eleventh month after date's month.
  std::int64_t end_year = year, end_month = month + 11;
  if (end_month > 12) {
    end_month -= 12;
    ++end_year;
  }
  const bool leap = (end_year % 4 == 0 && end_year % 100 != 0) || end_year % 400 == 0;
  const std::int64_t last = kDays[end_month - 1] + (end_month == 2 && leap ? 1 : 0);
  return FiscalPeriod{year * 10000 + month * 100 + 1, end_year * 10000 + end_month * 100 + last};
}

} // namespace stmtlink

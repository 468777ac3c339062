// The host's accounting-period object: which accounting month a date
// belongs to, by the period's closing day. A closing day of 31 means the
// month's last day; with a closing day of 20, the 21st and later belong to
// the next month.
#pragma once

#include <cstdint>

class ClAccPeriod {
 public:
  ClAccPeriod() = default;
  // Substitute: a period from start to end whose closing day is the one its
  // last day implies (see GetClosingDayByEndDate); nothing is recorded.
  ClAccPeriod(std::int32_t start, std::int32_t end);

  long SetPeriod(std::int32_t start, std::int32_t end);
  // The closing day that the period's last day implies: its day of month,
  // or 31 when it is the last day of its month.
  long GetClosingDayByEndDate(std::int32_t end, int reserved, std::int16_t* closing_day);
  long SetClosingDay(std::int16_t closing_day);
  // The accounting month (calendar month number 1-12) of a date.
  long GetAMonthByDate(std::int32_t date, std::int16_t* month, int reserved);
  // The first and last date (yyyymmdd) of a month position: 1-12 the
  // period's months from its first, 15 the interim closing (the sixth
  // month's dates), 18 the year-end (the last month's). A month runs from
  // the day after the previous month's closing day to its own closing day.
  // kHostErrorArgument for another position or before the period is set.
  long GetPeriodByMonthKind(int position, std::int32_t* first, std::int32_t* last, int reserved);

 private:
  std::int32_t start_ = 0;
  std::int32_t end_ = 0;
  std::int16_t closing_day_ = 31;
};

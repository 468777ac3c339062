#include "tools/report/era_date.h"

namespace stmtlink::report {
namespace {

struct Era {
  int first_day;
  const char* name;
};
const Era kEras[] = {{20190501, "令和"}, {19890108, "平成"}, {19261225, "昭和"},
                     {19120730, "大正"}, {18681023, "明治"}};

} // namespace

std::string EraDate(int date) {
  const int month = date / 100 % 100, day = date % 100;
  if (month < 1 || month > 12 || day < 1 || day > 31) return std::to_string(date);
  for (const Era& era : kEras) {
    if (date < era.first_day) continue;
    const int year = date / 10000 - era.first_day / 10000 + 1;
    return std::string(era.name) + (year == 1 ? std::string("元") : std::to_string(year)) + "年" +
           std::to_string(month) + "月" + std::to_string(day) + "日";
  }
  return std::to_string(date);
}

std::string EraPeriod(int from, int to) { return "自 " + EraDate(from) + "　至 " + EraDate(to); }

} // namespace stmtlink::report

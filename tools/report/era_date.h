// Dates as a Japanese statement writes them: 20250401 -> "令和7年4月1日"
// (the first year of an era as 元年).
#pragma once

#include <string>

namespace stmtlink::report {

// yyyymmdd in the era of that day; the digits as given when it is not a
// date or comes before 明治.
std::string EraDate(int yyyymmdd);
// A business year as the statements head it: "自 令和7年4月1日　至 令和8年3月31日".
std::string EraPeriod(int from, int to);

} // namespace stmtlink::report

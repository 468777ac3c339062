// Dates as a Japanese statement writes them: 20250401 -> "令和7年4月1日"
// (the first year of an era as 元年).
#pragma once

#include <string>

namespace stmtlink::report {

// yyyymmdd in the era of that day; the digits as given when it is not a
// date or comes before 明治.
std::string EraDate(int yyyymmdd);

} // namespace stmtlink::report

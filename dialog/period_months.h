// Accounting months. The user names months by calendar month number 1-12;
// the host decides from the period's closing day which calendar month an
// accounting month is. A month position counts the months of the fiscal
// year from 1 (its first month).
#pragma once

#include <cstdint>

#include "AccUty/run_failure.h"

namespace stmtlink {

// The first and last accounting month of the period [start, end]
// (yyyymmdd). last has 100 added when the period crosses the end of a
// calendar year (last < first). Either output may be null. A failed host
// call is returned (both outputs 0 then).
RunFailure GetPeriodMonths(std::int32_t start, std::int32_t end, std::int16_t* first,
                           std::int16_t* last);

// The 1-based position of month in a period whose first month is first.
std::int16_t GetMonthPosition(std::int16_t first, std::int16_t month);

} // namespace stmtlink

// The Japanese eras as the host's era table holds them. The import and the
// sample write this table into new books, and the journal's era dates
// (令和7年4月1日, R7/4/1) are read by it, so that a date read in an era is
// the one the program writes back in that era.
#pragma once

#include <cstdint>

namespace stmtlink {

struct Era {
  std::int64_t first_day; // yyyymmdd
  const char* name;       // 令和 (UTF-8)
  const char* abbreviation; // R
};

// Oldest first: 明治, 大正, 昭和, 平成, 令和.
extern const Era kEras[5];

} // namespace stmtlink

// Statement lines for report tests, stated in yen as a reader of the
// statements would (amounts are kept in 1/10,000 yen).
#pragma once

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <memory>
#include <string>

#include "aggregate/account_line.h"

namespace stmtlink::testing {

constexpr std::int64_t kYen = 10000;

struct LineSpec {
  int main_code = 0;
  const char* formal = "";
  std::uint32_t nature = 0;
  std::int16_t line_type = 0;
  std::int64_t closing = 0; // 1/10,000 yen
  std::int64_t opening = 0;
  std::int64_t change = 0;
  const char* statement = "";
};

inline AccountLine* AddLine(AccountLineList* list, const LineSpec& spec) {
  auto line = std::make_unique<AccountLine>();
  line->code = spec.main_code * 10000;
  // The aggregation keeps at most 30 bytes of each name.
  std::memcpy(line->formalName, spec.formal, std::min<std::size_t>(std::strlen(spec.formal), 30));
  std::memcpy(line->statementName, spec.statement,
              std::min<std::size_t>(std::strlen(spec.statement), 30));
  line->opening = spec.opening;
  line->change = spec.change;
  line->closing = spec.closing;
  line->nature = static_cast<std::int32_t>(spec.nature);
  line->lineType = spec.line_type;
  AccountLine* raw = line.get();
  list->Append(std::move(line));
  return raw;
}

} // namespace stmtlink::testing

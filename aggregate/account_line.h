// One statement line per account, made by the aggregation from the host's
// account sums for the chosen months, and the list of them. The report
// sorts lines into statement sections by the host's account-nature code.
#pragma once

#include <cstdint>

#include "aggregate/owning_list.h"

namespace stmtlink {

struct AccountLine {
  std::int32_t code = 0;        // stored form: main x 10,000 + sub
  char formalName[31] = {};     // at most 30 bytes of CP932 text
  char statementName[31] = {};  // name for statements; empty when none
  std::int64_t opening = 0;     // 1/10,000 yen, signed by the normal side
  std::int64_t change = 0;      // closing - opening before the retained-earnings carry
  std::int64_t closing = 0;
  std::int32_t nature = 0;      // the host's account-nature code, unchanged
  std::int16_t lineType = 0;    // the host row's line-type byte, sign-extended
};

using AccountLineList = OwningList<AccountLine>;

} // namespace stmtlink

// The program's string table (CP932 texts).
#pragma once

#include "platform/win_types.h"

namespace stmtlink {

// The text of a string resource; null when the table has no such string.
const char* LoadResourceString(UINT id);

} // namespace stmtlink

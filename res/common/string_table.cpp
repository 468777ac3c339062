#include "res/common/string_table.h"

#include "res/common/resource.h"

namespace stmtlink {

const char* LoadResourceString(UINT id) {
  switch (id) {
    case IDS_VERSION:
      return "20.01.02";
    default:
      return nullptr;
  }
}

} // namespace stmtlink

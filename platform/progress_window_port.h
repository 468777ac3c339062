// The front end's side of the progress window. The progress logic
// (app/progress_dialog.h) decides every state change; a front end only
// draws it. Every call names the window by the handle that ProgressCreate
// gave. Bars are named by their control IDs: 1016 the main bar, 1017 the
// second bar. The default implementation draws nothing (batch).
#pragma once

#include <string>

#include "platform/win_types.h"

namespace stmtlink {

class ProgressWindowPort {
 public:
  virtual ~ProgressWindowPort() = default;
};

} // namespace stmtlink

// The front end's side of the conditions dialog and the save-file dialog.
// The dialog logic (dialog/) decides every check, message, focus change and
// result; a front end only shows the controls and hands the user's input to
// the logic.
#pragma once

#include <string>

#include "platform/win_types.h"

namespace stmtlink {

class DialogPort {
 public:
  virtual ~DialogPort() = default;
};

} // namespace stmtlink

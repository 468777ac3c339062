#include "platform/progress_window_port.h"

namespace stmtlink {

HWND ProgressWindowPort::CreateProgressWindow(HWND) {
  // Numbers well away from the small ones the host passes for its windows.
  static HWND next = 0x131000;
  return next++;
}

} // namespace stmtlink

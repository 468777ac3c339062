#include "platform/progress_window_port.h"

namespace stmtlink {

HWND ProgressWindowPort::CreateProgressWindow(HWND) {
  // Numbers well away from the small ones the host passes for its windows.
  static HWND next = 0x131000;
  return next++;
}

ProgressBarState* BarKeepingProgressWindow::Bar(HWND window, int bar) {
  ProgressBars* bars = BarsOf(window);
  return bars != nullptr ? bars->Of(bar) : nullptr;
}

void BarKeepingProgressWindow::SetBarRange(HWND window, int bar, int low, int high) {
  if (ProgressBarState* b = Bar(window, bar)) b->SetRange(low, high);
}

void BarKeepingProgressWindow::SetBarStep(HWND window, int bar, int step) {
  if (ProgressBarState* b = Bar(window, bar)) b->step = step;
}

void BarKeepingProgressWindow::SetBarPos(HWND window, int bar, int pos) {
  if (ProgressBarState* b = Bar(window, bar)) b->SetPos(pos);
}

void BarKeepingProgressWindow::DeltaBarPos(HWND window, int bar, int delta) {
  if (ProgressBarState* b = Bar(window, bar)) b->DeltaPos(delta);
}

} // namespace stmtlink

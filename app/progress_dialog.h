// The progress window shown while the statements are aggregated and the
// report is written: a main bar in hundredths of a percent (10,000 = 100 %)
// with the same position in whole percent in the caption, and a second bar
// that runs from empty to full once for every unit the main bar advances.
// The whole run works on one thread without a message loop, so the window
// brings itself to the front and repaints itself after every step. This is
// the toolkit-free logic; a front end draws it through ProgressWindowPort.
#pragma once

#include "platform/win_types.h"

namespace stmtlink {

class ProgressWindowPort;

class ProgressDialog {
 public:
  // parent: the owner window (the run passes none).
  explicit ProgressDialog(HWND parent = 0);
  virtual ~ProgressDialog();

  ProgressDialog(const ProgressDialog&) = delete;
  ProgressDialog& operator=(const ProgressDialog&) = delete;

  // Creates the window from dialog resource 131, hidden. FALSE on failure.
  BOOL Create();
  void SetParent(HWND parent);
  void ShowWindow(bool show);
  // Closes (hides) the window with a result; it is destroyed with the object.
  void EndDialog(int result);
  HWND GetSafeHwnd() const { return window_; }

  // Main bar range 0 to 10,000, step 1, position 0.
  void ResetMainBar();
  // For every i from `from` up to and including `to`: caption "集計中 %d％"
  // with i / 100 when i is a multiple of 100, main bar forward by 1, one
  // PulseSecondBar, repaint. Nothing when from > to.
  void AdvanceMainBar(short from, short to);
  // Second bar range 0 to 5, step 1, position 0; then six times: forward by
  // 1, bring to top, foreground request, repaint.
  void PulseSecondBar();

 private:
  ProgressWindowPort* port_ = nullptr;
  HWND parent_ = 0;
  HWND window_ = 0;
};

} // namespace stmtlink

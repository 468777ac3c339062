// The progress window shown while the statements are aggregated and the
// report is written: a main bar in hundredths of a percent (10,000 = 100 %)
// with the same position in whole percent in the caption, and a second bar
// that runs from empty to full once for every unit the main bar advances.
// The whole run works on one thread without a message loop, so the window
// brings itself to the front and repaints itself after every step. This is
// the toolkit-free logic; a front end draws it through ProgressWindowPort.
// The aggregation and the report writer see it only as RunProgress.
#pragma once

#include "platform/progress_window_port.h"
#include "progress/run_progress.h"
#include "platform/win_types.h"

namespace stmtlink {

class ProgressDialog : public RunProgress {
 public:
  // parent: the owner window (the run passes none). port: where the window
  // is drawn; null for the current front end's.
  explicit ProgressDialog(HWND parent = 0, ProgressWindowPort* port = nullptr);
  // Destroys the window when it was created.
  ~ProgressDialog() override;

  ProgressDialog(const ProgressDialog&) = delete;
  ProgressDialog& operator=(const ProgressDialog&) = delete;

  // Creates the window from dialog resource 131, hidden. FALSE on failure.
  BOOL Create();
  void SetParent(HWND parent);
  void ShowWindow(bool show);
  // Closes (hides) the window with a result; it is destroyed with the object.
  void EndDialog(int result);
  HWND GetSafeHwnd() const { return window_; }
  int Result() const { return result_; }

  // Main bar range 0 to 10,000, step 1, position 0.
  void ResetMainBar();
  // For every i from `from` up to and including `to`: caption "集計中 %d％"
  // with i / 100 when i is a multiple of 100, main bar forward by 1, one
  // PulseSecondBar, repaint. Nothing when from > to.
  void AdvanceMainBar(short from, short to) override;
  // Second bar range 0 to 5, step 1, position 0; then six times: forward by
  // 1, bring to top, foreground request, repaint.
  void PulseSecondBar() override;

  // The bars as the window shows them.
  const ProgressBarState& MainBar() const { return main_bar_; }
  const ProgressBarState& SecondBar() const { return second_bar_; }

 private:
  ProgressBarState& Bar(int id) { return id == kMainProgressBar ? main_bar_ : second_bar_; }
  void SetRange(int bar, int low, int high);
  void SetStep(int bar, int step);
  void SetPos(int bar, int pos);
  void DeltaPos(int bar, int delta);
  void SetCaption(const char* caption);
  void Update();

  ProgressWindowPort* port_;
  HWND parent_ = 0;
  HWND window_ = 0;
  int result_ = 0;
  ProgressBarState main_bar_;
  ProgressBarState second_bar_;
};

} // namespace stmtlink

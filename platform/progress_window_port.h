// The front end's side of the progress window. The progress logic
// (app/progress_dialog.h) decides every state change; a front end only
// draws it. Every call names the window by the handle that
// CreateProgressWindow gave. Bars are named by their control IDs: 1016 the
// main bar, 1017 the second bar; their calls are the progress-bar control's
// messages (range, step, position, delta), with the control's clamping
// (ProgressBarState). The default implementation draws nothing (batch).
#pragma once

#include <algorithm>
#include <string>

#include "platform/win_types.h"

namespace stmtlink {

constexpr int kMainProgressBar = 1016;
constexpr int kSecondProgressBar = 1017;

// A progress-bar control's state: the position always lies in the range.
struct ProgressBarState {
  int low = 0;
  int high = 100;
  int step = 10;
  int pos = 0;

  void SetRange(int new_low, int new_high) {
    low = new_low;
    high = std::max(new_low, new_high);
    pos = std::clamp(pos, low, high);
  }
  void SetPos(int new_pos) { pos = std::clamp(new_pos, low, high); }
  void DeltaPos(int delta) { SetPos(pos + delta); }
};

// The two bars of one progress window, addressed by control ID.
struct ProgressBars {
  ProgressBarState main;
  ProgressBarState second;
  // Null for an ID that names neither bar.
  ProgressBarState* Of(int id) {
    if (id == kMainProgressBar) return &main;
    if (id == kSecondProgressBar) return &second;
    return nullptr;
  }
};

class ProgressWindowPort {
 public:
  virtual ~ProgressWindowPort() = default;

  // Creates the window of dialog resource 131, hidden, with the caption
  // "集計中"; returns its handle, 0 when it cannot be made. The default hands
  // out fresh numbers and draws nothing.
  virtual HWND CreateProgressWindow(HWND parent);
  virtual void SetProgressParent(HWND /*window*/, HWND /*parent*/) {}
  virtual void ShowProgressWindow(HWND /*window*/, bool /*show*/) {}
  // caption: CP932.
  virtual void SetProgressCaption(HWND /*window*/, const std::string& /*caption*/) {}
  virtual void SetBarRange(HWND /*window*/, int /*bar*/, int /*low*/, int /*high*/) {}
  virtual void SetBarStep(HWND /*window*/, int /*bar*/, int /*step*/) {}
  virtual void SetBarPos(HWND /*window*/, int /*bar*/, int /*pos*/) {}
  virtual void DeltaBarPos(HWND /*window*/, int /*bar*/, int /*delta*/) {}
  // Top of the window order, foreground window, explicit repaint: the run has
  // no message loop, so these are the only times the window is drawn.
  virtual void BringProgressToTop(HWND /*window*/) {}
  virtual void SetProgressForeground(HWND /*window*/) {}
  virtual void UpdateProgressWindow(HWND /*window*/) {}
  virtual void DestroyProgressWindow(HWND /*window*/) {}
};

// A front end that keeps the bars of its windows itself and draws them
// from that state: the four bar calls applied with the control's clamping,
// for a window the front end knows; calls for any other are ignored.
class BarKeepingProgressWindow : public ProgressWindowPort {
 public:
  void SetBarRange(HWND window, int bar, int low, int high) override;
  void SetBarStep(HWND window, int bar, int step) override;
  void SetBarPos(HWND window, int bar, int pos) override;
  void DeltaBarPos(HWND window, int bar, int delta) override;

 protected:
  // The bars of `window`; null when this front end shows no such window.
  virtual ProgressBars* BarsOf(HWND window) = 0;

 private:
  ProgressBarState* Bar(HWND window, int bar);
};

} // namespace stmtlink

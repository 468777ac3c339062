// The console's progress window: one line on standard error (UTF-8),
// "<caption> [#####.....]  12.34%", rewritten in place with a carriage
// return. The program repaints after every step (some 60,000 times a run),
// so repaints are coalesced: the line is drawn at most once per interval
// (40 ms: 25 a second), and always when the window is shown, hidden or
// destroyed, so the last state is never lost.
#pragma once

#include <cstdint>
#include <cstdio>
#include <functional>
#include <string>

#include "platform/progress_window_port.h"

namespace stmtlink {

class ConsoleProgressWindow : public BarKeepingProgressWindow {
 public:
  // Milliseconds of a monotonic clock. (<chrono> cannot be used here: its
  // "\u00b5s" literal has no CP932 form.)
  using Clock = std::function<std::int64_t()>;
  static constexpr std::int64_t kRepaintIntervalMs = 40;

  // clock: for tests; the system's monotonic clock when empty.
  explicit ConsoleProgressWindow(std::FILE* out = stderr, Clock clock = {});

  HWND CreateProgressWindow(HWND parent) override;
  void ShowProgressWindow(HWND window, bool show) override;
  void SetProgressCaption(HWND window, const std::string& caption) override;
  void UpdateProgressWindow(HWND window) override;
  void DestroyProgressWindow(HWND window) override;

  // The number of times the line was drawn (for tests).
  int draws() const { return draws_; }

 private:
  ProgressBars* BarsOf(HWND window) override;
  void Draw();
  // Ends the drawn line, so that later output starts on a line of its own.
  void EndLine();

  std::FILE* out_;
  Clock clock_;
  HWND window_ = 0; // the one window; calls for any other are ignored
  bool visible_ = false;
  bool line_open_ = false;
  std::string caption_ = "集計中"; // CP932
  ProgressBars bars_;
  std::int64_t last_draw_ = 0;
  bool drawn_once_ = false;
  int draws_ = 0;
};

} // namespace stmtlink

#include "ui/console_progress_window.h"

#include <time.h>

#include <utility>

#include "platform/text_codec.h"

namespace stmtlink {
namespace {

constexpr int kBarWidth = 30;

std::int64_t MonotonicMs() {
  timespec now{};
  clock_gettime(CLOCK_MONOTONIC, &now);
  return static_cast<std::int64_t>(now.tv_sec) * 1000 + now.tv_nsec / 1000000;
}

} // namespace

ConsoleProgressWindow::ConsoleProgressWindow(std::FILE* out, Clock clock)
    : out_(out), clock_(std::move(clock)) {
  if (!clock_) clock_ = MonotonicMs;
}

HWND ConsoleProgressWindow::CreateProgressWindow(HWND parent) {
  // A second window replaces the first; the run has only one at a time.
  if (line_open_) EndLine();
  window_ = ProgressWindowPort::CreateProgressWindow(parent);
  visible_ = false;
  caption_ = "集計中";
  bars_ = ProgressBars();
  drawn_once_ = false;
  return window_;
}

void ConsoleProgressWindow::ShowProgressWindow(HWND window, bool show) {
  if (window != window_ || !window_) return;
  if (show) {
    visible_ = true;
    Draw();
  } else if (visible_) {
    Draw(); // the last state, whatever the interval
    EndLine();
    visible_ = false;
  }
}

void ConsoleProgressWindow::SetProgressCaption(HWND window, const std::string& caption) {
  if (window == window_ && window_) caption_ = caption;
}

ProgressBars* ConsoleProgressWindow::BarsOf(HWND window) {
  return window == window_ && window_ ? &bars_ : nullptr;
}

void ConsoleProgressWindow::UpdateProgressWindow(HWND window) {
  if (window != window_ || !window_ || !visible_) return;
  const auto now = clock_();
  if (drawn_once_ && now - last_draw_ < kRepaintIntervalMs) return;
  Draw();
}

void ConsoleProgressWindow::DestroyProgressWindow(HWND window) {
  if (window != window_ || !window_) return;
  if (visible_) ShowProgressWindow(window, false);
  if (line_open_) EndLine();
  window_ = 0;
}

void ConsoleProgressWindow::Draw() {
  const int span = bars_.main.high - bars_.main.low;
  const int done = bars_.main.pos - bars_.main.low;
  const int filled = span > 0 ? static_cast<int>(static_cast<long long>(done) * kBarWidth / span) : 0;
  std::string bar(static_cast<std::size_t>(filled), '#');
  bar.append(static_cast<std::size_t>(kBarWidth - filled), '.');
  // The second bar as a spinner of its position, so that the line visibly
  // works while the main bar stands still.
  static const char kSpinner[] = "|/-\\|/-\\";
  const char spin = kSpinner[static_cast<unsigned>(bars_.second.pos) % 8];
  // The position in hundredths of a percent when the range is the run's
  // 0-10,000, otherwise in percent of the range.
  const long long hundredths = span > 0 ? static_cast<long long>(done) * 10000 / span : 0;
  std::fprintf(out_, "\r%s [%s] %3lld.%02lld%% %c\x1b[K", ToUtf8(caption_).c_str(), bar.c_str(),
               hundredths / 100, hundredths % 100, spin);
  std::fflush(out_);
  line_open_ = true;
  drawn_once_ = true;
  last_draw_ = clock_();
  ++draws_;
}

void ConsoleProgressWindow::EndLine() {
  std::fputc('\n', out_);
  std::fflush(out_);
  line_open_ = false;
}

} // namespace stmtlink

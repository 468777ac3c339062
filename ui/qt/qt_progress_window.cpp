#include <time.h>

#include <QApplication>
#include <QCloseEvent>
#include <QPainter>
#include <QStyleOption>

#include "res/common/progress_template.h"
#include "ui/qt_support/qt_text.h"
#include "ui/qt_support/qt_placement.h"
#include "ui/qt/qt_window_frame.h"
#include "ui/qt/qt_windows.h"

namespace stmtlink {
namespace {

std::int64_t MonotonicMs() {
  timespec now{};
  clock_gettime(CLOCK_MONOTONIC, &now);
  return static_cast<std::int64_t>(now.tv_sec) * 1000 + now.tv_nsec / 1000000;
}

// A progress bar as the system draws it: a sunken edge (two for the main
// bar, which also has a client edge), then either one smooth fill or
// separate blocks two thirds of the inner height wide with a gap between.
class BarWidget : public QWidget {
 public:
  BarWidget(const ProgressBarTemplate& resource, QWidget* parent)
      : QWidget(parent), smooth_(resource.smooth), edges_(resource.client_edge ? 2 : 1) {
    setAttribute(Qt::WA_OpaquePaintEvent);
  }
  void SetState(const ProgressBarState& state) { state_ = state; }
  const ProgressBarState& state() const { return state_; }
  bool smooth() const { return smooth_; }

 protected:
  void paintEvent(QPaintEvent*) override {
    QPainter painter(this);
    const QPalette& colours = palette();
    QRect inner = rect();
    for (int e = 0; e < edges_; ++e) {
      painter.setPen(colours.color(QPalette::Dark));
      painter.drawLine(inner.topLeft(), inner.topRight());
      painter.drawLine(inner.topLeft(), inner.bottomLeft());
      painter.setPen(colours.color(QPalette::Light));
      painter.drawLine(inner.bottomLeft(), inner.bottomRight());
      painter.drawLine(inner.topRight(), inner.bottomRight());
      inner.adjust(1, 1, -1, -1);
    }
    painter.fillRect(inner, colours.color(QPalette::Button));
    const int span = state_.high - state_.low;
    if (span <= 0 || inner.width() <= 0) return;
    const int filled = static_cast<int>(static_cast<long long>(state_.pos - state_.low) * inner.width() / span);
    const QColor fill = colours.color(QPalette::Highlight);
    if (smooth_) {
      painter.fillRect(QRect(inner.left(), inner.top(), filled, inner.height()), fill);
      return;
    }
    const int block = std::max(2, inner.height() * 2 / 3);
    const int gap = 2;
    for (int x = 0; x < filled; x += block + gap)
      painter.fillRect(QRect(inner.left() + x, inner.top() + 1, std::min(block, inner.width() - x),
                             inner.height() - 2),
                       fill);
  }

 private:
  bool smooth_;
  int edges_;
  ProgressBarState state_;
};

// The window itself: the user cannot close it (it has no system menu, and
// the run ends it), not with Alt+F4 either.
class ProgressWidget : public FramedWindow {
 public:
  using FramedWindow::FramedWindow;

 protected:
  void closeEvent(QCloseEvent* event) override { event->ignore(); }
};

// Off screen there is no order of windows to come first in.
bool HasWindowOrder() {
  static const bool has = QGuiApplication::platformName() != QStringLiteral("offscreen");
  return has;
}

} // namespace

// The window and the state that the program gave it; the widgets are
// brought up to that state only when the window is drawn.
struct QtProgressWindow::Window {
  HWND handle = 0;
  std::unique_ptr<QWidget> widget;
  BarWidget* main_bar = nullptr;
  BarWidget* second_bar = nullptr;
  ProgressBars bars;
  QString caption;
  bool visible = false;
  bool wants_top = false;
  bool drawn_once = false;
  std::int64_t last_draw = 0;
  int second_wanted = 0; // the second bar's position the next drawing waits for
  int repaints = 0;
};

QtProgressWindow::QtProgressWindow(QtFrontEnd* front_end) : front_end_(front_end) {}

QtProgressWindow::~QtProgressWindow() {
  for (auto& [handle, window] : windows_) front_end_->Unregister(handle);
}

HWND QtProgressWindow::CreateProgressWindow(HWND parent) {
  const ProgressWindowTemplate& resource = ProgressTemplate();
  auto window = std::make_unique<Window>();
  // Caption bar and modal frame, above other windows, no system menu and
  // so no box to close it with.
  auto owned = std::make_unique<ProgressWidget>(front_end_->WidgetOf(parent), resource.style);
  ProgressWidget* widget = owned.get();
  window->widget = std::move(owned);
  widget->setFont(front_end_->font());
  const DialogUnits units = DialogUnits::ForFont(widget->font());
  widget->SetFixedClientSize(units.Size(resource.cx, resource.cy));
  widget->setWindowIcon(front_end_->icon());
  window->caption = FromCp932(resource.caption);
  widget->setWindowTitle(window->caption);
  CentreWhenFirstShown(widget);
  for (const ProgressBarTemplate& bar : resource.bars) {
    auto* drawn = new BarWidget(bar, widget);
    drawn->setGeometry(units.Rect(bar.x, bar.y, bar.cx, bar.cy).translated(widget->ClientOrigin()));
    (bar.id == kMainProgressBar ? window->main_bar : window->second_bar) = drawn;
  }
  window->handle = front_end_->Register(widget);
  const HWND handle = window->handle;
  windows_[handle] = std::move(window);
  return handle;
}

QtProgressWindow::Window* QtProgressWindow::Find(HWND window) const {
  auto it = windows_.find(window);
  return it == windows_.end() ? nullptr : it->second.get();
}

QWidget* QtProgressWindow::Widget(HWND window) const {
  Window* w = Find(window);
  return w ? w->widget.get() : nullptr;
}

int QtProgressWindow::repaints(HWND window) const {
  Window* w = Find(window);
  return w ? w->repaints : 0;
}

void QtProgressWindow::SetProgressParent(HWND window, HWND parent) {
  Window* w = Find(window);
  QWidget* owner = front_end_->WidgetOf(parent);
  // Only the program's own windows can own it; the host's window is not one.
  if (w == nullptr || owner == nullptr) return;
  w->widget->setParent(owner, w->widget->windowFlags());
}

void QtProgressWindow::ShowProgressWindow(HWND window, bool show) {
  Window* w = Find(window);
  if (w == nullptr) return;
  if (show) {
    w->visible = true;
    w->widget->show();
    Paint(*w);
  } else if (w->visible) {
    Paint(*w); // the last state, whatever the interval
    w->visible = false;
    w->widget->hide();
  }
}

void QtProgressWindow::SetProgressCaption(HWND window, const std::string& caption) {
  if (Window* w = Find(window)) w->caption = FromCp932(caption);
}

ProgressBars* QtProgressWindow::BarsOf(HWND window) {
  Window* w = Find(window);
  return w != nullptr ? &w->bars : nullptr;
}

void QtProgressWindow::BringProgressToTop(HWND window) {
  if (Window* w = Find(window)) w->wants_top = true;
}

void QtProgressWindow::SetProgressForeground(HWND window) {
  if (Window* w = Find(window)) w->wants_top = true;
}

void QtProgressWindow::UpdateProgressWindow(HWND window) {
  Window* w = Find(window);
  if (w == nullptr || !w->visible) return;
  // The run asks for a repaint after every step, tens of thousands of times;
  // the screen gets one every interval.
  if (w->drawn_once) {
    const std::int64_t since = MonotonicMs() - w->last_draw;
    if (since < kRepaintIntervalMs) return;
    if (since < 2 * kRepaintIntervalMs && w->bars.second.pos != w->second_wanted) return;
  }
  Paint(*w);
}

void QtProgressWindow::Paint(Window& w) {
  QWidget* widget = w.widget.get();
  if (widget->windowTitle() != w.caption) widget->setWindowTitle(w.caption);
  w.main_bar->SetState(w.bars.main);
  w.second_bar->SetState(w.bars.second);
  if (w.wants_top && !widget->isActiveWindow() && HasWindowOrder()) {
    // Above the other windows and the active one, as often as it is drawn
    // and has lost that place.
    widget->raise();
    widget->activateWindow();
  }
  w.wants_top = false;
  // The bars themselves: a repaint of the window alone leaves its children
  // as they were on a real display (only the offscreen platform renders
  // them anew).
  w.main_bar->repaint();
  w.second_bar->repaint();
  // The run turns no message loop: let the window system see the window
  // (mapping, exposure), but leave the user's input for later.
  QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
  w.drawn_once = true;
  w.last_draw = MonotonicMs();
  // The next drawing waits for the step after this one (the empty bar
  // comes only from a reset, so the steps run from low + 1 to high).
  w.second_wanted = w.bars.second.pos < w.bars.second.high ? w.bars.second.pos + 1 : w.bars.second.low + 1;
  ++w.repaints;
}

void QtProgressWindow::DestroyProgressWindow(HWND window) {
  auto it = windows_.find(window);
  if (it == windows_.end()) return;
  ShowProgressWindow(window, false);
  front_end_->Unregister(window);
  windows_.erase(it);
}

} // namespace stmtlink

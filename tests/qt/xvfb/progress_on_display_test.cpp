// A whole run of the program with the Qt front end on a real X server: the
// progress window, drawn while the run turns no message loop, must show its
// caption and both bars as the X server holds them (read back from the
// screen, not rendered by the test), and the wait cursor must cover the run
// but not the closing message.
#include <gtest/gtest.h>

#include <QDir>
#include <QGuiApplication>
#include <QImage>
#include <QPixmap>
#include <QScreen>
#include <QWidget>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <optional>
#include <thread>

#include "app/link_app.h"
#include "dialog/conditions_input.h"
#include "host/substitute/substitute_control.h"
#include "host/substitute/substitute_extras.h"
#include "platform/host_home.h"
#include "platform/text_codec.h"
#include "tests/qt/xvfb/x_window_title.h"
#include "tests/qt/xvfb/sample_home.h"
#include "tests/qt/xvfb/xvfb_display.h"
#include "tests/support/temp_dir.h"
#include "ui/qt/qt_window_frame.h"
#include "ui/qt/qt_windows.h"

namespace stmtlink {
namespace {

using testing::TempDir;
using testing::XMotifDecorations;
using testing::XWindowTitle;

// How much of a bar the screen shows filled, along the middle row of its
// inside: the rightmost highlighted pixel and the number of highlighted runs.
struct BarPixels {
  int extent = 0;
  int runs = 0;
  int width = 0;
};

BarPixels ReadBar(const QImage& screen, QWidget* window, QWidget* bar, int edges) {
  const QRect inner = QRect(bar->mapTo(window, QPoint(0, 0)), bar->size()).adjusted(edges, edges, -edges, -edges);
  const QRgb highlight = bar->palette().color(QPalette::Highlight).rgb();
  BarPixels pixels;
  pixels.width = inner.width();
  bool in_run = false;
  for (int x = 0; x < inner.width(); ++x) {
    const bool lit = screen.pixel(inner.left() + x, inner.center().y()) == highlight;
    if (lit) pixels.extent = x + 1;
    if (lit && !in_run) ++pixels.runs;
    in_run = lit;
  }
  return pixels;
}

// What was on the screen at one moment of the run, beside the state the
// program had given the window.
struct Moment {
  ProgressBarState main;
  ProgressBarState second;
  QString caption;
  QString x_title;
  BarPixels main_pixels;
  BarPixels second_pixels;
  bool wait_cursor = false;
  std::optional<std::uint32_t> x_decorations; // what a window manager is asked to draw
  int caption_width = 0;
  int caption_fill = 0;        // selection-coloured pixels along the caption bar's second row
  int caption_text_pixels = 0; // pixels of the title drawn on it
};

// The caption bar the window draws itself, as the screen shows it.
void ReadCaption(const QImage& screen, QWidget* window, Moment* moment) {
  auto* framed = dynamic_cast<FramedWindow*>(window);
  if (framed == nullptr) return;
  const QRect caption = framed->CaptionRect();
  const QRgb fill = window->palette().color(QPalette::Highlight).rgb();
  const QRgb text = window->palette().color(QPalette::HighlightedText).rgb();
  moment->caption_width = caption.width();
  for (int x = caption.left(); x <= caption.right(); ++x) {
    moment->caption_fill += screen.pixel(x, caption.top() + 1) == fill;
    for (int y = caption.top(); y <= caption.bottom(); ++y) moment->caption_text_pixels += screen.pixel(x, y) == text;
  }
}

// The Qt progress window itself, following the state the program gives it;
// at the chosen moments it draws the present state and reads the screen
// back.
class ObservedProgress : public QtProgressWindow {
 public:
  using QtProgressWindow::QtProgressWindow;

  struct Wanted {
    int main_at_least;
    int second;
  };
  std::vector<Wanted> wanted = {{3000, 2}, {7000, 4}};
  std::vector<Moment> moments;
  std::optional<bool> wait_cursor_at_show;
  // Instead of the moments: the second bar as the screen shows it after
  // each drawing that the run itself brings about, up to this many.
  std::size_t drawings_to_read = 0;
  std::vector<BarPixels> drawn_second;

  void ShowProgressWindow(HWND w, bool show) override {
    if (show && !wait_cursor_at_show) wait_cursor_at_show = QGuiApplication::overrideCursor() != nullptr;
    QtProgressWindow::ShowProgressWindow(w, show);
  }
  void SetProgressCaption(HWND w, const std::string& caption) override {
    caption_ = QString::fromStdString(ToUtf8(caption));
    QtProgressWindow::SetProgressCaption(w, caption);
  }
  void SetBarRange(HWND w, int bar, int low, int high) override {
    State(bar).SetRange(low, high);
    QtProgressWindow::SetBarRange(w, bar, low, high);
  }
  void SetBarPos(HWND w, int bar, int pos) override {
    State(bar).SetPos(pos);
    QtProgressWindow::SetBarPos(w, bar, pos);
  }
  void DeltaBarPos(HWND w, int bar, int delta) override {
    State(bar).DeltaPos(delta);
    QtProgressWindow::DeltaBarPos(w, bar, delta);
  }
  void UpdateProgressWindow(HWND w) override {
    const int drawn_before = repaints(w);
    QtProgressWindow::UpdateProgressWindow(w);
    if (drawn_second.size() < drawings_to_read && repaints(w) != drawn_before) {
      ReadDrawing(w);
      return;
    }
    if (moments.size() < wanted.size() && main_.pos >= wanted[moments.size()].main_at_least &&
        second_.pos == wanted[moments.size()].second)
      Capture(w);
  }

 private:
  ProgressBarState& State(int bar) { return bar == kMainProgressBar ? main_ : second_; }

  // The screen where the window stands, as the X server holds it.
  static QImage Grab(QWidget* window) {
    const QPoint at = window->mapToGlobal(QPoint(0, 0));
    return QGuiApplication::primaryScreen()
        ->grabWindow(0, at.x(), at.y(), window->width(), window->height())
        .toImage()
        .convertToFormat(QImage::Format_RGB32);
  }
  static QWidget* SecondBar(QWidget* window) {
    QList<QWidget*> bars = window->findChildren<QWidget*>(Qt::FindDirectChildrenOnly);
    std::sort(bars.begin(), bars.end(), [](QWidget* a, QWidget* b) { return a->y() < b->y(); });
    return bars.size() == 2 ? bars[1] : nullptr;
  }

  void ReadDrawing(HWND w) {
    QWidget* window = Widget(w);
    QWidget* bar = window != nullptr ? SecondBar(window) : nullptr;
    ASSERT_NE(nullptr, bar);
    const QImage screen = Grab(window);
    drawn_second.push_back(ReadBar(screen, window, bar, 1));
    QDir().mkpath(STMTLINK_SCREENSHOT_DIR);
    screen.save(QStringLiteral(STMTLINK_SCREENSHOT_DIR "/progress-xvfb-run-%1.png").arg(drawn_second.size()));
  }

  void Capture(HWND w) {
    // Two repaint intervals on, the next repaint draws the present state.
    std::this_thread::sleep_for(std::chrono::milliseconds(2 * kRepaintIntervalMs + 5));
    QtProgressWindow::UpdateProgressWindow(w);
    QWidget* window = Widget(w);
    ASSERT_NE(nullptr, window);
    QList<QWidget*> bars = window->findChildren<QWidget*>(Qt::FindDirectChildrenOnly);
    ASSERT_EQ(2, bars.size());
    std::sort(bars.begin(), bars.end(), [](QWidget* a, QWidget* b) { return a->y() < b->y(); });
    // The root window's pixels where the window stands.
    const QPoint at = window->mapToGlobal(QPoint(0, 0));
    const QImage screen = QGuiApplication::primaryScreen()
                              ->grabWindow(0, at.x(), at.y(), window->width(), window->height())
                              .toImage()
                              .convertToFormat(QImage::Format_RGB32);
    const QCursor* cursor = QGuiApplication::overrideCursor();
    moments.push_back({main_, second_, caption_, XWindowTitle(window), ReadBar(screen, window, bars[0], 2),
                       ReadBar(screen, window, bars[1], 1), cursor != nullptr && cursor->shape() == Qt::WaitCursor,
                       XMotifDecorations(window)});
    ReadCaption(screen, window, &moments.back());
    QDir().mkpath(STMTLINK_SCREENSHOT_DIR);
    screen.save(QStringLiteral(STMTLINK_SCREENSHOT_DIR "/progress-xvfb-%1.png").arg(moments.size()));
  }

  ProgressBarState main_;
  ProgressBarState second_;
  QString caption_;
};

// The Qt front end with the observed progress window; records whether the
// wait cursor was on at each message box.
class ObservedFrontEnd : public FrontEndPort {
 public:
  explicit ObservedFrontEnd(const QtFrontEndSettings& settings) : qt_(settings) {}
  int ShowMessageBox(HWND owner, const std::string& text, const std::string& caption, UINT flags) override {
    wait_cursor_at_box.push_back(QGuiApplication::overrideCursor() != nullptr);
    return qt_.ShowMessageBox(owner, text, caption, flags);
  }
  void ShowWaitCursor(bool busy) override { qt_.ShowWaitCursor(busy); }
  ProgressWindowPort* ProgressWindow() override { return &progress_; }
  DialogPort* Dialogs() override { return qt_.Dialogs(); }

  ObservedProgress& progress() { return progress_; }
  std::vector<bool> wait_cursor_at_box;

 private:
  QtFrontEnd qt_;
  ObservedProgress progress_{&qt_};
};

// The whole year with the ledger to C:\out\report.xml, executed and
// answered Yes without a user.
QtFrontEndSettings UnattendedLedgerRun() {
  ConditionsChoices choices;
  choices.from_month = 4;
  choices.to_month = 3;
  choices.ledger = 1;
  choices.output_path = "C:\\out\\report.xml";
  QtFrontEndSettings settings;
  settings.dialog_input = ConditionsDialogInput(choices);
  settings.unattended = true;
  settings.answer_yes = true;
  return settings;
}

TEST(ProgressOnDisplayTest, RunShowsCaptionAndMovingBarsUnderTheWaitCursor) {
  XVFB_OR_SKIP();
  ASSERT_EQ(QStringLiteral("xcb"), QGuiApplication::platformName());
  TempDir home;
  std::string error;
  ASSERT_TRUE(testing::WriteSampleHomeWithOutFolder(home, 300, &error)) << error;
  SetHostHome(home.path());
  SetHostCallJournal(false);
  ObservedFrontEnd front_end(UnattendedLedgerRun());
  SetFrontEnd(&front_end);
  SubstituteExtras host_extras;
  LinkApp app;
  app.hostExtras = &host_extras;
  RunApplication(&app);
  SetFrontEnd(nullptr);
  ASSERT_EQ(kResultCompleted, app.resultCode);

  const ObservedProgress& progress = front_end.progress();
  ASSERT_EQ(2u, progress.moments.size()) << "the run never reached both moments";
  for (const Moment& m : progress.moments) {
    SCOPED_TRACE("main " + std::to_string(m.main.pos) + ", second " + std::to_string(m.second.pos));
    // The caption the program set, as the X server gives it to a window manager.
    EXPECT_TRUE(m.caption.startsWith(QStringLiteral("集計中 ")) && m.caption.endsWith(QStringLiteral("％")))
        << m.caption.toStdString();
    EXPECT_EQ(m.caption.toStdString(), m.x_title.toStdString());
    // No frame asked of the window manager (whose caption bar would bring
    // close, minimise and maximise boxes): the window's own caption bar
    // stands on the screen, with the title drawn on it.
    EXPECT_EQ(std::optional<std::uint32_t>(0), m.x_decorations);
    EXPECT_GT(m.caption_width, 0);
    EXPECT_EQ(m.caption_width, m.caption_fill);
    EXPECT_GT(m.caption_text_pixels, 40);
    // The smooth main bar filled to its position, to the pixel.
    const int main_fill = (m.main.pos - m.main.low) * m.main_pixels.width / (m.main.high - m.main.low);
    EXPECT_NEAR(main_fill, m.main_pixels.extent, 1);
    EXPECT_EQ(1, m.main_pixels.runs);
    // The second bar in blocks, up to its position within one block.
    const int second_fill = (m.second.pos - m.second.low) * m.second_pixels.width / (m.second.high - m.second.low);
    EXPECT_GT(m.second_pixels.runs, 1);
    EXPECT_GE(m.second_pixels.extent, second_fill - m.second_pixels.width / 10);
    EXPECT_LE(m.second_pixels.extent, second_fill + m.second_pixels.width / 10);
    EXPECT_TRUE(m.wait_cursor);
  }
  // Both bars moved between the two moments.
  EXPECT_GT(progress.moments[1].main_pixels.extent, progress.moments[0].main_pixels.extent);
  EXPECT_GT(progress.moments[1].second_pixels.extent, progress.moments[0].second_pixels.extent);
  // The wait cursor came after the window showed and went before the
  // closing message, the only message of this run.
  ASSERT_TRUE(progress.wait_cursor_at_show.has_value());
  EXPECT_FALSE(*progress.wait_cursor_at_show);
  EXPECT_EQ(std::vector<bool>{false}, front_end.wait_cursor_at_box);
  EXPECT_EQ(nullptr, QGuiApplication::overrideCursor());
}

TEST(ProgressOnDisplayTest, TheSecondBarIsDrawnAtDifferentPositionsOverARun) {
  XVFB_OR_SKIP();
  TempDir home;
  std::string error;
  ASSERT_TRUE(testing::WriteSampleHomeWithOutFolder(home, 60000, &error)) << error;
  SetHostHome(home.path());
  SetHostCallJournal(false);
  ObservedFrontEnd front_end(UnattendedLedgerRun());
  front_end.progress().drawings_to_read = 12;
  front_end.progress().wanted.clear();
  SetFrontEnd(&front_end);
  SubstituteExtras host_extras;
  LinkApp app;
  app.hostExtras = &host_extras;
  RunApplication(&app);
  SetFrontEnd(nullptr);
  ASSERT_EQ(kResultCompleted, app.resultCode);

  // Drawn only as often as the run asks (no test sleeps here), the bar
  // that shows the run is alive stands at several places, not always at
  // the first step of a pulse.
  const std::vector<BarPixels>& drawn = front_end.progress().drawn_second;
  ASSERT_GE(drawn.size(), 6u) << "too few drawings to judge";
  std::vector<int> extents;
  for (const BarPixels& pixels : drawn) extents.push_back(pixels.extent);
  std::string seen;
  for (int extent : extents) seen += std::to_string(extent) + " ";
  std::sort(extents.begin(), extents.end());
  extents.erase(std::unique(extents.begin(), extents.end()), extents.end());
  EXPECT_GE(extents.size(), 3u) << "second bar extents drawn: " << seen;
}

} // namespace
} // namespace stmtlink

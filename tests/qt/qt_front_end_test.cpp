// The Qt front end's other windows: message boxes with their caption, icon,
// buttons and answers; the progress window of resource 131 (flags, caption,
// bars, coalesced repaints that still end on the final state); the font.
#include <gtest/gtest.h>

#include <QDateTime>
#include <QElapsedTimer>
#include <QLocale>

#include <cstdlib>
#include <QFileInfo>
#include <QTest>

#include "app/progress_dialog.h"
#include "platform/text_codec.h"
#include "tests/qt/qt_test_support.h"
#include "ui/qt/qt_window_frame.h"
#include "ui/qt/qt_windows.h"

namespace stmtlink {
namespace {

using testing::ModalPoller;

class QtFrontEndTest : public ::testing::Test {
 protected:
  int Box(const char* text_utf8, UINT flags, HWND owner = 0) {
    return front_end_.ShowMessageBox(owner, ToCp932(text_utf8), ToCp932("決算書"), flags);
  }
  QtFrontEnd front_end_;
  ModalPoller poller_;
};

TEST_F(QtFrontEndTest, UnderTheCLocaleDatesAreJapanese) {
  // qt_test_main starts Qt under LC_ALL=C as the program does.
  const QDateTime when(QDate(2026, 1, 2), QTime(3, 4));
  EXPECT_EQ(QLocale::Japanese, QLocale::system().language());
  EXPECT_EQ(QStringLiteral("2026/01/02 3:04"), QLocale::system().toString(when, QLocale::ShortFormat));
  EXPECT_EQ(QLocale::Japanese, QLocale().language());
  EXPECT_STREQ("C", std::getenv("LC_ALL")); // the environment as it was
  EXPECT_NE(nullptr, std::getenv("XDG_RUNTIME_DIR"));
}

TEST_F(QtFrontEndTest, MessageBoxesCarryCaptionIconButtonsAndAnswer) {
  poller_.answers = {IDYES};
  EXPECT_EQ(IDYES, Box("上書きしてもよろしいですか？", MB_YESNO | MB_ICONQUESTION));
  EXPECT_EQ(IDOK, Box("決算書情報の出力が終了しました。", MB_OK | MB_ICONASTERISK));
  EXPECT_EQ(IDOK, Box("動作環境が不正です。", MB_OK | MB_ICONEXCLAMATION));
  ASSERT_EQ(3u, poller_.shown.size());
  EXPECT_EQ(QStringLiteral("決算書"), poller_.shown[0].title);
  EXPECT_EQ(QMessageBox::Question, poller_.shown[0].icon);
  EXPECT_EQ(QMessageBox::Information, poller_.shown[1].icon);
  EXPECT_EQ(QMessageBox::Warning, poller_.shown[2].icon);
  EXPECT_EQ(QStringLiteral("決算書情報の出力が終了しました。"), poller_.shown[1].text);
  EXPECT_EQ(nullptr, poller_.shown[0].parent); // the host's window is not one of ours

  // Esc or the close box never says Yes.
  poller_.on_box = [](QMessageBox* box) {
    QTest::keyClick(box, Qt::Key_Escape);
    return true;
  };
  EXPECT_EQ(IDNO, Box("作成してもよろしいですか？", MB_YESNO | MB_ICONQUESTION));
  EXPECT_EQ(IDOK, Box("中止します。", MB_OK | MB_ICONASTERISK));
  // Text that looks like markup is shown as it is.
  poller_.on_box = nullptr;
  Box("<b>株式会社</b>", MB_OK);
  EXPECT_EQ(QStringLiteral("<b>株式会社</b>"), poller_.shown.back().text);
}

TEST_F(QtFrontEndTest, TheDialogFontIsAJapaneseGothicAndDialogUnitsFollowIt) {
  const QFont& font = front_end_.font();
  EXPECT_EQ(9, font.pointSize());
  const QFontInfo info(font);
  const QFontMetrics metrics(font);
  EXPECT_TRUE(metrics.inFont(QChar(0x6C7A)) && metrics.inFont(QChar(0xFF62))) << info.family().toStdString();
  // Where the requested font is missing, fontconfig's fallback answers.
  const QString resolved = ResolveDialogFontFamily(QStringLiteral("ＭＳ Ｐゴシック"));
  EXPECT_FALSE(resolved.isEmpty());
  EXPECT_EQ(resolved, info.family());
  const DialogUnits units = DialogUnits::ForFont(font);
  EXPECT_EQ(metrics.height(), units.base_y);
  EXPECT_EQ(units.base_x * 10, units.X(40));
  EXPECT_EQ(units.base_y * 3, units.Y(24));
}

TEST_F(QtFrontEndTest, ProgressWindowIsResource131WithTwoBarsOnTopWithoutSystemMenu) {
  ProgressDialog progress(0, &front_end_.progress());
  ASSERT_TRUE(progress.Create());
  QWidget* window = front_end_.progress().Widget(progress.GetSafeHwnd());
  ASSERT_NE(nullptr, window);
  EXPECT_FALSE(window->isVisible());
  EXPECT_EQ(QStringLiteral("集計中"), window->windowTitle());
  // Above other windows; no frame from the window manager (whose caption
  // bar would bring a close box), so the window draws its caption itself.
  const Qt::WindowFlags flags = window->windowFlags();
  EXPECT_EQ(Qt::Dialog, flags & Qt::WindowType_Mask);
  EXPECT_TRUE(flags & Qt::WindowStaysOnTopHint);
  EXPECT_TRUE(flags & Qt::FramelessWindowHint);
  for (Qt::WindowType none : {Qt::WindowSystemMenuHint, Qt::WindowCloseButtonHint, Qt::WindowMinimizeButtonHint,
                              Qt::WindowMaximizeButtonHint})
    EXPECT_FALSE(flags & none) << std::hex << none;
  auto* framed = dynamic_cast<FramedWindow*>(window);
  ASSERT_NE(nullptr, framed);
  const QRect caption = framed->CaptionRect();
  EXPECT_GE(caption.height(), QFontMetrics(window->font()).height());
  EXPECT_LT(caption.bottom(), framed->ClientOrigin().y());
  // The client area is the resource's size, the bars at their places in it.
  const DialogUnits u = DialogUnits::ForFont(window->font());
  EXPECT_EQ(QSize(u.X(221), u.Y(45)), window->contentsRect().size());
  const QList<QWidget*> bars = window->findChildren<QWidget*>();
  ASSERT_EQ(2, bars.size());
  EXPECT_EQ(u.Rect(5, 6, 211, 22).translated(framed->ClientOrigin()), bars[0]->geometry());
  EXPECT_EQ(u.Rect(5, 29, 211, 10).translated(framed->ClientOrigin()), bars[1]->geometry());
  // The edition's icon set: seven sizes from 16 to 256 pixels.
  EXPECT_EQ(7, window->windowIcon().availableSizes().size());

  progress.ShowWindow(true);
  EXPECT_TRUE(window->isVisible());
  // Alt+F4, or a window manager's close, does not end it while the run works.
  EXPECT_FALSE(window->close());
  EXPECT_TRUE(window->isVisible());
  progress.ResetMainBar();
  progress.AdvanceMainBar(0, 4200);
  // The next repaint that the run asks for two intervals later shows it.
  QTest::qWait(2 * QtProgressWindow::kRepaintIntervalMs + 5);
  front_end_.progress().UpdateProgressWindow(progress.GetSafeHwnd());
  EXPECT_EQ(QStringLiteral("集計中 42％"), window->windowTitle());
  // The caption bar it draws: the selection colour, with the title on it.
  const QImage drawn = window->grab().toImage().convertToFormat(QImage::Format_RGB32);
  const QRgb text = window->palette().color(QPalette::HighlightedText).rgb();
  EXPECT_EQ(window->palette().color(QPalette::Highlight).rgb(), drawn.pixel(caption.right() - 1, caption.center().y()));
  int text_pixels = 0;
  for (int x = caption.left(); x <= caption.right(); ++x)
    for (int y = caption.top(); y <= caption.bottom(); ++y) text_pixels += drawn.pixel(x, y) == text;
  EXPECT_GT(text_pixels, 40);
  const QString shot = testing::SaveScreenshot(window, QStringLiteral("progress.png"));
  EXPECT_GT(QFileInfo(shot).size(), 1500);
  // The message box after the run is owned by the progress window.
  Box("決算書情報の出力が終了しました。", MB_OK | MB_ICONASTERISK, progress.GetSafeHwnd());
  EXPECT_EQ(window, poller_.shown.back().parent);
  progress.EndDialog(1);
  EXPECT_FALSE(window->isVisible());
}

TEST_F(QtFrontEndTest, ProgressRepaintsAreCoalescedAndTheLastStateIsDrawn) {
  ProgressDialog progress(0, &front_end_.progress());
  ASSERT_TRUE(progress.Create());
  const HWND handle = progress.GetSafeHwnd();
  QWidget* window = front_end_.progress().Widget(handle);
  progress.ShowWindow(true);
  progress.ResetMainBar();
  QElapsedTimer clock;
  clock.start();
  progress.AdvanceMainBar(0, 4999);
  progress.AdvanceMainBar(4999, 10000);
  const qint64 elapsed = clock.elapsed();
  // 10,002 steps asked for some 70,000 repaints; the window was drawn at
  // most once per interval (and once when shown).
  const int repaints = front_end_.progress().repaints(handle);
  EXPECT_LE(repaints, elapsed / QtProgressWindow::kRepaintIntervalMs + 2);
  progress.EndDialog(1); // hiding draws the final state
  EXPECT_EQ(QStringLiteral("集計中 100％"), window->windowTitle());
  EXPECT_EQ(repaints + 1, front_end_.progress().repaints(handle));
  EXPECT_EQ(10000, progress.MainBar().pos);
}

} // namespace
} // namespace stmtlink

// The report tool's window (stmtlink-report view): opened centred on its
// screen, its statements' pane wide enough for their tables' columns
// without a horizontal scroll bar, and never larger than the screen.
#include <gtest/gtest.h>

#include <QApplication>
#include <QMainWindow>
#include <QScreen>
#include <QScrollBar>
#include <QTest>
#include <QTextBrowser>

#include "tools/report/qt/report_window.h"
#include "tools/report/qt/report_window_layout.h"

namespace stmtlink::report {
namespace {

// A balance sheet as the tool writes it beside the previous year's: a
// table of 100 % width, `sides` times the columns name, previous, current
// and change, amounts right-aligned.
std::string BalanceSheetHtml(int sides) {
  std::string html = "<html><body><h1>貸借対照表</h1><p align=\"right\">（単位：円）</p>"
                     "<table border=\"1\" cellspacing=\"0\" cellpadding=\"4\" width=\"100%\"><tr>";
  for (int s = 0; s < sides; ++s) html += "<th>科目</th><th>前期</th><th>当期</th><th>増減</th>";
  html += "</tr>";
  for (int row = 0; row < 80; ++row) {
    html += "<tr>";
    for (int s = 0; s < sides; ++s)
      html += "<td>&nbsp;&nbsp;現金</td><td align=\"right\">△318,932</td>"
              "<td align=\"right\">508,982</td><td align=\"right\">0</td>";
    html += "</tr>";
  }
  return html + "</table></body></html>";
}

class ReportWindowTest : public ::testing::Test {
 protected:
  void SetUp() override {
    saved_font_ = QApplication::font();
    SetReportFont(qApp);
    content_.summary = "check: エラー 0 件、警告 0 件、端数差 0 件";
  }
  void TearDown() override { QApplication::setFont(saved_font_); }

  // The window shown for html, and its statements' pane.
  std::unique_ptr<QMainWindow> Show(const std::string& html) {
    content_.html = html;
    std::unique_ptr<QMainWindow> window = MakeReportWindow(content_);
    window->show();
    EXPECT_TRUE(QTest::qWaitForWindowExposed(window.get()));
    document_ = window->findChild<QTextBrowser*>();
    return window;
  }

  ViewContent content_;
  QTextBrowser* document_ = nullptr;
  QFont saved_font_;
};

TEST_F(ReportWindowTest, OpensCentredAndWideEnoughForTheColumns) {
  const QRect area = QGuiApplication::primaryScreen()->availableGeometry();
  // Assets and liabilities side by side fit the screen (800 × 600 off
  // screen): no horizontal scroll bar.
  std::unique_ptr<QMainWindow> window = Show(BalanceSheetHtml(2));
  ASSERT_NE(nullptr, document_);
  const int needed = DocumentNeededWidth(*document_);
  EXPECT_GT(needed, 300);
  EXPECT_GE(document_->viewport()->width(), needed);
  EXPECT_FALSE(document_->horizontalScrollBar()->isVisible());
  EXPECT_TRUE(document_->verticalScrollBar()->isVisible());
  // Qt lays out a table of 100 % width up to two pixels wider than its
  // width, by rounding, at some widths and not others: wider, the window
  // still shows none.
  const QSize first = window->size();
  for (int wider = 1; wider <= 12; ++wider) {
    window->resize(first.width() + wider, first.height());
    QCoreApplication::processEvents();
    EXPECT_FALSE(document_->horizontalScrollBar()->isVisible()) << "wider by " << wider;
  }
  window->resize(first);
  QCoreApplication::processEvents();
  // In the middle of the screen's available area (to the pixel that an odd
  // size leaves; the window is placed by its outer corner), and inside it.
  const QPoint off_centre = QRect(window->pos(), window->size()).center() - area.center();
  EXPECT_LE(std::abs(off_centre.x()), 1) << off_centre.x();
  EXPECT_LE(std::abs(off_centre.y()), 1) << off_centre.y();
  EXPECT_TRUE(area.contains(window->geometry()));
  window.reset();

  // Six sides need more than the screen: the window takes what the screen
  // has and no more, the findings keeping some room.
  window = Show(BalanceSheetHtml(6));
  EXPECT_GT(DocumentNeededWidth(*document_), area.width());
  EXPECT_LE(window->width(), area.width());
  EXPECT_GE(window->width(), area.width() * 9 / 10);
  EXPECT_TRUE(area.contains(window->geometry()));
  EXPECT_GT(document_->width(), window->width() / 2);
}

} // namespace
} // namespace stmtlink::report

#include "tools/report/qt/report_window_layout.h"

#include <QEvent>
#include <QGuiApplication>
#include <QMainWindow>
#include <QScreen>
#include <QSplitter>
#include <QStyle>
#include <QTextDocument>
#include <QTextEdit>

#include <algorithm>
#include <cmath>
#include <memory>

#include "ui/qt_support/qt_placement.h"

namespace stmtlink::report {
namespace {

// The findings' pane: two thirds of the statements' width (the shares the
// splitter had before), never narrower than a finding's message needs to
// read in a few lines.
constexpr int kFindingsShareNum = 2;
constexpr int kFindingsShareDen = 3;
constexpr int kFindingsMinWidth = 260;
constexpr int kPreferredHeight = 800;

// Qt lays out a table of percentage width a pixel or two wider than the
// width it is given (each column rounded up), and the statements' tables
// are all 100 % wide: given the whole pane, the text would always need a
// horizontal scroll bar for those pixels. It is given a little less.
constexpr int kTableRounding = 4;

// Keeps the document's layout width that much under its pane's viewport
// as the window is resized.
class TextWidthFollower : public QObject {
 public:
  explicit TextWidthFollower(QTextEdit* document) : QObject(document), document_(document) {
    document->setLineWrapMode(QTextEdit::FixedPixelWidth);
    document->viewport()->installEventFilter(this);
  }

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (event->type() == QEvent::Resize && watched == document_->viewport()) {
      const int width = std::max(1, document_->viewport()->width() - kTableRounding);
      if (document_->lineWrapColumnOrWidth() != width) document_->setLineWrapColumnOrWidth(width);
    }
    return false;
  }

 private:
  QTextEdit* document_;
};

} // namespace

int DocumentNeededWidth(const QTextEdit& document) {
  // A copy, so the shown document keeps its own layout width.
  std::unique_ptr<QTextDocument> probe(document.document()->clone());
  probe->setTextWidth(-1);
  return static_cast<int>(std::ceil(probe->size().width())) + kTableRounding;
}

void FitReportWindow(QMainWindow* window, QSplitter* splitter, QTextEdit* document) {
  QScreen* screen = window->screen() != nullptr ? window->screen() : QGuiApplication::primaryScreen();
  const QRect area = screen != nullptr ? screen->availableGeometry() : QRect(0, 0, 1024, 768);
  // The statements' pane: the document, its frame and the vertical scroll
  // bar that a document of many pages always shows.
  const int scroll_bar = document->style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, document);
  const int pane = DocumentNeededWidth(*document) + 2 * document->frameWidth() + scroll_bar;
  int findings = std::max(kFindingsMinWidth, pane * kFindingsShareNum / kFindingsShareDen);
  // What the window needs around the panes (its menu and tool bars take
  // height only), and what a window manager's frame may add.
  const int chrome = splitter->handleWidth() + 2 * splitter->frameWidth();
  const QSize frame_allowance(16, 48);
  const int room = area.width() - frame_allowance.width() - chrome;
  // Too little room: the findings give way first, then the statements.
  if (pane + findings > room) findings = std::max(std::min(findings, kFindingsMinWidth), room - pane);
  const int statements = std::max(0, std::min(pane, room - findings));
  window->resize(statements + findings + chrome,
                 std::min(kPreferredHeight, area.height() - frame_allowance.height()));
  splitter->setSizes({statements, findings});
  new TextWidthFollower(document);
  stmtlink::CentreWhenFirstShown(window);
}

} // namespace stmtlink::report

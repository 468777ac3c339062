#include "ui/qt/qt_window_frame.h"

#include <QEvent>
#include <QPainter>

#include <algorithm>

#include "res/common/window_styles.h"

namespace stmtlink {
namespace {

// The modal frame: a raised edge two pixels deep; the caption bar lies
// inside it and the client area one pixel off both.
constexpr int kEdge = 2;
constexpr int kGap = 1;

int CaptionHeight(const QFont& font) {
  QFont bold = font;
  bold.setBold(true);
  return std::max(18, QFontMetrics(bold).height() + 6);
}

} // namespace

WindowFrame FrameForStyle(std::uint32_t style) {
  WindowFrame frame;
  // Customised: Qt adds nothing that the style does not name.
  frame.flags = Qt::Dialog | Qt::CustomizeWindowHint;
  const bool caption = (style & kStyleCaption) == kStyleCaption;
  if (caption && !(style & kStyleSystemMenu)) {
    frame.own_caption = true;
    frame.flags |= Qt::FramelessWindowHint;
  } else if (caption) {
    frame.flags |= Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint;
    if (style & kStyleMinimizeBox) frame.flags |= Qt::WindowMinimizeButtonHint;
    if (style & kStyleMaximizeBox) frame.flags |= Qt::WindowMaximizeButtonHint;
  } else {
    frame.flags |= Qt::FramelessWindowHint;
  }
  if (style & kStyleSystemModal) frame.flags |= Qt::WindowStaysOnTopHint;
  if (!(style & kStyleThickFrame)) frame.flags |= Qt::MSWindowsFixedSizeDialogHint;
  return frame;
}

FramedWindow::FramedWindow(QWidget* parent, std::uint32_t style)
    : QWidget(parent, FrameForStyle(style).flags), own_caption_(FrameForStyle(style).own_caption) {
  UpdateMargins();
}

void FramedWindow::UpdateMargins() {
  if (!own_caption_) return;
  const int side = kEdge + kGap;
  setContentsMargins(side, kEdge + CaptionHeight(font()) + kGap, side, side);
}

void FramedWindow::SetFixedClientSize(QSize size) {
  const QMargins margins = contentsMargins();
  setFixedSize(size.grownBy(margins));
}

QRect FramedWindow::CaptionRect() const {
  if (!own_caption_) return QRect();
  return QRect(kEdge, kEdge, width() - 2 * kEdge, contentsMargins().top() - kEdge - kGap);
}

void FramedWindow::paintEvent(QPaintEvent*) {
  if (!own_caption_) return;
  QPainter painter(this);
  const QPalette& colours = palette();
  // Raised edge: light above and to the left, dark below and to the right.
  QRect edge = rect();
  const QColor lights[2] = {colours.color(QPalette::Midlight), colours.color(QPalette::Light)};
  const QColor darks[2] = {colours.color(QPalette::Shadow), colours.color(QPalette::Dark)};
  for (int e = 0; e < 2; ++e) {
    painter.setPen(lights[e]);
    painter.drawLine(edge.topLeft(), edge.topRight());
    painter.drawLine(edge.topLeft(), edge.bottomLeft());
    painter.setPen(darks[e]);
    painter.drawLine(edge.bottomLeft(), edge.bottomRight());
    painter.drawLine(edge.topRight(), edge.bottomRight());
    edge.adjust(1, 1, -1, -1);
  }
  painter.fillRect(edge, colours.color(QPalette::Window));
  // The caption bar: no system menu, so neither icon nor buttons.
  const QRect caption = CaptionRect();
  painter.fillRect(caption, colours.color(QPalette::Highlight));
  QFont bold = font();
  bold.setBold(true);
  painter.setFont(bold);
  painter.setPen(colours.color(QPalette::HighlightedText));
  painter.drawText(caption.adjusted(4, 0, -4, 0), Qt::AlignVCenter | Qt::AlignLeft | Qt::TextSingleLine,
                   windowTitle());
}

void FramedWindow::changeEvent(QEvent* event) {
  // The caption bar is as high as the window's font needs.
  if (event->type() == QEvent::FontChange) UpdateMargins();
  // The program changes the caption while it turns no message loop: drawn
  // at once.
  if (event->type() == QEvent::WindowTitleChange && own_caption_ && isVisible()) repaint(CaptionRect());
  QWidget::changeEvent(event);
}

} // namespace stmtlink

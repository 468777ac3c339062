#include "ui/qt_support/qt_placement.h"

#include <QEvent>
#include <QGuiApplication>
#include <QScreen>
#include <QWidget>

#include <algorithm>

namespace stmtlink {
namespace {

// Sees the window's first Show event (sent before the window is mapped,
// so the move never shows), then lets go.
class CentreOnShow : public QObject {
 public:
  using QObject::QObject;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (event->type() == QEvent::Show && watched == parent()) {
      PlaceCentred(static_cast<QWidget*>(watched));
      watched->removeEventFilter(this);
      deleteLater();
    }
    return false;
  }
};

} // namespace

void PlaceCentred(QWidget* window) {
  if (window == nullptr) return;
  QScreen* screen = window->screen() != nullptr ? window->screen() : QGuiApplication::primaryScreen();
  if (screen == nullptr) return;
  const QRect area = screen->availableGeometry();
  QWidget* owner = window->parentWidget() != nullptr ? window->parentWidget()->window() : nullptr;
  const QRect around = owner != nullptr && owner->isVisible() ? owner->frameGeometry() : area;
  const QSize size = window->size();
  QPoint top_left = around.center() - QPoint(size.width() / 2, size.height() / 2);
  // Never off the screen, the caption bar never above it.
  top_left.setX(std::clamp(top_left.x(), area.left(), std::max(area.left(), area.right() + 1 - size.width())));
  top_left.setY(std::clamp(top_left.y(), area.top(), std::max(area.top(), area.bottom() + 1 - size.height())));
  window->move(top_left);
}

void CentreWhenFirstShown(QWidget* window) { window->installEventFilter(new CentreOnShow(window)); }

} // namespace stmtlink

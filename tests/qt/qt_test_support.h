// Helpers of the Qt tests: a poller that answers the modal windows the
// program opens (message boxes, the save-file dialog) and records them, and
// screenshots of windows.
#pragma once

#include <QApplication>
#include <QDir>
#include <QFileDialog>
#include <QImage>
#include <QMessageBox>
#include <QPainter>
#include <QPixmap>
#include <QPushButton>
#include <QTimer>

#include <deque>
#include <functional>
#include <vector>

#include "platform/win_types.h"

namespace stmtlink::testing {

struct ShownBox {
  QString title;
  QString text;
  QMessageBox::Icon icon = QMessageBox::NoIcon;
  QStringList buttons;
  QWidget* parent = nullptr;
};

// Every few milliseconds, also inside the program's nested modal loops:
// answers the message box on top (from `answers`; OK for a message and No
// for a question when empty) and hands a save-file dialog to `on_file`
// (cancelled when unset).
class ModalPoller {
 public:
  ModalPoller() {
    QObject::connect(&timer_, &QTimer::timeout, [this] { Poll(); });
    timer_.start(2);
  }

  std::deque<int> answers;
  std::vector<ShownBox> shown;
  // Sees the box first; true when it answered the box itself.
  std::function<bool(QMessageBox*)> on_box;
  std::function<void(QFileDialog*)> on_file; // must accept or reject
  int file_dialogs = 0;

  QStringList Texts() const {
    QStringList texts;
    for (const ShownBox& box : shown) texts << box.text;
    return texts;
  }

 private:
  void Poll() {
    QWidget* top = QApplication::activeModalWidget();
    if (top == nullptr || top->property("answered").toBool()) return;
    if (auto* box = qobject_cast<QMessageBox*>(top)) {
      top->setProperty("answered", true);
      ShownBox seen{box->windowTitle(), box->text(), box->icon(), {}, box->parentWidget()};
      for (QAbstractButton* b : box->buttons()) seen.buttons << b->text();
      shown.push_back(seen);
      if (on_box && on_box(box)) return;
      const bool question = box->buttons().size() == 2;
      int answer = question ? IDNO : IDOK;
      if (!answers.empty()) {
        answer = answers.front();
        answers.pop_front();
      }
      for (QAbstractButton* b : box->buttons()) {
        const QMessageBox::ButtonRole role = box->buttonRole(b);
        if ((answer == IDYES && role == QMessageBox::YesRole) ||
            (answer == IDNO && role == QMessageBox::NoRole) ||
            (answer == IDOK && role == QMessageBox::AcceptRole) ||
            (answer == IDCANCEL && role == QMessageBox::RejectRole)) {
          b->click();
          return;
        }
      }
    } else if (auto* files = qobject_cast<QFileDialog*>(top)) {
      top->setProperty("answered", true);
      ++file_dialogs;
      if (on_file) on_file(files);
      else files->reject();
    }
  }

  QTimer timer_;
};

// Saves a window as build/screenshots/<name>, with the caption bar that a
// window manager would draw (the offscreen platform draws none): the icon
// and the caption in the window's font. The saved file's path.
inline QString SaveScreenshot(QWidget* window, const QString& name) {
  const QPixmap client = window->grab();
  QDir().mkpath(QStringLiteral(STMTLINK_SCREENSHOT_DIR));
  const QString path = QStringLiteral(STMTLINK_SCREENSHOT_DIR "/") + name;
  // A window without a frame from the window manager draws its own caption.
  if (window->windowFlags() & Qt::FramelessWindowHint) {
    client.save(path, "PNG");
    return path;
  }
  const int bar = 24;
  QImage framed(client.width() + 2, client.height() + bar + 1, QImage::Format_RGB32);
  framed.fill(QColor(0, 0, 128));
  QPainter painter(&framed);
  const QIcon icon = window->windowIcon();
  if (!icon.isNull()) painter.drawPixmap(4, 4, icon.pixmap(16, 16));
  painter.setPen(Qt::white);
  QFont font = window->font();
  font.setBold(true);
  painter.setFont(font);
  painter.drawText(QRect(24, 0, framed.width() - 28, bar), Qt::AlignVCenter | Qt::AlignLeft,
                   window->windowTitle());
  painter.drawPixmap(1, bar, client);
  painter.end();
  framed.save(path, "PNG");
  return path;
}

} // namespace stmtlink::testing

#include "ui/qt/qt_front_end.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDir>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>

#include <cstdio>

#include "dialog/conditions_template.h"
#include "ui/message_text.h"
#include "ui/qt/qt_text.h"
#include "ui/qt/qt_windows.h"

namespace stmtlink {
namespace {

// The edition's icon set, compiled into the program under this folder
// (ui/qt/qt_front_end.cmake); empty when the program carries none.
QIcon EditionIcon() {
  QIcon icon;
  const QDir folder(QStringLiteral(":/stmtlink/icons"));
  for (const QString& name : folder.entryList({QStringLiteral("icon-*.png")}, QDir::Files))
    icon.addFile(folder.filePath(name));
  return icon;
}

QMessageBox::Icon IconOf(UINT flags) {
  switch (flags & MB_ICONMASK) {
    case MB_ICONHAND:
      return QMessageBox::Critical;
    case MB_ICONQUESTION:
      return QMessageBox::Question;
    case MB_ICONEXCLAMATION:
      return QMessageBox::Warning;
    case MB_ICONASTERISK:
      return QMessageBox::Information;
    default:
      return QMessageBox::NoIcon;
  }
}

} // namespace

QtFrontEnd::QtFrontEnd(QtFrontEndSettings settings) : settings_(std::move(settings)) {
  if (QApplication::instance() == nullptr) {
    argv0_ = settings_.application_name;
    argv_[0] = argv0_.data();
    own_app_ = std::make_unique<QApplication>(argc_, argv_);
  }
  ReleaseDisplayProbe(); // Qt holds its own connection now
  // The dialogs' font comes with their resource; message boxes and the
  // save-file dialog use it too, so that every Japanese text is drawn in a
  // font that has it.
  const DialogTemplate& conditions = ConditionsDialogTemplate();
  font_ = DialogFont(FromCp932(conditions.font_name), conditions.point_size);
  QApplication::setFont(font_);
  icon_ = EditionIcon();
  if (!icon_.isNull()) QApplication::setWindowIcon(icon_);
}

QtFrontEnd::~QtFrontEnd() {
  if (wait_cursor_) ShowWaitCursor(false);
}

void QtFrontEnd::ShowWaitCursor(bool busy) {
  if (busy == wait_cursor_) return;
  wait_cursor_ = busy;
  if (busy) QApplication::setOverrideCursor(Qt::WaitCursor);
  else QApplication::restoreOverrideCursor();
  // No message loop turns during the run: hand the change to the window
  // system now, not at the next repaint.
  QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
}

HWND QtFrontEnd::Register(QWidget* widget) {
  const HWND handle = next_handle_++;
  windows_[handle] = widget;
  return handle;
}

void QtFrontEnd::Unregister(HWND handle) { windows_.erase(handle); }

QWidget* QtFrontEnd::WidgetOf(HWND handle) const {
  auto it = windows_.find(handle);
  return it == windows_.end() ? nullptr : it->second.data();
}

int QtFrontEnd::ShowMessageBox(HWND owner, const std::string& text, const std::string& caption,
                               UINT flags) {
  QMessageBox box(IconOf(flags), FromCp932(caption), FromCp932(text), QMessageBox::NoButton,
                  WidgetOf(owner));
  box.setTextFormat(Qt::PlainText);
  box.setWindowIcon(icon_);
  // The buttons as the system labels them in Japanese; the first is the
  // default, and a question cannot be left with Esc or the close box except
  // as its No.
  const UINT type = flags & MB_TYPEMASK;
  std::map<QAbstractButton*, int> answers;
  auto add = [&](const QString& label, QMessageBox::ButtonRole role, int answer) {
    QPushButton* button = box.addButton(label, role);
    answers[button] = answer;
    return button;
  };
  QPushButton* first = nullptr;
  QPushButton* escape = nullptr;
  int escape_answer = IDOK;
  if (type == MB_YESNO) {
    first = add(QStringLiteral("はい(&Y)"), QMessageBox::YesRole, IDYES);
    escape = add(QStringLiteral("いいえ(&N)"), QMessageBox::NoRole, IDNO);
    escape_answer = IDNO;
  } else if (type == MB_OKCANCEL) {
    first = add(QStringLiteral("OK"), QMessageBox::AcceptRole, IDOK);
    escape = add(QStringLiteral("キャンセル"), QMessageBox::RejectRole, IDCANCEL);
    escape_answer = IDCANCEL;
  } else {
    first = add(QStringLiteral("OK"), QMessageBox::AcceptRole, IDOK);
    escape = first;
  }
  box.setDefaultButton(first);
  box.setEscapeButton(escape);

  int unattended_answer = 0;
  if (settings_.unattended) {
    unattended_answer = type == MB_YESNO     ? (settings_.answer_yes ? IDYES : IDNO)
                        : type == MB_OKCANCEL ? (settings_.answer_yes ? IDOK : IDCANCEL)
                                              : IDOK;
    std::string printed = FormatMessageBox(text, caption, flags);
    if (type == MB_YESNO) printed += unattended_answer == IDYES ? "  -> yes\n" : "  -> no\n";
    std::fputs(printed.c_str(), stderr);
    std::fflush(stderr);
    // Shown, then answered once the box runs.
    QTimer::singleShot(0, &box, [&] {
      for (const auto& [button, answer] : answers)
        if (answer == unattended_answer) button->click();
    });
  }
  box.exec();
  auto it = answers.find(box.clickedButton());
  return it != answers.end() ? it->second : escape_answer;
}

std::unique_ptr<FrontEndPort> MakeQtFrontEnd(const QtFrontEndSettings& settings) {
  return std::make_unique<QtFrontEnd>(settings);
}

} // namespace stmtlink

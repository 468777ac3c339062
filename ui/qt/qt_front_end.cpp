#include "ui/qt/qt_front_end.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDir>
#include <QMessageBox>
#include <QPushButton>
#include <QLibraryInfo>
#include <QLocale>
#include <QTimer>
#include <QTranslator>

#include <cstdio>
#include <cstdlib>

#include "res/common/conditions_template.h"
#include "ui/message_text.h"
#include "ui/qt_support/qt_placement.h"
#include "ui/qt_support/qt_text.h"
#include "ui/qt/qt_windows.h"

namespace stmtlink {
namespace {

// The failed outcome (the host reads the exit status).
constexpr int kFatalExitStatus = 2;

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

// What QtFrontEndSettings::on_fatal asks for, for the message handler
// (Qt calls it without an object).
struct FatalExit {
  std::string program;
  std::function<void()> tell_host;
  QtMessageHandler previous = nullptr;
};
FatalExit* fatal_exit = nullptr;

void HandleQtMessage(QtMsgType type, const QMessageLogContext& context, const QString& message) {
  // Qt's X platform reports a lost display as a warning and then ends the
  // process with status 1, which the host would read as "cancelled".
  const bool display_lost = message.startsWith(QStringLiteral("The X11 connection broke"));
  if ((type != QtFatalMsg && !display_lost) || fatal_exit == nullptr) {
    if (fatal_exit != nullptr && fatal_exit->previous != nullptr) fatal_exit->previous(type, context, message);
    return;
  }
  std::fprintf(stderr, "%s: the windows cannot be shown: %s\nThe run ends as failed.\n",
               fatal_exit->program.c_str(), message.toLocal8Bit().constData());
  std::fflush(stderr);
  if (fatal_exit->tell_host) fatal_exit->tell_host();
  std::fflush(nullptr);
  // Qt would abort after this handler; the host hears "failed" instead.
  std::_Exit(kFatalExitStatus);
}

// A message box placed over its owner, or the middle of the screen, once
// it has taken the size of its text (which it does as it is shown).
class MessageBox : public QMessageBox {
 public:
  using QMessageBox::QMessageBox;

 protected:
  void showEvent(QShowEvent* event) override {
    QMessageBox::showEvent(event);
    PlaceCentred(this);
  }
};

} // namespace

QtFrontEnd::QtFrontEnd(QtFrontEndSettings settings) : settings_(std::move(settings)) {
  // Before Qt starts: a platform that cannot start is Qt's fatal error.
  if (fatal_exit == nullptr) {
    fatal_exit = new FatalExit{settings_.application_name, settings_.on_fatal, nullptr};
    fatal_exit->previous = qInstallMessageHandler(HandleQtMessage);
    owns_fatal_exit_ = true;
  }
  qt_ = std::make_unique<QtApplicationStart>(settings_.application_name,
                                             QtApplicationStart::Kind::kWidgets);
  ReleaseDisplayProbe(); // Qt holds its own connection now
  // Qt's own texts (the file dialog's views, its context menus) in
  // Japanese, from Debian's qt6-translations-l10n when it is installed; the
  // labels the program needs are set in Japanese in any case.
  translator_ = std::make_unique<QTranslator>();
  if (translator_->load(QLocale(QLocale::Japanese, QLocale::Japan), QStringLiteral("qtbase"),
                        QStringLiteral("_"), QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
    QCoreApplication::installTranslator(translator_.get());
  else
    translator_.reset();
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
  if (translator_) QCoreApplication::removeTranslator(translator_.get());
  if (owns_fatal_exit_) {
    qInstallMessageHandler(fatal_exit->previous);
    delete fatal_exit;
    fatal_exit = nullptr;
  }
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
  MessageBox box(IconOf(flags), FromCp932(caption), FromCp932(text), QMessageBox::NoButton,
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

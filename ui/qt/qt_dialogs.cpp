#include <QCheckBox>
#include <QFileDialog>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTimer>
#include <QValidator>

#include <cstdio>

#include "platform/mbcs.h"
#include "platform/text_codec.h"
#include "platform/win_path.h"
#include "ui/qt/qt_text.h"
#include "ui/qt/qt_windows.h"

namespace stmtlink {
namespace {

// An edit's input rules: digits only (number style) and a limit counted in
// bytes of the code page, as the program stores the text. Texts the program
// sets are not checked, as with the system's edit control.
class EditRules : public QValidator {
 public:
  EditRules(bool digits_only, QObject* parent) : QValidator(parent), digits_only_(digits_only) {}
  void set_limit(int bytes) { limit_ = bytes; }
  int limit() const { return limit_; }
  bool digits_only() const { return digits_only_; }

  State validate(QString& input, int&) const override {
    if (digits_only_)
      for (QChar c : input)
        if (c < u'0' || c > u'9') return Invalid;
    if (limit_ > 0 && static_cast<int>(ToCp932Text(input).size()) > limit_) return Invalid;
    return Acceptable;
  }

 private:
  bool digits_only_;
  int limit_ = 0;
};

// A group box whose mnemonic moves the focus to the control after it, as
// the system's dialogs do (the controls are not its children).
class GroupBox : public QGroupBox {
 public:
  GroupBox(const QString& title, QWidget* parent, std::function<void()> on_mnemonic)
      : QGroupBox(title, parent), on_mnemonic_(std::move(on_mnemonic)) {}

 protected:
  bool event(QEvent* event) override {
    if (event->type() == QEvent::Shortcut) {
      on_mnemonic_();
      return true;
    }
    return QGroupBox::event(event);
  }

 private:
  std::function<void()> on_mnemonic_;
};

// The virtual key of a Qt key; 0 for keys the dialogs never look at.
UINT VirtualKey(int key) {
  if (key >= Qt::Key_A && key <= Qt::Key_Z) return 0x41 + (key - Qt::Key_A);
  if (key >= Qt::Key_0 && key <= Qt::Key_9) return 0x30 + (key - Qt::Key_0);
  if (key >= Qt::Key_F1 && key <= Qt::Key_F24) return 0x70 + (key - Qt::Key_F1);
  switch (key) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
      return VK_RETURN;
    case Qt::Key_Escape:
      return VK_ESCAPE;
    case Qt::Key_Tab:
    case Qt::Key_Backtab:
      return VK_TAB;
    case Qt::Key_Space:
      return 0x20;
    case Qt::Key_Left:
      return 0x25;
    case Qt::Key_Up:
      return 0x26;
    case Qt::Key_Right:
      return 0x27;
    case Qt::Key_Down:
      return 0x28;
    default:
      return 0;
  }
}

bool TakesFocus(const ControlTemplate& c) {
  return c.id != IDC_STATIC && c.kind != ControlKind::kStatic && c.kind != ControlKind::kGroupBox;
}

} // namespace

// ---- QtDialogWindow

QtDialogWindow::QtDialogWindow(QtFrontEnd* front_end, const DialogTemplate& resource,
                               DialogLogic* logic, DialogPort* port, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                          Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint |
                          Qt::MSWindowsFixedSizeDialogHint),
      front_end_(front_end),
      resource_(resource),
      logic_(logic),
      port_(port) {
  setFont(front_end_->font());
  units_ = DialogUnits::ForFont(font());
  setWindowTitle(FromCp932(resource_.caption));
  setWindowIcon(front_end_->icon());
  setFixedSize(units_.Size(resource_.cx, resource_.cy));
  installEventFilter(this);
  Build();
}

void QtDialogWindow::Build() {
  QWidget* previous_stop = nullptr;
  for (std::size_t i = 0; i < resource_.control_count; ++i) {
    const ControlTemplate& c = resource_.controls[i];
    const QString text = FromCp932(c.text);
    QWidget* widget = nullptr;
    switch (c.kind) {
      case ControlKind::kStatic: {
        auto* label = new QLabel(this);
        label->setTextFormat(Qt::PlainText);
        label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
        label->setText(text);
        widget = label;
        break;
      }
      case ControlKind::kGroupBox:
        widget = new GroupBox(text, this, [this, i] { FocusAfter(i); });
        break;
      case ControlKind::kEdit: {
        auto* edit = new QLineEdit(this);
        edit->setValidator(new EditRules((c.style & kStyleNumber) != 0, edit));
        if (c.style & kStyleRight) edit->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        widget = edit;
        break;
      }
      case ControlKind::kPushButton: {
        auto* button = new QPushButton(text, this);
        // No button is the default one: Enter is the dialog's to handle.
        button->setAutoDefault(false);
        button->setDefault(false);
        const int id = c.id;
        connect(button, &QPushButton::clicked, this, [this, id] {
          if (!port_->ended()) logic_->OnCommand(id);
        });
        widget = button;
        break;
      }
      case ControlKind::kAutoRadio:
        widget = new QRadioButton(text, this);
        break;
      case ControlKind::kAutoCheckBox:
        widget = new QCheckBox(text, this);
        break;
    }
    widget->setGeometry(units_.Rect(c.x, c.y, c.cx, c.cy));
    widget->setFocusPolicy(TakesFocus(c) ? Qt::StrongFocus : Qt::NoFocus);
    widget->installEventFilter(this);
    if (c.id != IDC_STATIC) controls_[c.id] = widget;
    by_index_.push_back(widget);
    if (TakesFocus(c) && (c.style & kStyleTabStop)) {
      if (previous_stop != nullptr) QWidget::setTabOrder(previous_stop, widget);
      previous_stop = widget;
    }
  }
  // A label's mnemonic goes to the control after it.
  for (std::size_t i = 0; i < by_index_.size(); ++i) {
    auto* label = qobject_cast<QLabel*>(by_index_[i]);
    if (label == nullptr || MnemonicOf(label->text()).isNull()) continue;
    for (std::size_t k = i + 1; k < by_index_.size(); ++k) {
      if (TakesFocus(resource_.controls[k])) {
        label->setBuddy(by_index_[k]);
        break;
      }
    }
  }
}

QWidget* QtDialogWindow::Control(int id) const {
  auto it = controls_.find(id);
  return it == controls_.end() ? nullptr : it->second;
}

int QtDialogWindow::IdOf(const QWidget* widget) const {
  for (const auto& [id, control] : controls_)
    if (control == widget) return id;
  return 0;
}

void QtDialogWindow::reject() {
  if (port_->ended()) {
    QDialog::reject();
    return;
  }
  logic_->OnCommand(IDCANCEL);
}

void QtDialogWindow::FocusAfter(std::size_t index) {
  for (std::size_t k = index + 1; k < by_index_.size(); ++k) {
    if (TakesFocus(resource_.controls[k]) && by_index_[k]->isEnabled()) {
      by_index_[k]->setFocus(Qt::ShortcutFocusReason);
      return;
    }
  }
}

void QtDialogWindow::MoveTabFocus(bool forward) {
  const std::size_t n = by_index_.size();
  if (n == 0) return;
  std::size_t current = n; // none
  for (std::size_t i = 0; i < n; ++i)
    if (by_index_[i] == focusWidget()) current = i;
  for (std::size_t step = 1; step <= n; ++step) {
    std::size_t k = current == n ? (forward ? step - 1 : n - step)
                                 : (forward ? (current + step) % n : (current + n - step) % n);
    const ControlTemplate& c = resource_.controls[k];
    if (!TakesFocus(c) || !(c.style & kStyleTabStop) || !by_index_[k]->isEnabled()) continue;
    QWidget* target = by_index_[k];
    if (c.kind == ControlKind::kAutoRadio) {
      // The group is entered at its checked radio.
      for (std::size_t g = k; g < n; ++g) {
        const ControlTemplate& member = resource_.controls[g];
        if (g != k && (member.style & kStyleGroup)) break;
        auto* radio = qobject_cast<QRadioButton*>(by_index_[g]);
        if (radio != nullptr && radio->isChecked() && radio->isEnabled()) target = radio;
      }
    }
    target->setFocus(forward ? Qt::TabFocusReason : Qt::BacktabFocusReason);
    return;
  }
}

bool QtDialogWindow::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() != QEvent::KeyPress || port_->ended()) return QDialog::eventFilter(watched, event);
  auto* key = static_cast<QKeyEvent*>(event);
  const Qt::KeyboardModifiers mods = key->modifiers();
  KeyMessage message;
  message.key = VirtualKey(key->key());
  message.shift = (mods & Qt::ShiftModifier) != 0;
  message.ctrl = (mods & Qt::ControlModifier) != 0;
  message.alt = (mods & Qt::AltModifier) != 0;
  message.message = message.alt ? WM_SYSKEYDOWN : WM_KEYDOWN;
  if (message.key != 0 && logic_->PreTranslateMessage(message)) return true;
  if (port_->ended()) return true;

  // The dialog manager's own keys.
  switch (key->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter: {
      // Enter presses the focused push button; elsewhere it is the default
      // button's command, IDOK, since the dialog has none.
      const int id = IdOf(focusWidget());
      auto* button = qobject_cast<QPushButton*>(focusWidget());
      logic_->OnCommand(button != nullptr && button->isEnabled() && id != 0 ? id : IDOK);
      return true;
    }
    case Qt::Key_Escape:
      logic_->OnCommand(IDCANCEL);
      return true;
    case Qt::Key_Tab:
    case Qt::Key_Backtab:
      if (message.ctrl || message.alt) return false;
      MoveTabFocus(key->key() == Qt::Key_Tab && !message.shift);
      return true;
    default:
      return false;
  }
}

// ---- QtDialogs

int QtDialogs::RunModal(DialogLogic& logic) {
  QtDialogWindow window(front_end_, logic.Template(), &logic, this, nullptr);
  window_ = &window;
  window_handle_ = front_end_->Register(&window);
  if (StartModal(logic)) {
    if (front_end_->settings().unattended) {
      // Shown first, then given the input; what is still open after it is
      // abandoned.
      QTimer::singleShot(0, &window, [this, &logic] {
        ApplyInput(logic, true);
        if (!ended()) EndDialog(logic.AbandonResult());
      });
    } else {
      // The values of the command line, typed in before the user sees the
      // dialog; its buttons are left to the user. The edit with the first
      // focus shows its new text selected, as it showed the old one.
      ApplyInput(logic, false);
      if (auto* edit = qobject_cast<QLineEdit*>(window.focusWidget())) edit->selectAll();
    }
    if (!ended()) window.exec();
  }
  const int result = FinishModal(logic);
  front_end_->Unregister(window_handle_);
  window_ = nullptr;
  window_handle_ = 0;
  return result;
}

void QtDialogs::ApplyInput(DialogLogic& logic, bool press_buttons) {
  for (const ControlInput& input : front_end_->settings().dialog_input) {
    if (ended()) return;
    QWidget* control = Control(input.id);
    bool taken = control != nullptr && control->isEnabled();
    if (taken && input.action == ControlInput::Action::kType) {
      auto* edit = qobject_cast<QLineEdit*>(control);
      const auto* rules = edit ? dynamic_cast<const EditRules*>(edit->validator()) : nullptr;
      if (edit == nullptr || rules == nullptr) {
        taken = false;
      } else {
        std::string typed;
        for (char c : input.text)
          if (!rules->digits_only() || (c >= '0' && c <= '9')) typed.push_back(c);
        if (rules->limit() > 0) typed = MbcsTruncate(typed, static_cast<std::size_t>(rules->limit()));
        edit->setText(FromCp932(typed));
      }
    } else if (taken) {
      auto* button = qobject_cast<QAbstractButton*>(control);
      if (button == nullptr) {
        taken = false;
      } else if (qobject_cast<QPushButton*>(button) != nullptr && !press_buttons) {
        continue;
      } else if (input.action == ControlInput::Action::kClick ||
                 button->isChecked() != (input.check != 0)) {
        // Typed in before the dialog shows, the values leave the first
        // focus where it is; a user at the window clicks, and focuses.
        if (press_buttons) button->setFocus(Qt::MouseFocusReason);
        button->click();
      }
    }
    if (!taken && front_end_->settings().unattended) {
      std::fprintf(stderr, "qt: control %d %s; its input is dropped\n", input.id,
                   control != nullptr ? "is disabled" : "does not exist");
      std::fflush(stderr);
    }
  }
  (void)logic;
}

void QtDialogs::EndDialog(int result) {
  const bool was_ended = ended();
  DialogPort::EndDialog(result);
  if (!was_ended && window_ != nullptr) window_->Finish(result);
}

void QtDialogs::SetItemText(int id, const std::string& text) {
  DialogPort::SetItemText(id, text);
  QWidget* control = Control(id);
  const QString value = FromCp932(text);
  if (auto* edit = qobject_cast<QLineEdit*>(control)) edit->setText(value);
  else if (auto* label = qobject_cast<QLabel*>(control)) label->setText(value);
  else if (auto* box = qobject_cast<QGroupBox*>(control)) box->setTitle(value);
  else if (auto* button = qobject_cast<QAbstractButton*>(control)) button->setText(value);
}

std::string QtDialogs::GetItemText(int id) {
  QWidget* control = Control(id);
  if (auto* edit = qobject_cast<QLineEdit*>(control)) return ToCp932Text(edit->text());
  if (auto* label = qobject_cast<QLabel*>(control)) return ToCp932Text(label->text());
  if (auto* box = qobject_cast<QGroupBox*>(control)) return ToCp932Text(box->title());
  if (auto* button = qobject_cast<QAbstractButton*>(control)) return ToCp932Text(button->text());
  return std::string();
}

void QtDialogs::CheckItem(int id, int state) {
  auto* button = qobject_cast<QAbstractButton*>(Control(id));
  if (button == nullptr) return;
  // Setting one radio leaves the others of its group as they are.
  const bool exclusive = button->autoExclusive();
  button->setAutoExclusive(false);
  button->setChecked(state == BST_CHECKED);
  button->setAutoExclusive(exclusive);
}

int QtDialogs::IsItemChecked(int id) {
  auto* button = qobject_cast<QAbstractButton*>(Control(id));
  return button != nullptr && button->isChecked() ? BST_CHECKED : BST_UNCHECKED;
}

void QtDialogs::EnableItem(int id, BOOL enable) {
  if (QWidget* control = Control(id)) control->setEnabled(enable != FALSE);
}

BOOL QtDialogs::IsItemEnabled(int id) {
  QWidget* control = Control(id);
  return control == nullptr || control->isEnabled() ? TRUE : FALSE;
}

void QtDialogs::SetFocus(int id) {
  if (QWidget* control = Control(id)) control->setFocus(Qt::OtherFocusReason);
}

int QtDialogs::GetFocus() { return window_ != nullptr ? window_->IdOf(window_->focusWidget()) : 0; }

void QtDialogs::SetSel(int id, int start, int end) {
  auto* edit = qobject_cast<QLineEdit*>(Control(id));
  if (edit == nullptr) return;
  const std::string text = ToCp932Text(edit->text());
  const int size = static_cast<int>(text.size());
  if (end < 0 || end > size) end = size;
  if (start < 0 || start > end) start = end;
  const int from = CharIndexOfByte(text, start);
  const int to = CharIndexOfByte(text, end);
  // The caret goes to the end of the selection, scrolled into view.
  edit->setSelection(from, to - from);
}

void QtDialogs::LimitText(int id, int max_chars) {
  DialogPort::LimitText(id, max_chars);
  auto* edit = qobject_cast<QLineEdit*>(Control(id));
  if (edit == nullptr) return;
  if (auto* rules = dynamic_cast<EditRules*>(const_cast<QValidator*>(edit->validator())))
    rules->set_limit(max_chars > 0 ? max_chars : 0);
}

bool QtDialogs::GetSaveFileName(const SaveFileRequest& request, std::string* path) {
  if (front_end_->settings().unattended) {
    std::fprintf(stderr, "%s  -> cancelled\n", ToUtf8(request.title).c_str());
    std::fflush(stderr);
    return false;
  }
  QFileDialog dialog(front_end_->WidgetOf(request.owner), FromCp932(request.title));
  dialog.setWindowIcon(front_end_->icon());
  dialog.setAcceptMode(QFileDialog::AcceptSave);
  // The file must exist when the program asks so; no question about
  // replacing it (the program asks that itself).
  dialog.setFileMode((request.flags & OFN_FILEMUSTEXIST) ? QFileDialog::ExistingFile
                                                         : QFileDialog::AnyFile);
  dialog.setOption(QFileDialog::DontConfirmOverwrite, true);
  // "Name (*.ext)|*.ext||": pairs of a name and its patterns.
  QStringList filters;
  const QStringList parts = FromCp932(request.filter).split(u'|');
  for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
    if (parts[i].isEmpty()) break;
    QString patterns = parts[i + 1];
    patterns.replace(u';', u' ');
    filters << (parts[i].endsWith(QStringLiteral("(") + patterns + QStringLiteral(")"))
                    ? parts[i]
                    : parts[i] + QStringLiteral(" (") + patterns + QStringLiteral(")"));
  }
  if (!filters.isEmpty()) dialog.setNameFilters(filters);
  if (!request.default_extension.empty()) dialog.setDefaultSuffix(FromCp932(request.default_extension));
  std::string folder;
  if (!request.initial_folder.empty() && WindowsToLinuxPath(request.initial_folder, &folder))
    dialog.setDirectory(QString::fromStdString(folder));
  if (!request.file_name.empty()) dialog.selectFile(FromCp932(request.file_name));
  if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return false;
  // The chosen file as the program names it: a Windows path.
  std::string chosen;
  if (!LinuxToWindowsPath(dialog.selectedFiles().constFirst().toStdString(), &chosen)) return false;
  *path = chosen;
  return true;
}

} // namespace stmtlink

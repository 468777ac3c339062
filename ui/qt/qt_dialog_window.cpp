// The dialog window: a dialog resource built as a QDialog at its dialog-unit
// geometry, with the system dialog's keyboard (tab order, mnemonics, Enter,
// Esc) in front of the dialog logic's key table.
#include <QCheckBox>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>

#include "ui/qt/qt_edit_rules.h"
#include "ui/qt_support/qt_placement.h"
#include "ui/qt_support/qt_text.h"
#include "ui/qt/qt_windows.h"

namespace stmtlink {
namespace {

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
  CentreWhenFirstShown(this);
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

} // namespace stmtlink

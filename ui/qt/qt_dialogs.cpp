// The dialog port over Qt: modal runs of the dialog window, the controls'
// state, and the save-file dialog.
#include <QComboBox>
#include <QHeaderView>
#include <QLabel>
#include <QTreeView>
#include <QPushButton>
#include <QTimer>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QGroupBox>
#include <QLineEdit>

#include "platform/mbcs.h"
#include "platform/text_codec.h"
#include "platform/win_path.h"
#include "ui/qt/qt_edit_rules.h"
#include "ui/qt_support/qt_placement.h"
#include "ui/qt_support/qt_text.h"
#include "ui/qt/qt_windows.h"

namespace stmtlink {
namespace {

// The Linux folder the save dialog opens in: the initial folder's, or
// when that does not exist (yet: Execute creates it), its nearest existing
// parent, so that the dialog opens on the output path's drive and not in
// the program's own folder. Empty when the folder has no Linux place.
QString StartFolder(std::string windows_folder) {
  // "C:" alone is the drive's root here (the program has no current folder
  // per drive).
  if (windows_folder.size() == 2 && windows_folder[1] == ':') windows_folder.push_back('\\');
  std::string linux_folder, linux_root;
  if (windows_folder.empty() || !WindowsToLinuxPath(windows_folder, &linux_folder)) return QString();
  const bool has_drive = windows_folder.size() >= 2 && windows_folder[1] == ':';
  if (has_drive && !WindowsToLinuxPath(windows_folder.substr(0, 2) + "\\", &linux_root)) linux_root.clear();
  QString path = QDir::cleanPath(QString::fromStdString(linux_folder));
  const QString root = QString::fromStdString(linux_root);
  while (!QDir(path).exists()) {
    const QString up = QFileInfo(path).path();
    if (up == path || path == root) return QString();
    path = up;
  }
  return path;
}

} // namespace


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
  // The file-must-exist flag that the program passes is not applied: the
  // dialog names the file to write, which does not exist on a first run,
  // and a save dialog that only picks existing files would leave the edit
  // the one way to name it. No question about replacing a file either:
  // the program asks that itself on Execute. The folder must exist, as the
  // path-must-exist flag says; the dialog offers only existing folders.
  dialog.setFileMode(QFileDialog::AnyFile);
  dialog.setOption(QFileDialog::DontConfirmOverwrite, true);
  // The system dialog speaks the user's language: Qt's own Japanese texts
  // where they are installed (QtFrontEnd), and these labels in any case.
  dialog.setLabelText(QFileDialog::LookIn, QStringLiteral("保存する場所:"));
  dialog.setLabelText(QFileDialog::FileName, QStringLiteral("ファイル名(&N):"));
  dialog.setLabelText(QFileDialog::FileType, QStringLiteral("ファイルの種類(&T):"));
  dialog.setLabelText(QFileDialog::Accept, QStringLiteral("保存(&S)"));
  dialog.setLabelText(QFileDialog::Reject, QStringLiteral("キャンセル"));
  // A label shows its "&" as a mnemonic only with a buddy, and Qt gives the
  // file-type label none: it gets its list, so that Alt+T reaches it.
  if (auto* type_label = dialog.findChild<QLabel*>(QStringLiteral("fileTypeLabel"))) {
    if (auto* types = dialog.findChild<QComboBox*>(QStringLiteral("fileTypeCombo")))
      type_label->setBuddy(types);
    else
      type_label->setText(QStringLiteral("ファイルの種類:"));
  }
  // The file list's size, type and date columns as wide as what they show
  // (Qt's fixed widths cut a Japanese date); the name takes the rest.
  if (auto* files = dialog.findChild<QTreeView*>(QStringLiteral("treeView"))) {
    QHeaderView* header = files->header();
    header->setStretchLastSection(false);
    if (header->count() > 0) header->setSectionResizeMode(0, QHeaderView::Stretch);
    for (int column = 1; column < header->count(); ++column)
      header->setSectionResizeMode(column, QHeaderView::ResizeToContents);
  }
  CentreWhenFirstShown(&dialog);
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
  const QString folder = StartFolder(request.initial_folder);
  if (!folder.isEmpty()) dialog.setDirectory(folder);
  if (!request.file_name.empty()) dialog.selectFile(FromCp932(request.file_name));
  if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return false;
  // The chosen file as the program names it: a Windows path.
  std::string chosen;
  if (!LinuxToWindowsPath(dialog.selectedFiles().constFirst().toStdString(), &chosen)) return false;
  *path = chosen;
  return true;
}

} // namespace stmtlink

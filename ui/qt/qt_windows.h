// The Qt front end's windows: the front end itself (message boxes, the
// registry of its windows by handle), the dialog port that builds a dialog
// resource as a QDialog, and the progress window of resource 131.
#pragma once

#include <QDialog>
#include <QFont>
#include <QIcon>
#include <QPointer>
#include <QWidget>

#include <cstdint>
#include <map>
#include <memory>
#include <string>

#include "platform/dialog_port.h"
#include "platform/front_end_port.h"
#include "platform/progress_window_port.h"
#include "ui/qt_support/qt_application_start.h"
#include "ui/qt_support/qt_fonts.h"
#include "ui/qt/qt_front_end.h"

class QApplication;
class QTranslator;

namespace stmtlink {

class QtFrontEnd;

// A dialog resource as a window: every control at its dialog-unit geometry,
// in tab order. Keys go to the dialog's logic before any control sees them.
class QtDialogWindow : public QDialog {
 public:
  QtDialogWindow(QtFrontEnd* front_end, const DialogTemplate& resource, DialogLogic* logic,
                 DialogPort* port, QWidget* parent);

  QWidget* Control(int id) const;
  // The control at a place in the resource's list (labels included).
  QWidget* ControlAt(std::size_t index) const { return index < by_index_.size() ? by_index_[index] : nullptr; }
  int IdOf(const QWidget* widget) const;
  const DialogTemplate& resource() const { return resource_; }
  const DialogUnits& units() const { return units_; }
  // Ends the modal loop with the result (the logic has decided it).
  void Finish(int result) { QDialog::done(result); }

  // Esc and the close box: the logic's cancel.
  void reject() override;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void Build();
  // The dialog manager's Tab: the next (or previous) enabled tab stop in
  // resource order; a radio group is entered at its checked radio.
  void MoveTabFocus(bool forward);
  // A label's or group box's mnemonic: the next control in tab order.
  void FocusAfter(std::size_t index);

  QtFrontEnd* front_end_;
  const DialogTemplate& resource_;
  DialogLogic* logic_;
  DialogPort* port_;
  DialogUnits units_;
  std::map<int, QWidget*> controls_;
  std::vector<QWidget*> by_index_; // the controls in resource order
};

class QtDialogs : public DialogPort {
 public:
  explicit QtDialogs(QtFrontEnd* front_end) : front_end_(front_end) {}

  int RunModal(DialogLogic& logic) override;
  HWND Window() override { return window_handle_; }
  void EndDialog(int result) override;

  void SetItemText(int id, const std::string& text) override;
  std::string GetItemText(int id) override;
  void CheckItem(int id, int state) override;
  int IsItemChecked(int id) override;
  void EnableItem(int id, BOOL enable) override;
  BOOL IsItemEnabled(int id) override;
  void SetFocus(int id) override;
  int GetFocus() override;
  void SetSel(int id, int start, int end) override;
  void LimitText(int id, int max_chars) override;
  bool GetSaveFileName(const SaveFileRequest& request, std::string* path) override;

  // The dialog on screen; null between modal runs.
  QtDialogWindow* window() const { return window_; }

 private:
  QWidget* Control(int id) const { return window_ ? window_->Control(id) : nullptr; }
  // The settings' input, given as a user would; false when a control took none.
  void ApplyInput(DialogLogic& logic, bool press_buttons);

  QtFrontEnd* front_end_;
  QtDialogWindow* window_ = nullptr;
  HWND window_handle_ = 0;
};

class QtProgressWindow : public BarKeepingProgressWindow {
 public:
  // At most one repaint in this many milliseconds; the window is always
  // drawn when it is shown, hidden or destroyed, so the final state shows.
  // Between one and two intervals after a drawing the window waits for the
  // second bar to stand one step past where it was last drawn (a pulse
  // runs through every step within microseconds): drawings over a run show
  // that bar at each of its positions in turn, not always at the step that
  // happens to follow the run's work. A repaint asked for two intervals or
  // more after the last drawing is always drawn.
  static constexpr std::int64_t kRepaintIntervalMs = 25;

  explicit QtProgressWindow(QtFrontEnd* front_end);
  ~QtProgressWindow() override;

  HWND CreateProgressWindow(HWND parent) override;
  void SetProgressParent(HWND window, HWND parent) override;
  void ShowProgressWindow(HWND window, bool show) override;
  void SetProgressCaption(HWND window, const std::string& caption) override;
  void BringProgressToTop(HWND window) override;
  void SetProgressForeground(HWND window) override;
  void UpdateProgressWindow(HWND window) override;
  void DestroyProgressWindow(HWND window) override;

  // The window of a handle (null when none), and how often it was drawn.
  QWidget* Widget(HWND window) const;
  int repaints(HWND window) const;

 private:
  struct Window;
  Window* Find(HWND window) const;
  ProgressBars* BarsOf(HWND window) override;
  void Paint(Window& window);

  QtFrontEnd* front_end_;
  std::map<HWND, std::unique_ptr<Window>> windows_;
};

class QtFrontEnd : public FrontEndPort {
 public:
  // Uses the process's QApplication, or makes one that lives as long as the
  // front end.
  explicit QtFrontEnd(QtFrontEndSettings settings = {});
  ~QtFrontEnd() override;

  int ShowMessageBox(HWND owner, const std::string& text, const std::string& caption,
                     UINT flags) override;
  void ShowWaitCursor(bool busy) override;
  DialogPort* Dialogs() override { return &dialogs_; }
  ProgressWindowPort* ProgressWindow() override { return &progress_; }

  QtDialogs& dialogs() { return dialogs_; }
  QtProgressWindow& progress() { return progress_; }
  const QtFrontEndSettings& settings() const { return settings_; }
  // The dialogs' font ("ＭＳ Ｐゴシック" 9 pt or its fallback) and the
  // edition's icon set.
  const QFont& font() const { return font_; }
  const QIcon& icon() const { return icon_; }

  // The program's windows by handle: a message box's owner, a parent.
  HWND Register(QWidget* widget);
  void Unregister(HWND handle);
  QWidget* WidgetOf(HWND handle) const;

 private:
  QtFrontEndSettings settings_;
  std::unique_ptr<QtApplicationStart> qt_; // the application object, when this front end made it
  std::unique_ptr<QTranslator> translator_; // Qt's own Japanese texts, when installed
  QFont font_;
  QIcon icon_;
  std::map<HWND, QPointer<QWidget>> windows_;
  HWND next_handle_ = 0x130000;
  bool wait_cursor_ = false;
  bool owns_fatal_exit_ = false; // installed Qt's message handler
  QtDialogs dialogs_{this};
  QtProgressWindow progress_{this};
};

} // namespace stmtlink

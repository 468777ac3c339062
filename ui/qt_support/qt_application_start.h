// The one way a program of this tree starts Qt: the process's application
// object made once, with the start environment settled around it
// (qt_start_environment.h), and the name Qt reads as argv[0] kept alive as
// long as the object.
#pragma once

#include <memory>
#include <string>

class QGuiApplication;

namespace stmtlink {

class QtApplicationStart {
 public:
  // kWidgets: a QApplication (windows, dialogs); kPainting: a
  // QGuiApplication (fonts and painting on a page, no windows).
  enum class Kind { kWidgets, kPainting };

  // Makes the application object unless the process has one already (then
  // nothing is made or owned). A platform Qt cannot start is Qt's own fatal
  // error, as for any Qt program.
  QtApplicationStart(std::string name, Kind kind);
  ~QtApplicationStart();

  QtApplicationStart(const QtApplicationStart&) = delete;
  QtApplicationStart& operator=(const QtApplicationStart&) = delete;

  // Whether this object made (and owns) the application object.
  bool made() const { return app_ != nullptr; }

 private:
  std::string name_;
  int argc_ = 1;
  char* argv_[2] = {nullptr, nullptr};
  std::unique_ptr<QGuiApplication> app_;
};

// Qt's offscreen platform when no display is named (no DISPLAY, no
// WAYLAND_DISPLAY, no QT_QPA_PLATFORM): for painting pages or taking a
// window's picture where there is no screen. Call before the start.
void UseOffscreenWithoutDisplay();

} // namespace stmtlink

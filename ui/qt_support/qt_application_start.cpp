#include "ui/qt_support/qt_application_start.h"

#include <QApplication>
#include <QGuiApplication>

#include <cstdlib>

#include "ui/qt_support/qt_start_environment.h"

namespace stmtlink {

QtApplicationStart::QtApplicationStart(std::string name, Kind kind) : name_(std::move(name)) {
  if (QCoreApplication::instance() != nullptr) return;
  argv_[0] = name_.data();
  QtStartEnvironment start;
  start.BeforeQtStarts();
  if (kind == Kind::kWidgets)
    app_ = std::make_unique<QApplication>(argc_, argv_);
  else
    app_ = std::make_unique<QGuiApplication>(argc_, argv_);
  start.AfterQtStarted();
}

QtApplicationStart::~QtApplicationStart() = default;

void UseOffscreenWithoutDisplay() {
  if (std::getenv("DISPLAY") == nullptr && std::getenv("WAYLAND_DISPLAY") == nullptr &&
      std::getenv("QT_QPA_PLATFORM") == nullptr)
    setenv("QT_QPA_PLATFORM", "offscreen", 1);
}

} // namespace stmtlink

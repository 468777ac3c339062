// The Qt tests run on the offscreen platform, with one application object
// for the whole program.
#include <gtest/gtest.h>

#include <QApplication>

#include <cstdlib>

#include "ui/qt_support/qt_start_environment.h"

int main(int argc, char** argv) {
  // Listing and running alike: no display is needed or used.
  setenv("QT_QPA_PLATFORM", "offscreen", 1);
  // The C locale, started as the program starts Qt: the windows must still
  // show Japanese dates.
  setenv("LC_ALL", "C", 1);
  stmtlink::QtStartEnvironment start;
  start.BeforeQtStarts();
  QApplication app(argc, argv);
  start.AfterQtStarted();
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}

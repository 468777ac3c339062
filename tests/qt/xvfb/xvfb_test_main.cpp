// The Qt tests on a real X server: a private Xvfb, and one application
// object on Qt's xcb platform for the whole program. Without Xvfb every
// test says so and is skipped; an Xvfb that does not start fails them.
#include <gtest/gtest.h>

#include <QApplication>

#include <cstdlib>
#include <memory>

#include "tests/qt/xvfb/xvfb_display.h"
#include "tests/qt/xvfb/xvfb_server.h"

namespace stmtlink::testing {

XvfbState& Xvfb() {
  static XvfbState state;
  return state;
}

} // namespace stmtlink::testing

int main(int argc, char** argv) {
  ::testing::InitGoogleTest(&argc, argv);
  if (::testing::GTEST_FLAG(list_tests)) return RUN_ALL_TESTS();

  stmtlink::testing::XvfbState& state = stmtlink::testing::Xvfb();
  stmtlink::testing::XvfbServer server;
  std::unique_ptr<QApplication> app;
  const std::string program = stmtlink::testing::XvfbServer::Find();
  if (program.empty()) {
    state.missing = true;
  } else if (server.Start(program, &state.error)) {
    setenv("DISPLAY", server.display().c_str(), 1);
    setenv("QT_QPA_PLATFORM", "xcb", 1);
    unsetenv("WAYLAND_DISPLAY");
    app = std::make_unique<QApplication>(argc, argv);
    state.running = true;
  }
  const int result = RUN_ALL_TESTS();
  app.reset();
  return result;
}

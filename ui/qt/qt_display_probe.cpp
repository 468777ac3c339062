// Whether Qt can open its windows here, asked before Qt starts: Qt itself
// ends the process when its platform cannot connect, and then the host
// would never hear how the run ended.
#include <xcb/xcb.h>

#include <cstdlib>
#include <cstring>

#include "ui/qt/qt_front_end.h"

namespace stmtlink {
namespace {

std::string Env(const char* name) {
  const char* value = std::getenv(name);
  return value != nullptr ? value : "";
}

// The probe's connection, held until Qt has its own: an X server that
// resets when its last client leaves (Xvfb, a bare xinit) refuses
// connections while it resets, and Qt, connecting just then, would end the
// process.
xcb_connection_t* held_connection = nullptr;

} // namespace

bool QtCanShowWindows(std::string* why) {
  // A platform named by the user (offscreen, vnc, ...) is taken at its word,
  // except the X one, which needs the display below.
  const std::string platform = Env("QT_QPA_PLATFORM");
  if (!platform.empty() && platform.compare(0, 3, "xcb") != 0) return true;
  // The windows go to the X display (directly or through XWayland): the
  // scripts install no Wayland platform for Qt.
  const std::string display = Env("DISPLAY");
  if (display.empty()) {
    if (why)
      *why = Env("WAYLAND_DISPLAY").empty()
                 ? "no display ($DISPLAY is not set)"
                 : "no X display ($DISPLAY is not set; Qt here draws through X or XWayland)";
    return false;
  }
  if (held_connection != nullptr) return true;
  xcb_connection_t* connection = xcb_connect(nullptr, nullptr);
  const bool reachable = xcb_connection_has_error(connection) == 0;
  if (reachable) {
    held_connection = connection;
    return true;
  }
  xcb_disconnect(connection); // also frees a connection in error
  if (why) *why = "the display " + display + " cannot be reached";
  return false;
}

void ReleaseDisplayProbe() {
  if (held_connection != nullptr) xcb_disconnect(held_connection);
  held_connection = nullptr;
}

} // namespace stmtlink

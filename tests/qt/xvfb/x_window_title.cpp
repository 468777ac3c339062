#include "tests/qt/xvfb/x_window_title.h"

#include <QGuiApplication>
#include <QWidget>
#include <QtGui/qguiapplication_platform.h>
#include <xcb/xcb.h>

#include <cstdlib>
#include <cstring>

namespace stmtlink::testing {

QString XWindowTitle(QWidget* window) {
  auto* x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
  if (x11 == nullptr) return QString();
  xcb_connection_t* c = x11->connection();
  auto atom = [c](const char* name) {
    xcb_intern_atom_reply_t* reply =
        xcb_intern_atom_reply(c, xcb_intern_atom(c, 0, static_cast<std::uint16_t>(std::strlen(name)), name), nullptr);
    const xcb_atom_t a = reply != nullptr ? reply->atom : xcb_atom_t{XCB_ATOM_NONE};
    std::free(reply);
    return a;
  };
  xcb_get_property_reply_t* reply = xcb_get_property_reply(
      c, xcb_get_property(c, 0, static_cast<xcb_window_t>(window->winId()), atom("_NET_WM_NAME"),
                          atom("UTF8_STRING"), 0, 256),
      nullptr);
  QString title;
  if (reply != nullptr)
    title = QString::fromUtf8(static_cast<const char*>(xcb_get_property_value(reply)),
                              xcb_get_property_value_length(reply));
  std::free(reply);
  return title;
}

} // namespace stmtlink::testing

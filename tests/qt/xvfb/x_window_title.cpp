#include "tests/qt/xvfb/x_window_title.h"

#include <QGuiApplication>
#include <QWidget>
#include <QtGui/qguiapplication_platform.h>
#include <xcb/xcb.h>

#include <cstdlib>
#include <cstring>

namespace stmtlink::testing {

namespace {

xcb_atom_t Atom(xcb_connection_t* c, const char* name) {
  xcb_intern_atom_reply_t* reply =
      xcb_intern_atom_reply(c, xcb_intern_atom(c, 0, static_cast<std::uint16_t>(std::strlen(name)), name), nullptr);
  const xcb_atom_t a = reply != nullptr ? reply->atom : xcb_atom_t{XCB_ATOM_NONE};
  std::free(reply);
  return a;
}

} // namespace

QString XWindowTitle(QWidget* window) {
  auto* x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
  if (x11 == nullptr) return QString();
  xcb_connection_t* c = x11->connection();
  auto atom = [c](const char* name) { return Atom(c, name); };
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

std::optional<std::uint32_t> XMotifDecorations(QWidget* window) {
  auto* x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
  if (x11 == nullptr) return std::nullopt;
  xcb_connection_t* c = x11->connection();
  const xcb_atom_t hints = Atom(c, "_MOTIF_WM_HINTS");
  xcb_get_property_reply_t* reply = xcb_get_property_reply(
      c, xcb_get_property(c, 0, static_cast<xcb_window_t>(window->winId()), hints, hints, 0, 5), nullptr);
  std::optional<std::uint32_t> decorations;
  // flags, functions, decorations, ...; bit 1 of flags: decorations given.
  constexpr std::uint32_t kDecorationsGiven = 1u << 1;
  if (reply != nullptr && reply->format == 32 && xcb_get_property_value_length(reply) >= 12) {
    const auto* values = static_cast<const std::uint32_t*>(xcb_get_property_value(reply));
    if (values[0] & kDecorationsGiven) decorations = values[2];
  }
  std::free(reply);
  return decorations;
}

} // namespace stmtlink::testing

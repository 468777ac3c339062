// The title of a window as the X server holds it (_NET_WM_NAME, UTF-8),
// which is what a window manager draws in the caption bar; empty off X.
#pragma once

#include <QString>

class QWidget;

namespace stmtlink::testing {

QString XWindowTitle(QWidget* window);

} // namespace stmtlink::testing

// What the X server holds of a window for its window manager: the title
// (_NET_WM_NAME, UTF-8) that it draws in the caption bar, and the Motif
// hints that say which decorations to draw.
#pragma once

#include <QString>

#include <cstdint>
#include <optional>

class QWidget;

namespace stmtlink::testing {

// Empty off X.
QString XWindowTitle(QWidget* window);

// The decorations the window's Motif hints ask for (0: no frame, caption or
// boxes at all); none when the hints leave decorations to the window manager.
std::optional<std::uint32_t> XMotifDecorations(QWidget* window);

} // namespace stmtlink::testing

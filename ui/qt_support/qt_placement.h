// Where the program's windows appear. Under X the toolkit leaves placing a
// new window to the window manager, and without one (or with one that
// keeps the program's choice) every window opened at the top-left corner.
// The system places a dialog over the middle of its owner, or of the
// screen when it has none; the front end does the same itself.
#pragma once

class QWidget;

namespace stmtlink {

// Moves the window so that its middle lies on the middle of its owner (the
// window of its parent, when that is shown) or else of the screen's
// available area, kept wholly inside that area.
void PlaceCentred(QWidget* window);

// Places the window with PlaceCentred when it is first shown, once its
// size is settled. For windows of a fixed size, or whose size is set
// before they are shown.
void CentreWhenFirstShown(QWidget* window);

} // namespace stmtlink

// The report window's first size and place. Left to the toolkit it opened
// at a fixed size in the screen's top-left corner, its statements often too
// narrow for their columns. Here the statements' pane is as wide as their
// widest table needs at the window's font, the findings beside it, the
// whole bounded by the available area of the screen the window appears on
// and centred there.
#pragma once

#include <QSize>

class QMainWindow;
class QSplitter;
class QTextEdit;

namespace stmtlink::report {

// The width a document's pane must show for it to appear without a
// horizontal scroll bar and without wrapping its table cells: its width
// when laid out with no width limit, and the pixels that Qt's tables of
// percentage width may take past the width they are given.
int DocumentNeededWidth(const QTextEdit& document);

// Sizes the window for its content (document on the left of splitter, the
// findings on the right) within the screen's available area, sets the
// splitter's shares, and centres the window on that screen when it is
// first shown; from then on the document is laid out a few pixels narrower
// than its pane (see DocumentNeededWidth). Call once the content is set,
// before showing.
void FitReportWindow(QMainWindow* window, QSplitter* splitter, QTextEdit* document);

} // namespace stmtlink::report

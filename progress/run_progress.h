// How the aggregation and the report writer show that the run moves on,
// without knowing the window that shows it: the run's progress window
// (app/progress_dialog.h) implements it, a test may count the calls, and
// null means no progress is shown. Both calls come on the run's one thread.
#pragma once

namespace stmtlink {

class RunProgress {
 public:
  virtual ~RunProgress() = default;

  // The main bar forward through every position from `from` up to and
  // including `to`, in hundredths of a percent of the whole run (10,000 =
  // done). Nothing when from > to.
  virtual void AdvanceMainBar(short from, short to) = 0;
  // The second bar runs from empty to full once: the run is alive while a
  // long step works.
  virtual void PulseSecondBar() = 0;
};

} // namespace stmtlink

// The desktop front end (Qt 6 Widgets): the conditions dialog and the
// save-file dialog, message boxes and the progress window as real windows,
// driven by the same logic as the batch and console front ends.
//
// This header is free of Qt, so that the program's own sources (compiled
// with CP932 literals) can make the front end; qt_windows.h has the classes.
#pragma once

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "platform/dialog_port.h"
#include "platform/front_end_port.h"

namespace stmtlink {

struct QtFrontEndSettings {
  // Typed into the conditions dialog's controls once it is initialised, as
  // a user would (the values given on the command line).
  std::vector<ControlInput> dialog_input;
  // No user at the windows: the dialog input (which then ends with a press
  // of Execute) is given once the dialog is shown, a dialog still open after
  // it is abandoned, every message box is shown and answered as batch
  // answers it (Yes/No by answer_yes) and printed to standard error, and
  // the save-file dialog is cancelled. For demonstrations and benchmarks.
  bool unattended = false;
  bool answer_yes = false;
  // The program's file name, as the window system sees it.
  std::string application_name = "stmtlink";
  // Qt cannot go on (its platform did not start, or the display was lost):
  // Qt would end the process with an abort. The front end says why on
  // standard error, calls this (to tell the host the run failed), then ends
  // the process with exit status 2, the failed outcome.
  std::function<void()> on_fatal;
};

// Whether Qt can open windows here (the X display answers, or the user
// named another Qt platform); false with the reason in *why otherwise.
bool QtCanShowWindows(std::string* why);
// Lets go of the connection that QtCanShowWindows keeps open until Qt has
// connected (the front end calls it once its application object exists).
void ReleaseDisplayProbe();

// Starts Qt (unless the process already did) and returns the front end; the
// application object it made lives as long as the front end.
std::unique_ptr<FrontEndPort> MakeQtFrontEnd(const QtFrontEndSettings& settings);

} // namespace stmtlink

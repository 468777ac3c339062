// A progress window that records every call of the progress logic, one
// text per call, in order:
//   Create  Parent(4660)  Show(1)  Caption(<CP932 text>)  Range(1016,0,10000)
//   Step(1016,1)  Pos(1016,0)  Delta(1017,1)  Top  Foreground  Update  Destroy
// Calls for another window than the one it made are recorded with "?".
#pragma once

#include <algorithm>
#include <string>
#include <vector>

#include "platform/progress_window_port.h"

namespace stmtlink::testing {

class RecordingProgressWindow : public ProgressWindowPort {
 public:
  HWND CreateProgressWindow(HWND) override {
    calls.push_back("Create");
    window = fail_create ? 0 : 0x5151;
    return window;
  }
  void SetProgressParent(HWND w, HWND parent) override {
    Add(w, "Parent(" + std::to_string(parent) + ")");
  }
  void ShowProgressWindow(HWND w, bool show) override {
    Add(w, std::string("Show(") + (show ? "1" : "0") + ")");
  }
  void SetProgressCaption(HWND w, const std::string& caption) override {
    Add(w, "Caption(" + caption + ")");
    captions.push_back(caption);
  }
  void SetBarRange(HWND w, int bar, int low, int high) override {
    Add(w, "Range(" + Args(bar, low, high) + ")");
  }
  void SetBarStep(HWND w, int bar, int step) override { Add(w, "Step(" + Args(bar, step) + ")"); }
  void SetBarPos(HWND w, int bar, int pos) override { Add(w, "Pos(" + Args(bar, pos) + ")"); }
  void DeltaBarPos(HWND w, int bar, int delta) override {
    Add(w, "Delta(" + Args(bar, delta) + ")");
  }
  void BringProgressToTop(HWND w) override { Add(w, "Top"); }
  void SetProgressForeground(HWND w) override { Add(w, "Foreground"); }
  void UpdateProgressWindow(HWND w) override { Add(w, "Update"); }
  void DestroyProgressWindow(HWND w) override { Add(w, "Destroy"); }

  long Count(const std::string& call) const {
    return std::count(calls.begin(), calls.end(), call);
  }

  std::vector<std::string> calls;
  std::vector<std::string> captions; // CP932
  HWND window = 0;
  bool fail_create = false;

 private:
  void Add(HWND w, std::string call) { calls.push_back(w == window ? call : "?" + call); }
  static std::string Args(int a, int b) { return std::to_string(a) + "," + std::to_string(b); }
  static std::string Args(int a, int b, int c) { return Args(a, b) + "," + std::to_string(c); }
};

} // namespace stmtlink::testing

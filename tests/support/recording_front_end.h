// A front end that records every message box and answers from a queue
// (IDOK for messages, IDNO for questions when the queue is empty).
#pragma once

#include <deque>
#include <string>
#include <vector>

#include "platform/front_end_port.h"

namespace stmtlink::testing {

struct RecordedMessage {
  HWND owner;
  std::string text;    // CP932
  std::string caption; // CP932
  UINT flags;
};

class RecordingFrontEnd : public FrontEndPort {
 public:
  RecordingFrontEnd() { SetFrontEnd(this); }
  ~RecordingFrontEnd() override { SetFrontEnd(nullptr); }

  int ShowMessageBox(HWND owner, const std::string& text, const std::string& caption,
                     UINT flags) override {
    messages.push_back({owner, text, caption, flags});
    if (!answers.empty()) {
      int answer = answers.front();
      answers.pop_front();
      return answer;
    }
    return (flags & MB_TYPEMASK) == MB_YESNO ? IDNO : IDOK;
  }

  std::vector<RecordedMessage> messages;
  std::deque<int> answers;
};

} // namespace stmtlink::testing

// The host's message manager (AccMsgMgr).
#pragma once

#include <string>

#include "platform/win_types.h"

class ClMsgMgr {
 public:
  static ClMsgMgr* Inst();
  // Reports a fatal code to the user (through the front-end port) and
  // returns nonzero for it; 0 for code 0 and for codes that are not fatal.
  // The substitute counts every nonzero code other than 5000 as fatal; show 0
  // keeps the message back (the result is the same). The message bears the
  // connection's caption and the stop icon.
  long CheckFatalErrorWithMsg(long code, long reserved, long show, HWND owner);
  // Stores the code, a copy of the source name (null stays null) and line.
  void SetLastError(long code, const char* source, int line);

  // Substitute state, for tests.
  long LastErrorCode() const { return last_code_; }
  const char* LastErrorSource() const { return has_source_ ? last_source_.c_str() : nullptr; }
  int LastErrorLine() const { return last_line_; }
  void ResetForTesting();

 private:
  ClMsgMgr() = default;
  long last_code_ = 0;
  // A copy: the caller's text need not outlive the call.
  std::string last_source_;
  bool has_source_ = false;
  int last_line_ = 0;
};

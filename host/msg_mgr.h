// The host's message manager (AccMsgMgr).
#pragma once

#include "platform/win_types.h"

class ClMsgMgr {
 public:
  static ClMsgMgr* Inst();
  // Reports a fatal code to the user (through the front-end port) and
  // returns nonzero for it; 0 for code 0 and for codes that are not fatal.
  // The substitute counts every nonzero code other than 5000 as fatal.
  long CheckFatalErrorWithMsg(long code, long reserved, long show, HWND owner);
  void SetLastError(long code, const char* source, int line);

  // Substitute state, for tests.
  long LastErrorCode() const { return last_code_; }
  const char* LastErrorSource() const { return last_source_; }
  int LastErrorLine() const { return last_line_; }

 private:
  ClMsgMgr() = default;
  long last_code_ = 0;
  const char* last_source_ = nullptr;
  int last_line_ = 0;
};

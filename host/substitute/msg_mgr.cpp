#include "host/msg_mgr.h"

#include <cstdio>

#include "host/acc_connect.h"
#include "host/substitute/host_call.h"
#include "host/host_errors.h"
#include "platform/front_end_port.h"

ClMsgMgr* ClMsgMgr::Inst() {
  static ClMsgMgr manager;
  return &manager;
}

long ClMsgMgr::CheckFatalErrorWithMsg(long code, long reserved, long show, HWND owner) {
  if (long injected = stmtlink::BeginHostCall("ClMsgMgr::CheckFatalErrorWithMsg", code, reserved,
                                              show, owner))
    return injected;
  if (code == 0 || code == stmtlink::kHostEndOfRows) return 0;
  if (show != 0) {
    char text[128];
    std::snprintf(text, sizeof(text), "会計データの処理中にエラーが発生しました。(エラーコード %ld)",
                  code);
    const std::string& caption = ClAccConnect::Inst()->m_strCaption;
    MessageBox(owner, text, caption.c_str(), MB_OK | MB_ICONHAND);
  }
  return 1;
}

void ClMsgMgr::SetLastError(long code, const char* source, int line) {
  stmtlink::RecordCall("ClMsgMgr::SetLastError", code, source, line);
  last_code_ = code;
  has_source_ = source != nullptr;
  last_source_ = source ? source : "";
  last_line_ = line;
}

void ClMsgMgr::ResetForTesting() {
  last_code_ = 0;
  last_source_.clear();
  has_source_ = false;
  last_line_ = 0;
}

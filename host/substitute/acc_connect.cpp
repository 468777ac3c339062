#include "host/acc_connect.h"

#include "host/substitute/host_call.h"
#include "host/substitute/host_ini.h"
#include "platform/front_end_port.h"

using stmtlink::BeginHostCall;
using stmtlink::RecordCall;

ClAccConnect* ClAccConnect::Inst() {
  static ClAccConnect connection;
  return &connection;
}

void ClAccConnect::SetAppType(int app_type) {
  RecordCall("ClAccConnect::SetAppType", app_type);
  app_type_ = app_type;
}

void ClAccConnect::SetUseDataType(int use_data_type) {
  RecordCall("ClAccConnect::SetUseDataType", use_data_type);
  use_data_type_ = use_data_type;
}

long ClAccConnect::Initiate() {
  long code = BeginHostCall("ClAccConnect::Initiate");
  // host.ini [Link] stands for the host's answer, so that a refused
  // connection can be tried without a real host.
  if (code == 0) code = stmtlink::HostIniLong("Link", "Initiate", 0);
  connected_ = code == 0;
  return code;
}

long ClAccConnect::ExpSysLink() {
  if (long code = BeginHostCall("ClAccConnect::ExpSysLink")) return code;
  return stmtlink::HostIniLong("Link", "ExpSysLink", 0);
}

int ClAccConnect::DispMsg(HWND owner, const char* text, const char* caption, UINT flags) {
  // The text goes to the front end; the journal keeps who and how.
  if (long code = BeginHostCall("ClAccConnect::DispMsg", owner, flags))
    return static_cast<int>(code);
  // A null caption takes the connection's own, as the host's messages do.
  return MessageBox(owner, text, caption ? caption : m_strCaption.c_str(), flags);
}

long ClAccConnect::LogOut() { return BeginHostCall("ClAccConnect::LogOut"); }

long ClAccConnect::Terminate() {
  long code = BeginHostCall("ClAccConnect::Terminate");
  if (code == 0) connected_ = false;
  return code;
}

void ClAccConnect::Release() {
  RecordCall("ClAccConnect::Release");
  connected_ = false;
}

void ClAccConnect::ResetForTesting() {
  m_strCaption.clear();
  m_hOwnerWnd = 0;
  app_type_ = -1;
  use_data_type_ = -1;
  connected_ = false;
}

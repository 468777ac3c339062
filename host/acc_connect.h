// The link connection with the host (the host's AccLink library).
// Substitute: the answers of Initiate and ExpSysLink come from the [Link]
// section of <home>/host.ini (keys Initiate and ExpSysLink, default 0), so
// that their failures can be tried; DispMsg shows its message through the
// front-end port.
#pragma once

#include <string>

#include "platform/win_types.h"

// The data use the program declares with SetUseDataType (its meaning is
// the host's).
constexpr int kUseDataTypeLink = 1;
// ExpSysLink's answer when the host ends the link on purpose.
constexpr long kExpSysLinkEnded = 1;

class ClAccConnect {
 public:
  static ClAccConnect* Inst();

  std::string m_strCaption; // caption of the messages shown for the program
  HWND m_hOwnerWnd = 0;     // owner window of those messages

  void SetAppType(int app_type);
  void SetUseDataType(int use_data_type);
  long Initiate();   // 0: connected
  long ExpSysLink(); // 0: go on, 1: end as cancelled, other: end as failed
  int DispMsg(HWND owner, const char* text, const char* caption, UINT flags);
  long LogOut();
  long Terminate();
  void Release();

  // Substitute state, for tests.
  int AppType() const { return app_type_; }
  int UseDataType() const { return use_data_type_; }
  bool IsConnected() const { return connected_; }
  void ResetForTesting();

 private:
  ClAccConnect() = default;
  int app_type_ = -1;
  int use_data_type_ = -1;
  bool connected_ = false;
};

#include "app/link_app.h"

#include "app/environment_check.h"
#include "host/acc_connect.h"
#include "res/edition/edition.h"
#include "platform/host_window.h"
#include "platform/mbcs.h"
#include "platform/win_api.h"

namespace stmtlink {

LinkApp::LinkApp() = default;

BOOL LinkApp::InitInstance() {
  // The framework's control-container support needs nothing here.

  // The link connection, in the order the host expects.
  ClAccConnect* connection = ClAccConnect::Inst();
  connection->m_strCaption = "決算書";
  connection->SetAppType(ThisEdition().app_type);
  connection->SetUseDataType(1);
  if (connection->Initiate() != 0) {
    // Nothing read yet: no message, no notification, resultCode stays 0.
    return FALSE;
  }

  if (ParseCommandLine(m_lpCmdLine) == 1) {
    startedByHost = 1;
    hostParent = hostWindow;
    EnableWindow(hostWindow, FALSE);
    connection->m_hOwnerWnd = hostWindow;
  }

  // The program's folder becomes the current folder: the receiver's
  // definition file is looked for there.
  char module_path[MAX_PATH + 1] = {};
  GetModuleFileName(0, module_path, sizeof(module_path));
  unsigned char* last_separator =
      _mbsrchr(reinterpret_cast<unsigned char*>(module_path), '\\');
  if (last_separator != nullptr) {
    last_separator[1] = '\0';
    _chdir(module_path);
  }

  if (!CheckEnvironment(1)) {
    resultCode = kResultFailed;
    return FALSE;
  }

  long link = connection->ExpSysLink();
  if (link != 0) {
    resultCode = link == 1 ? kResultCancelled : kResultFailed;
    return FALSE;
  }

  // A missing record or setting leaves its zero-filled copy; the conditions
  // dialog refuses such data.
  ReadSelectedData(&selectedData);
  ReadTaxSettings(&taxSettings, &selectedData);

  // The run (conditions dialog, aggregation, report) is not built yet:
  // start-up ends here as after a completed run.
  return TRUE;
}

int LinkApp::ExitInstance() {
  ClAccConnect* connection = ClAccConnect::Inst();
  connection->LogOut();
  connection->Terminate();
  connection->Release();

  if (startedByHost == 1) {
    SetForegroundWindow(hostWindow);
    EnableWindow(hostWindow, TRUE);
    // wParam is the function number sign-extended to the host's 32 bits.
    const auto wparam = static_cast<std::uint32_t>(static_cast<std::int32_t>(functionId));
    PostMessage(hostWindow, doneMessage, wparam, static_cast<LPARAM>(resultCode));
    EnableWindow(hostWindow, TRUE);
  }
  return CWinApp::ExitInstance();
}

int LinkApp::CheckEnvironment(int show_messages) {
  return stmtlink::CheckEnvironment(hostWindow, show_messages);
}

} // namespace stmtlink

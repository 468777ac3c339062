#include "app/link_app.h"

#include "app/dialog_texts.h"
#include "app/environment_check.h"
#include "dialog/conditions_dialog.h"
#include "host/acc_connect.h"
#include "app/progress_dialog.h"
#include "host/sys_user.h"
#include "res/edition/edition.h"
#include "platform/front_end_port.h"
#include "platform/host_window.h"
#include "platform/mbcs.h"
#include "platform/text_codec.h"
#include "platform/win_api.h"

namespace stmtlink {
namespace {

constexpr char kUserWhat[] = "利用者の選択";

// The dialog's input fields from the selected data set, the host user and
// the path the host imposes. Fails when the user could not be read: the
// remembered conditions are keyed by the user, and must never be read or
// saved under a key the program did not get from the host.
RunFailure FillConditionsDialog(ConditionsDialog* dialog, const StDATAINFO& data, int started_by_host,
                                const std::string& host_output_path) {
  RunFailure failure;
  ClSysUser user;
  long first = 0, second = 0;
  if (!HostReadOk(user.GetCurUserID(dialog->userId), "ClSysUser::GetCurUserID", kUserWhat, &failure) ||
      !HostReadOk(user.GetSelectedNo(dialog->userId, &first, &second), "ClSysUser::GetSelectedNo",
                  kUserWhat, &failure))
    return failure;
  dialog->selectionNo1 = static_cast<std::int32_t>(first);
  dialog->selectionNo2 = static_cast<std::int32_t>(second);
  dialog->isPastResults = data.introductionMonth == kIntroductionMonthPastResults ? 1 : 0;
  dialog->fixedOutputPath.clear();
  if (started_by_host == 1) dialog->fixedOutputPath = host_output_path;
  dialog->periodEnd = data.periodEnd;
  dialog->periodStart = data.periodStart;
  dialog->introductionMonth = data.introductionMonth;
  dialog->companyName = DialogCompanyName(data);
  dialog->periodText = DialogPeriodText(data);
  dialog->isCompanyLawData = data.companyLaw;
  return failure;
}

} // namespace

LinkApp::LinkApp() = default;

BOOL LinkApp::InitInstance() {
  failure_ = RunFailure();
  // The framework's control-container support needs nothing here.

  // The link connection, in the order the host expects.
  ClAccConnect* connection = ClAccConnect::Inst();
  connection->m_strCaption = "決算書";
  connection->SetAppType(ThisEdition().app_type);
  connection->SetUseDataType(kUseDataTypeLink);
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
  // A path cut short (the result is the buffer's size) names no folder of
  // the program: the current folder is left as it is then.
  DWORD module_length = GetModuleFileName(0, module_path, sizeof(module_path));
  unsigned char* last_separator =
      module_length < sizeof(module_path)
          ? _mbsrchr(reinterpret_cast<unsigned char*>(module_path), '\\')
          : nullptr;
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
    resultCode = link == kExpSysLinkEnded ? kResultCancelled : kResultFailed;
    // The host ends the link with 1 on purpose; any other answer is a
    // failure the user must hear of, not a silent end.
    if (link != kExpSysLinkEnded) {
      const std::string text = "会計データとの連携を確認できませんでした（ClAccConnect::ExpSysLink がエラーコード " +
                               std::to_string(link) + " を返しました）。\n\nアプリケーションを終了します。";
      MessageBox(hostWindow, text.c_str(), "決算書", MB_OK | MB_ICONEXCLAMATION);
    }
    return FALSE;
  }

  // Books that cannot be read soundly are refused here, once, before any
  // figure is taken from them.
  if (!BooksAreSound()) {
    resultCode = kResultFailed;
    return FALSE;
  }

  // A missing record or setting leaves its zero-filled copy; the conditions
  // dialog refuses such data. A host call that failed is no such case: the
  // books could not be read, and the run fails saying so.
  const int found = ReadSelectedData(&selectedData);
  if (failure_.ok()) ReadTaxSettings(&taxSettings, &selectedData, found == 1);
  if (failure_.failed()) return FailBooksUnreadable();

  ConditionsDialog dialog(hostParent);
  if (failure_.Note(FillConditionsDialog(&dialog, selectedData, startedByHost, hostOutputPath)))
    return FailBooksUnreadable();
  const int chosen = dialog.DoModal();
  // The dialog ends itself after showing a failed read of the period.
  if (failure_.Note(dialog.periodFailure)) {
    resultCode = kResultFailed;
    return FALSE;
  }
  if (chosen == ConditionsDialog::kResultCancel) {
    resultCode = kResultCancelled;
    return FALSE;
  }

  return Run(dialog);
}

int LinkApp::ExitInstance() {
  // The lines of the run are the application's to free.
  accountLines.Clear();
  ledgerLines.Clear();
  noteLines.clear();

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

bool LinkApp::BooksAreSound() {
  std::string cause;
  if (Extras().CheckBooks(&cause)) return true;
  // The cause names a Linux path (UTF-8); the box shows program text.
  const std::string text = std::string("会計データを読み込めません。\n\n") + ToCp932(cause) + ".";
  MessageBox(hostWindow, text.c_str(), "決算書", MB_OK | MB_ICONEXCLAMATION);
  return false;
}

bool LinkApp::JournalIsSound(ProgressDialog* progress, bool ledger, std::string* refusal) {
  const std::string data_id(selectedData.dataId, strnlen(selectedData.dataId, sizeof(selectedData.dataId)));
  std::string cause;
  HostExtras& extras = Extras();
  if (progress) extras.SetBusyHook([progress] { progress->PulseSecondBar(); });
  const bool sound = extras.ReadJournal(data_id, ledger, &cause);
  if (progress) extras.SetBusyHook(nullptr);
  if (sound) return true;
  *refusal = std::string("会計データを読み込めません。\n\n") + ToCp932(cause) + ".";
  return false;
}

BOOL LinkApp::FailBooksUnreadable() {
  const std::string text = std::string("会計データを読み込めません。\n\n") + failure_.Text();
  MessageBox(hostWindow, text.c_str(), "決算書", MB_OK | MB_ICONEXCLAMATION);
  resultCode = kResultFailed;
  return FALSE;
}

int LinkApp::CheckEnvironment(int show_messages) {
  return stmtlink::CheckEnvironment(hostWindow, show_messages);
}

} // namespace stmtlink

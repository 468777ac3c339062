#include "dialog/conditions_dialog.h"

#include <cstring>

#include "res/common/conditions_template.h"
#include "dialog/folder_tree.h"
#include "dialog/path_checks.h"
#include "dialog/path_parts.h"
#include "dialog/period_months.h"
#include "dialog/remembered_conditions.h"
#include "host/file_mgr.h"
#include "platform/front_end_port.h"
#include "platform/mbcs.h"
#include "platform/win_api.h"

namespace stmtlink {
namespace {

constexpr char kCaption[] = "決算書";
constexpr UINT kRefusal = MB_OK | MB_ICONEXCLAMATION;
constexpr UINT kQuestion = MB_YESNO | MB_ICONQUESTION;

constexpr char kPastResultsMessage[] =
    "過去実績データは、連携の対象として使用できません。\n\nアプリケーションを終了します。";
constexpr char kNotCompanyLawMessage[] =
    "選択された会計データは会社法(H18.5施行)に対応していないため、\n"
    "連携の対象として使用できません。\n"
    "(ヴェルカを起動し、[事業所・消費税情報設定]にて会社法対応データへ   \n"
    "変換することで、連携ができます。)\n\nアプリケーションを終了します。";
constexpr char kMonthsMessage[] = "集計期間に誤りがあります。\n\n集計期間を設定しなおしてください。";
constexpr char kIntroductionMessage[] = "集計期間には、導入開始月より前は指定できません。";
constexpr char kNoOutputMessage[] = "データ出力先が指定されていません。\n\n出力先を指定してください。";
constexpr char kBadCharacterMessage[] =
    "データの出力先に不正な文字が含まれています。\n\n出力先を再入力してください。";
constexpr char kBadDriveMessage[] = "ドライブ名が有効でありません。\n\n有効なドライブを指定してください。";
constexpr char kNoFileNameMessage[] = "ファイル名が指定されていません。";
constexpr char kProgramInputMessage[] =
    "指定された出力先は会計データまたは設定のファイルのため、上書きできません。\n\n出力先を再入力してください。";
constexpr char kCreateFolderQuestion[] =
    "指定されたフォルダは存在しません。\n\n作成してもよろしいですか？";
constexpr char kCreateFolderFailed[] = "フォルダの作成に失敗しました。\n\n出力先を再入力してください。";
constexpr char kOverwriteQuestion[] = "同名のファイルが存在します。\n\n上書きしてもよろしいですか？";
constexpr char kBooksUnreadableMessage[] = "会計データを読み込めません。\n\n";
constexpr char kCancelMessage[] = "｢決算書｣の集計を中止します。";

constexpr char kSaveTitle[] = "保存ファイルを指定";
constexpr char kSaveFilter[] = "Xml Files (*.xml)|*.xml||";
constexpr DWORD kSaveFlags = OFN_HIDEREADONLY | OFN_NOCHANGEDIR | OFN_PATHMUSTEXIST | OFN_FILEMUSTEXIST;

// The decimal value of a month edit, as the runtime's atoi reads it: an
// empty text is 0. Bounded, so that no text can overflow.
int MonthValue(const std::string& text) {
  std::size_t i = 0;
  while (i < text.size() && (text[i] == ' ' || text[i] == '\t')) ++i;
  bool negative = false;
  if (i < text.size() && (text[i] == '-' || text[i] == '+')) negative = text[i++] == '-';
  int value = 0;
  for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i)
    if (value < 100000) value = value * 10 + (text[i] - '0');
  return negative ? -value : value;
}

// The month rules of Execute. The focus goes to the from-month edit unless
// the rule says the to-month.
enum class MonthError { kNone, kFrom, kTo };

MonthError CheckMonths(int f, int t, int s, int l) {
  bool crosses = false;
  if (l >= 100) {
    crosses = true;
    l %= 100;
  }
  if (f < 1 || f > 12) return MonthError::kFrom;
  if (t < 1 || t > 12) return MonthError::kTo;
  if (!crosses) {
    if (f < s) return MonthError::kFrom;
    if (t > l) return MonthError::kFrom;
    if (f > t) return MonthError::kFrom;
  } else {
    if (s < f && s <= t && t < f) return MonthError::kTo;
    if (f <= l && (t < f || t > l)) return MonthError::kTo;
    if (l < f && f < s) return MonthError::kFrom;
    if (l < t && t < s) return MonthError::kFrom;
  }
  return MonthError::kNone;
}

} // namespace

ConditionsDialog::ConditionsDialog(HWND parent) : parent_(parent) {}

const DialogTemplate& ConditionsDialog::Template() const { return ConditionsDialogTemplate(); }

int ConditionsDialog::DoModal() {
  port_ = CurrentFrontEnd()->Dialogs();
  int result = port_->RunModal(*this);
  // Only Execute confirms; whatever else a front end returns is a cancel.
  return result == kResultExecute ? kResultExecute : kResultCancel;
}

void ConditionsDialog::EndDialog(int result) { port_->EndDialog(result); }

int ConditionsDialog::Message(const char* text, UINT flags) {
  return MessageBox(port_->Window(), text, kCaption, flags);
}

bool ConditionsDialog::PeriodMonths(std::int16_t* first, std::int16_t* last) {
  if (!periodFailure.Note(GetPeriodMonths(periodStart, periodEnd, first, last))) return true;
  const std::string text = std::string(kBooksUnreadableMessage) + periodFailure.Text();
  Message(text.c_str(), kRefusal);
  EndDialog(kResultCancel);
  return false;
}

void ConditionsDialog::FocusEdit(int id) {
  port_->SetFocus(id);
  port_->SetSel(id, 0, -1);
}

void ConditionsDialog::UpdateData(bool save) {
  if (save) {
    toMonthText = port_->GetItemText(IDC_TO_MONTH);
    fromMonthText = port_->GetItemText(IDC_FROM_MONTH);
    outputPath = port_->GetItemText(IDC_OUTPUT_PATH);
    return;
  }
  port_->SetItemText(IDC_PERIOD_TEXT, periodText);
  port_->SetItemText(IDC_COMPANY_NAME, companyName);
  port_->SetItemText(IDC_OUTPUT_PATH, outputPath);
  port_->SetItemText(IDC_TO_MONTH, toMonthText);
  port_->LimitText(IDC_TO_MONTH, 2);
  port_->SetItemText(IDC_FROM_MONTH, fromMonthText);
  port_->LimitText(IDC_FROM_MONTH, 2);
}

BOOL ConditionsDialog::OnInitDialog() {
  // The framework's initialisation shows the caller's texts.
  UpdateData(false);

  if (isPastResults == 1) {
    Message(kPastResultsMessage, kRefusal);
    EndDialog(kResultCancel);
    return TRUE;
  }
  if (isCompanyLawData != 1) {
    Message(kNotCompanyLawMessage, kRefusal);
    EndDialog(kResultCancel);
    return TRUE;
  }

  port_->LimitText(IDC_OUTPUT_PATH, 255);

  std::int16_t from = 0, to = 0, kind = 1;
  std::int32_t ledger = 1;
  char path[kPathBufferSize] = {};
  std::memset(rememberedPath, 0, sizeof(rememberedPath));
  if (LoadConditions(&from, &to, &kind, &ledger, path)) {
    MbcsCopy(rememberedPath, sizeof(rememberedPath), path);
  } else {
    if (!PeriodMonths(&from, &to)) return TRUE;
    to = static_cast<std::int16_t>(to % 100);
  }

  std::string default_path = path;
  if (default_path.empty()) {
    // The host's export folder, as the host writes it; else the system's
    // temporary folder. The pattern makes Execute refuse the path until the
    // user names a file.
    default_path = ClFileMgr::Inst()->GetAppFolderPath(kAppFolderExport);
    if (default_path.empty()) {
      char temp[kPathBufferSize] = {};
      DWORD length = GetTempPath(sizeof(temp), temp);
      if (length > 0 && length < sizeof(temp)) default_path = temp;
      AppendSeparator(&default_path, kPathBufferSize);
    }
    default_path += "*.xml";
  }

  if (!fixedOutputPath.empty()) {
    outputPath = fixedOutputPath;
    port_->EnableItem(IDC_BROWSE, FALSE);
    port_->EnableItem(IDC_OUTPUT_PATH, FALSE);
    port_->SetItemText(IDC_OUTPUT_GROUP, "出力先");
    outputPathFixed = 1;
  } else {
    outputPath = default_path;
    outputPathFixed = 0;
  }

  if (from == 0 && !PeriodMonths(&from, nullptr)) return TRUE;
  fromMonthText = std::to_string(from);
  toMonthText = std::to_string(to);

  port_->CheckItem(IDC_MEMBERS, kind == 2 ? BST_CHECKED : BST_UNCHECKED);
  port_->CheckItem(IDC_SHAREHOLDERS, kind == 2 ? BST_UNCHECKED : BST_CHECKED);
  equityKind = kind;
  // A damaged record may hold any number; the box knows checked or not.
  port_->CheckItem(IDC_LEDGER, ledger != 0 ? BST_CHECKED : BST_UNCHECKED);
  outputLedger = ledger;

  UpdateData(false);
  return TRUE;
}

void ConditionsDialog::OnCommand(int id) {
  switch (id) {
    case IDC_EXECUTE:
      OnExecute();
      return;
    case IDC_BROWSE:
      OnBrowse();
      return;
    case IDC_CANCEL_BUTTON:
    case IDCANCEL:
      OnCancel();
      return;
    default:
      // IDOK (Enter on a radio, the check box or a label) does nothing:
      // the dialog has no default button, and only Execute may confirm.
      return;
  }
}

void ConditionsDialog::OnExecute() {
  UpdateData(true);
  equityKind = port_->IsItemChecked(IDC_MEMBERS) == BST_CHECKED ? 2 : 1;
  outputLedger = port_->IsItemChecked(IDC_LEDGER) == BST_CHECKED ? 1 : 0;

  const int f = MonthValue(fromMonthText);
  const int t = MonthValue(toMonthText);
  std::int16_t s = 0, l = 0;
  if (!PeriodMonths(&s, &l)) return;
  switch (CheckMonths(f, t, s, l)) {
    case MonthError::kFrom:
      Message(kMonthsMessage, kRefusal);
      FocusEdit(IDC_FROM_MONTH);
      return;
    case MonthError::kTo:
      Message(kMonthsMessage, kRefusal);
      FocusEdit(IDC_TO_MONTH);
      return;
    case MonthError::kNone:
      break;
  }

  if (!PeriodMonths(&s, nullptr)) return;
  if (GetMonthPosition(s, static_cast<std::int16_t>(t)) < introductionMonth) {
    Message(kIntroductionMessage, kRefusal);
    FocusEdit(IDC_TO_MONTH);
    return;
  }

  if (outputPath.empty()) {
    Message(kNoOutputMessage, kRefusal);
    OnBrowse();
    return;
  }

  if (!CheckOutputPath()) return;
  if (outputPathFixed == 1) {
    EndDialog(kResultExecute);
    return;
  }

  FileStatus status;
  if (!WindowsPathStatus(outputPath, &status)) {
    EndDialog(kResultExecute);
  } else if (status.is_directory) {
    Message(kNoFileNameMessage, kRefusal);
    FocusEdit(IDC_OUTPUT_PATH);
  } else if (Message(kOverwriteQuestion, kQuestion) == IDYES) {
    EndDialog(kResultExecute);
  } else {
    FocusEdit(IDC_OUTPUT_PATH);
  }
}

bool ConditionsDialog::CheckOutputPath() {
  const char* refusal = nullptr;
  if (!IsValidPathText(outputPath)) refusal = kBadCharacterMessage;
  else if (!IsValidDrive(outputPath)) refusal = kBadDriveMessage;
  else if (FilePart(outputPath).empty()) refusal = kNoFileNameMessage;
  // The program's own inputs are never overwritten by the report.
  else if (NamesProgramInput(outputPath)) refusal = kProgramInputMessage;
  if (refusal == nullptr) {
    std::string folder = FolderPart(outputPath);
    if (folder.empty() || _access(folder.c_str(), 0) == 0) return true;
    if (Message(kCreateFolderQuestion, kQuestion) != IDYES) {
      FocusEdit(IDC_OUTPUT_PATH);
      return false;
    }
    if (CreateFolderTree(folder)) return true;
    refusal = kCreateFolderFailed;
  }
  Message(refusal, kRefusal);
  FocusEdit(IDC_OUTPUT_PATH);
  return false;
}

void ConditionsDialog::OnBrowse() {
  UpdateData(true);
  SaveFileRequest request;
  request.owner = port_->Window();
  request.title = kSaveTitle;
  request.filter = kSaveFilter;
  request.default_extension = "XML";
  request.flags = kSaveFlags;
  request.initial_folder = FolderPart(outputPath);
  if (request.initial_folder.empty()) {
    request.initial_folder = DrivePart(outputPath);
    request.file_name = AfterDrivePart(outputPath);
  } else {
    request.file_name = FilePart(outputPath);
  }
  std::string chosen;
  if (port_->GetSaveFileName(request, &chosen)) {
    outputPath = chosen;
    UpdateData(false);
  }
  port_->SetFocus(IDC_EXECUTE);
}

void ConditionsDialog::OnCancel() {
  Message(kCancelMessage, MB_OK | MB_ICONASTERISK);
  EndDialog(kResultCancel);
}

BOOL ConditionsDialog::PreTranslateMessage(const KeyMessage& message) {
  if (message.message != WM_KEYDOWN || message.shift || message.ctrl || message.alt) return FALSE;
  if (message.key == VK_F12) {
    OnExecute();
    return TRUE;
  }
  if (message.key != VK_RETURN) return FALSE;
  const bool browse_enabled = port_->IsItemEnabled(IDC_BROWSE) != FALSE;
  switch (port_->GetFocus()) {
    case IDC_FROM_MONTH:
      FocusEdit(IDC_TO_MONTH);
      return TRUE;
    case IDC_TO_MONTH:
      if (browse_enabled) FocusEdit(IDC_OUTPUT_PATH);
      else port_->SetFocus(IDC_EXECUTE);
      return TRUE;
    case IDC_OUTPUT_PATH:
      port_->SetFocus(browse_enabled ? IDC_BROWSE : IDC_EXECUTE);
      return TRUE;
    case IDC_BROWSE:
      OnBrowse();
      return TRUE;
    case IDC_EXECUTE:
      OnExecute();
      return TRUE;
    default:
      return FALSE;
  }
}

std::string ConditionsDialog::Key() const {
  return ConditionsKey(std::string_view(userId, strnlen(userId, sizeof(userId))), selectionNo1,
                       selectionNo2);
}

bool ConditionsDialog::LoadConditions(std::int16_t* from, std::int16_t* to, std::int16_t* kind,
                                      std::int32_t* ledger, char path[261]) {
  ConditionsRecord record;
  if (!LoadConditionsRecord(Key(), &record)) return false;
  *from = record.from;
  *to = record.to;
  *kind = record.kind;
  *ledger = record.ledger;
  MbcsCopy(path, kPathBufferSize, record.path);
  return true;
}

bool ConditionsDialog::SaveConditions(std::int16_t from, std::int16_t to, std::int16_t kind,
                                      std::int32_t ledger, const char* path) {
  ConditionsRecord record{from, to, kind, ledger, path != nullptr ? path : rememberedPath};
  return SaveConditionsRecord(Key(), record);
}

} // namespace stmtlink

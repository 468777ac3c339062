// What the run could not read from the host: the first host call that
// failed with a result the program does not expect as a normal case.
//
// The program is one thread, and a failed read anywhere (dialog set-up,
// month computation, aggregation, ledger, eras, notes, settings) must end
// the whole run as failed with one message that says what could not be
// read. Each call site that sees such a result notes it here and returns
// its own failure; the run asks HostReadFailed() at each stage and shows
// HostReadFailureText() once. Later failures (the aftermath of the first)
// are not kept: the first names the cause.
//
// Results that are normal cases and never noted, call by call:
//   - 5000 (end of rows) from a cursor's walk: ClRuleKamoku::MoveNext,
//     ClRuleMotocho::MoveFirst/MoveNext, ClRuleShiwake::MoveFirst/MoveNext,
//     ClSetGengo::Walk, ClSetData::WalkDat (the selected data set not among
//     them is unsuitable data, refused by the dialog as before);
//   - 5000 from ClSetKamoku::WalkFind: no account of that code (an empty
//     name, as the ledger expects for an unknown counter account);
//   - 5000 from ClSaveKessansho::GetDataType02: the books keep no such
//     setting (notes off, no note text);
//   - a date outside every era from the era helper (an empty date text).
// Closing calls (MoveFinish, ReleaseCursor, ReleaseDatCursor, LogOut,
// Terminate) come after everything was read: their failure changes nothing
// that was read and is not looked at. ClFileMgr::GetAppFolderPath answers
// with a text, and an empty one is the host's "no such folder": the export
// folder then falls back to the temporary folder, and conditions that
// cannot be remembered leave the run as it ended. ClAccConnect::Initiate
// failing ends the program quietly before anything is read, as the host
// expects, and ExpSysLink has its own message. Every other nonzero result,
// and a null object where the host hands one out, is a failure.
#pragma once

#include <string>
#include <string_view>

namespace stmtlink {

// Notes a failed host call: `call` the host's name ("ClRuleMotocho::MoveNext"),
// `code` its result, `what` (CP932) what could not be read ("総勘定元帳").
// Keeps only the first failure of the run.
void NoteHostReadFailure(std::string_view call, long code, std::string_view what);
bool HostReadFailed();
// One sentence (CP932), for example
// "総勘定元帳を読み込めませんでした（ClRuleMotocho::MoveNext がエラーコード 9001 を返しました）。";
// empty when nothing failed.
std::string HostReadFailureText();
// Forgets the failure: at the start of a run (and between tests).
void ClearHostReadFailure();

// Notes the failure when code is nonzero; returns code == 0.
inline bool HostReadOk(long code, std::string_view call, std::string_view what) {
  if (code == 0) return true;
  NoteHostReadFailure(call, code, what);
  return false;
}
// Notes the failure when object is null; returns object != nullptr.
template <typename T>
bool HostObjectOk(T* object, std::string_view call, std::string_view what) {
  if (object != nullptr) return true;
  NoteHostReadFailure(call, 0, what);
  return false;
}

} // namespace stmtlink

// What ended a run as failed: the first host call that failed with a result
// the program does not expect as a normal case, or an aggregation that could
// not go on (a sum beyond the amounts' limit, no memory, missing input).
//
// A failed read anywhere (dialog set-up, month computation, aggregation,
// ledger, eras, notes, settings) must end the whole run as failed with one
// message that says what could not be read. The run (app/link_app.h) holds
// one RunFailure and keeps the first failure in it; later ones are the
// aftermath of the first, which names the cause. A function that reads from
// the host returns a RunFailure (ok when nothing failed) or keeps its
// failure in the one it is given; the type is [[nodiscard]], so a failure
// returned is never dropped unseen. The run shows Text() once.
//
// Results that are normal cases and never a failure, call by call:
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
//
// An amount sum beyond the limit is thrown as AmountOverflow inside the
// arithmetic (aggregate/amount.h: an operator has no room for a result
// besides its value); the aggregation turns it into a RunFailure of kind
// kOverflow before it returns, so the run sees one kind of failure.
#pragma once

#include <string>
#include <string_view>

namespace stmtlink {

class [[nodiscard]] RunFailure {
 public:
  enum class Kind {
    kNone,     // nothing failed
    kHostRead, // a host call failed: call(), code(), what()
    kOverflow, // an amount sum reached the limit (aggregate/amount.h)
    kNoMemory, // a line, a cursor or the ledger's store could not be allocated
    kNoInput,  // called without its lines, conditions or company data
  };

  // Nothing failed.
  RunFailure() = default;
  // The host call `call` ("ClRuleMotocho::MoveNext") returned `code`, or
  // handed out nothing where it hands out an object (code 0); `what` (CP932)
  // is what could not be read ("総勘定元帳").
  static RunFailure HostRead(std::string_view call, long code, std::string_view what);
  // A failure that names no host call (kOverflow, kNoMemory, kNoInput).
  static RunFailure Of(Kind kind);

  bool ok() const { return kind_ == Kind::kNone; }
  bool failed() const { return kind_ != Kind::kNone; }
  Kind kind() const { return kind_; }
  const std::string& call() const { return call_; }
  long code() const { return code_; }
  const std::string& what() const { return what_; }

  // For a failed host call one sentence (CP932), for example
  // "総勘定元帳を読み込めませんでした（ClRuleMotocho::MoveNext がエラーコード 9001 を返しました）。";
  // empty for every other kind, whose message says no more than that the
  // step failed.
  std::string Text() const;

  // Takes `later` when nothing has failed before, and leaves the first
  // failure otherwise. Returns later.failed(): whether the step that gave
  // `later` failed.
  bool Note(const RunFailure& later);

 private:
  Kind kind_ = Kind::kNone;
  std::string call_;
  long code_ = 0;
  std::string what_;
};

// Keeps a failed host call in *failure when code is nonzero (the first
// failure stays); returns code == 0.
inline bool HostReadOk(long code, std::string_view call, std::string_view what, RunFailure* failure) {
  if (code == 0) return true;
  failure->Note(RunFailure::HostRead(call, code, what));
  return false;
}
// Keeps a failed host call in *failure when object is null; returns
// object != nullptr.
template <typename T>
bool HostObjectOk(T* object, std::string_view call, std::string_view what, RunFailure* failure) {
  if (object != nullptr) return true;
  failure->Note(RunFailure::HostRead(call, 0, what));
  return false;
}

} // namespace stmtlink

#include "AccUty/host_read_failure.h"

namespace stmtlink {
namespace {

struct Failure {
  bool failed = false;
  std::string call;
  long code = 0;
  std::string what;
};

Failure& First() {
  static Failure failure;
  return failure;
}

} // namespace

void NoteHostReadFailure(std::string_view call, long code, std::string_view what) {
  Failure& first = First();
  if (first.failed) return;
  first.failed = true;
  first.call = call;
  first.code = code;
  first.what = what;
}

bool HostReadFailed() { return First().failed; }

std::string HostReadFailureText() {
  const Failure& first = First();
  if (!first.failed) return std::string();
  std::string text = first.what + "を読み込めませんでした（" + first.call;
  // A null object has no code: the call handed out nothing.
  if (first.code != 0) text += " がエラーコード " + std::to_string(first.code) + " を返しました";
  else text += " が何も返しませんでした";
  return text + "）。";
}

void ClearHostReadFailure() { First() = Failure{}; }

} // namespace stmtlink

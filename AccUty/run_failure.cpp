#include "AccUty/run_failure.h"

namespace stmtlink {

RunFailure RunFailure::HostRead(std::string_view call, long code, std::string_view what) {
  RunFailure failure;
  failure.kind_ = Kind::kHostRead;
  failure.call_ = call;
  failure.code_ = code;
  failure.what_ = what;
  return failure;
}

RunFailure RunFailure::Of(Kind kind) {
  RunFailure failure;
  failure.kind_ = kind;
  return failure;
}

std::string RunFailure::Text() const {
  if (kind_ != Kind::kHostRead) return std::string();
  std::string text = what_ + "を読み込めませんでした（" + call_;
  // A null object has no code: the call handed out nothing.
  if (code_ != 0) text += " がエラーコード " + std::to_string(code_) + " を返しました";
  else text += " が何も返しませんでした";
  return text + "）。";
}

bool RunFailure::Note(const RunFailure& later) {
  if (ok()) *this = later;
  return later.failed();
}

} // namespace stmtlink

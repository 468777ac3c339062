#include "tools/report/prolog_scan.h"

namespace stmtlink::report {
namespace {

const std::string kDoctype = "<!DOCTYPE";
const std::string kComment = "<!--";

bool StartsWith(const std::string& whole, const std::string& part) {
  return whole.size() <= part.size() && part.compare(0, whole.size(), whole) == 0;
}

} // namespace

void PrologScan::Markup(char c) {
  markup_ += c;
  if (markup_ == "<?") {
    state_ = State::kInstruction;
  } else if (markup_ == kComment) {
    state_ = State::kComment;
  } else if (markup_ == kDoctype) {
    doctype_line_ = markup_line_;
    state_ = State::kDone;
  } else if (!StartsWith(markup_, kComment) && !StartsWith(markup_, kDoctype)) {
    state_ = State::kDone; // the root element, or markup the parser refuses itself
  }
  previous_ = before_previous_ = 0;
}

void PrologScan::Feed(const char* data, std::size_t size) {
  for (std::size_t i = 0; i < size && state_ != State::kDone; ++i) {
    const char c = data[i];
    switch (state_) {
      case State::kText:
        if (c == '<') {
          state_ = State::kMarkup;
          markup_ = "<";
          markup_line_ = line_;
        }
        break;
      case State::kMarkup: Markup(c); continue;
      case State::kComment:
        if (c == '>' && previous_ == '-' && before_previous_ == '-') state_ = State::kText;
        break;
      case State::kInstruction:
        if (c == '>' && previous_ == '?') state_ = State::kText;
        break;
      case State::kDone: break;
    }
    if (c == '\n') ++line_;
    before_previous_ = previous_;
    previous_ = c;
  }
}

} // namespace stmtlink::report

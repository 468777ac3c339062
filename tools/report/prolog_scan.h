// The line of a DOCTYPE declaration, found in the text the parser reads.
// libxml2's reader hands a DOCTYPE over as a node without a line of its own,
// and by then the parser has read on; so the text before the root element
// (the prolog: the XML declaration, comments, processing instructions) is
// followed here as it passes, and the line where "<!DOCTYPE" begins is
// kept. Scanning stops at the root element's start, so a large report
// costs nothing more.
#pragma once

#include <cstddef>
#include <string>

namespace stmtlink::report {

class PrologScan {
 public:
  // The next bytes of the text (UTF-8 or ASCII-compatible), in order.
  void Feed(const char* data, std::size_t size);
  // The line (from 1) of "<!DOCTYPE"; 0 when none came before the root.
  long doctype_line() const { return doctype_line_; }

 private:
  enum class State { kText, kMarkup, kComment, kInstruction, kDone };
  void Markup(char c);

  State state_ = State::kText;
  std::string markup_; // the start of the markup at hand, up to "<!DOCTYPE"
  long line_ = 1;
  long markup_line_ = 0;
  long doctype_line_ = 0;
  char previous_ = 0, before_previous_ = 0;
};

} // namespace stmtlink::report

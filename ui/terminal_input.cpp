#include "ui/terminal_input.h"

namespace stmtlink {

bool ReadInputLine(std::FILE* in, std::string* line) {
  line->clear();
  int c;
  while ((c = std::fgetc(in)) != EOF) {
    if (c == '\n') return true;
    line->push_back(static_cast<char>(c));
  }
  return !line->empty();
}

} // namespace stmtlink

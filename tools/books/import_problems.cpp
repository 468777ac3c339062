#include "tools/books/import_problems.h"

namespace stmtlink {

void ImportProblems::Add(const std::string& file, long line, int column,
                         const std::string& message) {
  std::string where = file + ":" + std::to_string(line);
  if (column > 0) where += ":" + std::to_string(column);
  Add(where + ": " + message);
}

void ImportProblems::Add(const std::string& message) {
  if (shown_.size() < kMaxShown) shown_.push_back(message);
  ++count_;
}

std::string ImportProblems::Text() const {
  std::string text;
  for (const std::string& line : shown_) text += line + "\n";
  if (count_ > shown_.size())
    text += "... and " + std::to_string(count_ - shown_.size()) + " more problems\n";
  return text;
}

} // namespace stmtlink

#include "tools/books/import_problems.h"

#include "tools/books/books_language.h"

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
    text += Say("... and {0} more problems\n", u8"… ほかに {0} 件の問題があります\n",
                {std::to_string(count_ - shown_.size())});
  return text;
}

} // namespace stmtlink

// What is wrong with the files given to an import: each problem names the
// file, the line (of the record's first physical line) and the column (the
// field's number, 1 the first; 0 when the whole record is meant). The list
// keeps the first kMaxShown problems and counts the rest, so one broken
// million-line journal does not flood the terminal.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

namespace stmtlink {

class ImportProblems {
 public:
  static constexpr std::size_t kMaxShown = 30;

  void Add(const std::string& file, long line, int column, const std::string& message);
  // A problem that belongs to no line (an option, a missing file).
  void Add(const std::string& message);

  bool empty() const { return count_ == 0; }
  std::size_t count() const { return count_; }
  // One problem a line, "FILE:LINE:COLUMN: message", then how many more.
  std::string Text() const;

 private:
  std::vector<std::string> shown_;
  std::size_t count_ = 0;
};

} // namespace stmtlink

// A list that owns its records, in the order they were appended. The
// statement lines and the ledger lines live in one each, owned by the
// application object for the program's life.
#pragma once

#include <cstddef>
#include <list>
#include <memory>

namespace stmtlink {

template <typename Record>
class OwningList {
 public:
  using Lines = std::list<std::unique_ptr<Record>>;

  void Append(std::unique_ptr<Record> line) { lines_.push_back(std::move(line)); }
  void Clear() { lines_.clear(); }
  bool empty() const { return lines_.empty(); }
  std::size_t size() const { return lines_.size(); }
  typename Lines::const_iterator begin() const { return lines_.begin(); }
  typename Lines::const_iterator end() const { return lines_.end(); }

 private:
  Lines lines_;
};

} // namespace stmtlink

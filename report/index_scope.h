// Gives a report part the index of the statement lines for as long as it
// runs: the enclosing part's index when there is one (the lines do not change
// while a report is written), else one built now.
#pragma once

#include <new>
#include <optional>

#include "report/line_selection.h"
#include "report/report_writer.h"

namespace stmtlink {

class IndexScope {
 public:
  explicit IndexScope(ReportWriter* writer) : writer_(writer) {
    if (writer_->index_ != nullptr) return;
    try {
      owned_.emplace(writer_->Lines());
    } catch (const std::bad_alloc&) {
      return; // ok() is false: the part fails as on any lack of memory
    }
    writer_->index_ = &*owned_;
  }
  ~IndexScope() {
    if (owned_) writer_->index_ = nullptr;
  }
  IndexScope(const IndexScope&) = delete;
  IndexScope& operator=(const IndexScope&) = delete;

  bool ok() const { return writer_->index_ != nullptr; }
  const LineIndex& index() const { return *writer_->index_; }

 private:
  ReportWriter* writer_;
  std::optional<LineIndex> owned_;
};

} // namespace stmtlink

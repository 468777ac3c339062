// The numbered cursors of a data set that reads its rows ahead: GetCursor
// opens one, a reading (Ready, ReadyCursor) fills it, Walk hands its rows
// out in turn, ReleaseCursor closes it. Shared by the era and account sets.
#pragma once

#include <cstddef>
#include <cstring>
#include <map>
#include <type_traits>
#include <utility>
#include <vector>

#include "host/host_errors.h"

namespace stmtlink {

template <typename Row>
class RowCursors {
  static_assert(std::is_trivially_copyable_v<Row>, "rows are host records");

 public:
  // A new cursor with no rows; its number.
  long Open() {
    const long id = next_id_++;
    cursors_.emplace(id, Cursor());
    return id;
  }
  bool IsOpen(long id) const { return cursors_.count(id) != 0; }
  // Replaces the cursor's rows and starts it at the first; false when the
  // cursor is not open.
  bool Fill(long id, std::vector<Row> rows) {
    auto it = cursors_.find(id);
    if (it == cursors_.end()) return false;
    it->second = Cursor{std::move(rows), 0};
    return true;
  }
  // The next row into *row (zero-filled first): 0, kHostEndOfRows after the
  // last one, kHostErrorArgument for a cursor that is not open.
  long Next(long id, Row* row) {
    std::memset(row, 0, sizeof(*row));
    auto it = cursors_.find(id);
    if (it == cursors_.end()) return kHostErrorArgument;
    Cursor& c = it->second;
    if (c.next >= c.rows.size()) return kHostEndOfRows;
    std::memcpy(row, &c.rows[c.next++], sizeof(*row));
    return 0;
  }
  bool Close(long id) { return cursors_.erase(id) != 0; }
  // Back to a fresh state: no cursors, numbering from 1.
  void Clear() {
    cursors_.clear();
    next_id_ = 1;
  }

 private:
  struct Cursor {
    std::vector<Row> rows;
    std::size_t next = 0;
  };
  std::map<long, Cursor> cursors_;
  long next_id_ = 1;
};

} // namespace stmtlink

// The numbered cursors of a data set that reads its rows ahead: GetCursor
// opens one, a reading (Ready, ReadyCursor) fills it, Walk hands its rows
// out in turn, ReleaseCursor closes it. Shared by the era and account sets,
// whose rows stay in their cached tables: a cursor only points into them.
#pragma once

#include <algorithm>
#include <cstddef>
#include <cstring>
#include <memory>
#include <type_traits>
#include <utility>
#include <vector>

#include "host/host_errors.h"

namespace stmtlink {

template <typename Row>
class RowCursors {
  static_assert(std::is_trivially_copyable_v<Row>, "rows are host records");

 public:
  using Rows = std::shared_ptr<const std::vector<Row>>;

  // A new cursor with no rows; its number.
  long Open() {
    const long id = next_id_++;
    // A closed cursor's place is taken again: the program opens and closes
    // one per look-up, millions of times in a ledger run.
    // The place keeps the table it pointed into (no rows are reachable
    // through it): filled again from the same table, as a look-up does,
    // the cursor changes no reference count.
    for (Cursor& c : cursors_) {
      if (c.id == 0) {
        c.id = id;
        c.next = c.end = 0;
        return id;
      }
    }
    cursors_.push_back(Cursor{id, nullptr, 0, 0});
    return id;
  }
  bool IsOpen(long id) const { return Find(id) != nullptr; }
  // Makes rows [begin, end) of the shared table the cursor's rows (they are
  // not copied) and starts it at the first; false when the cursor is not
  // open.
  bool Fill(long id, const Rows& rows, std::size_t begin, std::size_t end) {
    Cursor* c = Find(id);
    if (c == nullptr) return false;
    const std::size_t size = rows ? rows->size() : 0;
    c->rows = rows; // the same table: no reference count changes
    c->next = std::min(begin, size);
    c->end = std::min(std::max(begin, end), size);
    return true;
  }
  // The next row into *row (zero-filled first): 0, kHostEndOfRows after the
  // last one, kHostErrorArgument for a cursor that is not open.
  long Next(long id, Row* row) {
    Cursor* c = Find(id);
    if (c != nullptr && c->next < c->end) {
      std::memcpy(row, &(*c->rows)[c->next++], sizeof(*row));
      return 0;
    }
    std::memset(row, 0, sizeof(*row));
    return c == nullptr ? kHostErrorArgument : kHostEndOfRows;
  }
  bool Close(long id) {
    Cursor* c = Find(id);
    if (c == nullptr) return false;
    c->id = 0;
    c->next = c->end = 0;
    return true;
  }
  // Back to a fresh state: no cursors, numbering from 1, no table kept.
  void Clear() {
    cursors_.clear();
    next_id_ = 1;
  }

 private:
  struct Cursor {
    long id = 0; // 0: a free place
    Rows rows;
    std::size_t next = 0;
    std::size_t end = 0;
  };
  Cursor* Find(long id) {
    if (id <= 0) return nullptr;
    for (Cursor& c : cursors_)
      if (c.id == id) return &c;
    return nullptr;
  }
  const Cursor* Find(long id) const { return const_cast<RowCursors*>(this)->Find(id); }

  std::vector<Cursor> cursors_; // open cursors are few: searched in turn
  long next_id_ = 1;
};

} // namespace stmtlink

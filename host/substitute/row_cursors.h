// The cursors of the substitute's host objects, in one place.
//
// NumberedCursors: the numbered cursors of a data-set object (GetCursor
// opens one and hands out its number, the other calls name it, a release
// closes it). RowCursors: those of a data set that reads its rows ahead (the
// era and account sets, whose rows stay in their cached tables: a cursor
// only points into them). RuleRows: the one cursor of a rule object
// (ClRuleKamoku and its siblings) over the rows MoveReady made ready, read
// from a position that SetMovePos, MoveFirst and MoveNext move.
//
// The calls that do no more than that take the host call's name, which
// they record and answer an injected failure for first (host_call.h).
#pragma once

#include <algorithm>
#include <cstddef>
#include <cstring>
#include <memory>
#include <string>
#include <string_view>
#include <type_traits>
#include <utility>
#include <vector>

#include "host/host_errors.h"
#include "host/substitute/host_call.h"
#include "host/substitute/substitute_control.h"

namespace stmtlink {

// Cursor: what one open cursor holds, default-constructible, with a
// Closed() that lets go of what a closed cursor must not keep.
template <typename Cursor>
class NumberedCursors {
 public:
  // A new cursor into *number: 0, or kHostErrorArgument for no number.
  long Open(long* number) {
    if (!number) return kHostErrorArgument;
    const long id = next_id_++;
    // A closed cursor's place is taken again: the program opens and closes
    // one per look-up, millions of times in a ledger run.
    for (Place& place : places_) {
      if (place.id == 0) {
        place.id = id;
        *number = id;
        return 0;
      }
    }
    places_.push_back(Place{id, Cursor()});
    *number = id;
    return 0;
  }
  // The open cursor with this number; null when there is none.
  Cursor* Find(long id) {
    Place* place = PlaceOf(id);
    return place ? &place->cursor : nullptr;
  }
  // 0, or kHostErrorArgument when no cursor has the number.
  long Close(long id) {
    Place* place = PlaceOf(id);
    if (place == nullptr) return kHostErrorArgument;
    place->cursor.Closed();
    place->id = 0;
    return 0;
  }
  // Back to a fresh state: no cursors, numbering from 1.
  void Clear() {
    places_.clear();
    next_id_ = 1;
  }

  // The host's GetCursor and ReleaseCursor calls.
  long GetCursorCall(std::string_view call, long* number) {
    if (long code = BeginHostCall(call)) return code;
    return Open(number);
  }
  long ReleaseCall(std::string_view call, long id) {
    if (long code = BeginHostCall(call, id)) return code;
    return Close(id);
  }

 private:
  struct Place {
    long id = 0; // 0: a free place
    Cursor cursor;
  };
  Place* PlaceOf(long id) {
    if (id <= 0) return nullptr;
    for (Place& place : places_)
      if (place.id == id) return &place;
    return nullptr;
  }

  std::vector<Place> places_; // open cursors are few: searched in turn
  long next_id_ = 1;
};

template <typename Row>
class RowCursors {
  static_assert(std::is_trivially_copyable_v<Row>, "rows are host records");

 public:
  using Rows = std::shared_ptr<const std::vector<Row>>;

  long GetCursorCall(std::string_view call, long* number) { return cursors_.GetCursorCall(call, number); }
  long ReleaseCall(std::string_view call, long id) { return cursors_.ReleaseCall(call, id); }
  bool IsOpen(long id) { return cursors_.Find(id) != nullptr; }
  // Makes rows [begin, end) of the shared table the cursor's rows (they are
  // not copied) and starts it at the first; false when the cursor is not
  // open.
  bool Fill(long id, const Rows& rows, std::size_t begin, std::size_t end) {
    Cursor* c = cursors_.Find(id);
    if (c == nullptr) return false;
    const std::size_t size = rows ? rows->size() : 0;
    c->rows = rows; // the same table: no reference count changes
    c->next = std::min(begin, size);
    c->end = std::min(std::max(begin, end), size);
    return true;
  }
  // The next row into *row (zero-filled first): 0, kHostEndOfRows after the
  // last one, kHostErrorArgument for no row or a cursor that is not open.
  long Next(long id, Row* row) {
    if (!row) return kHostErrorArgument;
    Cursor* c = cursors_.Find(id);
    if (c != nullptr && c->next < c->end) {
      std::memcpy(row, &(*c->rows)[c->next++], sizeof(*row));
      return 0;
    }
    std::memset(row, 0, sizeof(*row));
    return c == nullptr ? kHostErrorArgument : kHostEndOfRows;
  }
  // The host's Walk call: Next.
  long WalkCall(std::string_view call, long id, Row* row) {
    if (long code = BeginHostCall(call, id)) return code;
    return Next(id, row);
  }
  void Clear() { cursors_.Clear(); }

 private:
  struct Cursor {
    Rows rows;
    std::size_t next = 0;
    std::size_t end = 0;
    // The place keeps the table it pointed into (no rows are reachable
    // through it): filled again from the same table, as a look-up does,
    // the cursor changes no reference count.
    void Closed() { next = end = 0; }
  };
  NumberedCursors<Cursor> cursors_;
};

template <typename Row>
class RuleRows {
 public:
  // MoveReady's start: no rows, and its MoveNext calls counted from 1 again.
  void Restart() {
    Forget();
    reads_ = 0;
  }
  // MoveFinish: no rows (their memory freed) until the next Ready.
  void Forget() {
    ready_ = false;
    rows_ = std::vector<Row>();
    position_ = 0;
  }
  // The rows that MoveReady read; the next read is the first.
  void Ready(std::vector<Row> rows) {
    rows_ = std::move(rows);
    position_ = 0;
    ready_ = true;
  }
  const std::vector<Row>& rows() const { return rows_; }

  // The host's GetCount call: kHostErrorArgument for no count or before
  // Ready.
  long CountCall(std::string_view call, long* count) {
    if (long code = BeginHostCall(call)) return code;
    if (!count || !ready_) return kHostErrorArgument;
    *count = static_cast<long>(rows_.size());
    return 0;
  }
  // The host's SetMovePos call: the row that the next read takes (0 the
  // first, the count for none).
  long SetPositionCall(std::string_view call, long position) {
    if (long code = BeginHostCall(call, position)) return code;
    if (!ready_ || position < 0 || static_cast<std::size_t>(position) > rows_.size())
      return kHostErrorArgument;
    position_ = static_cast<std::size_t>(position);
    return 0;
  }
  // The row at position into *at, and the next read after it: 0,
  // kHostErrorArgument before Ready, kHostEndOfRows past the last row.
  long Take(std::size_t position, std::size_t* at) {
    if (!ready_) return kHostErrorArgument;
    if (position >= rows_.size()) return kHostEndOfRows;
    *at = position;
    position_ = position + 1;
    return 0;
  }
  long TakeNext(std::size_t* at) { return Take(position_, at); }
  // Take for a read into a host record, zero-filled first:
  // kHostErrorArgument for no record.
  template <typename Record>
  long TakeInto(Record* record, std::size_t position, std::size_t* at) {
    if (!record) return kHostErrorArgument;
    std::memset(record, 0, sizeof(*record));
    return Take(position, at);
  }
  // The row that the next read takes.
  std::size_t NextPosition() const { return position_; }

  // The failure injected as "<move_next>@N" (substitute_control.h) for the
  // Nth MoveNext since MoveReady, which this call is; 0 for none.
  long NthReadFailure(const char* move_next) {
    ++reads_;
    if (!HostFailuresPossible()) return 0;
    return HostFailureFor(std::string(move_next) + "@" + std::to_string(reads_));
  }

 private:
  bool ready_ = false;
  std::vector<Row> rows_;
  std::size_t position_ = 0;
  long reads_ = 0; // MoveNext calls since MoveReady
};

} // namespace stmtlink

#include "host/set_data.h"

#include <cstring>
#include <string>

#include "host/substitute/data_info_row.h"
#include "host/substitute/host_call.h"
#include "host/host_errors.h"
#include "host/substitute/host_ini.h"

using stmtlink::BeginHostCall;
using stmtlink::BooksStatement;

long ClSetData::GetDatCursor(long* cursor) {
  if (long code = BeginHostCall("ClSetData::GetDatCursor")) return code;
  if (!cursor) return stmtlink::kHostErrorArgument;
  *cursor = next_cursor_++;
  cursors_.emplace(*cursor, Cursor());
  return 0;
}

long ClSetData::ReadyDat(long cursor, int mode) {
  if (long code = BeginHostCall("ClSetData::ReadyDat", cursor, mode)) return code;
  auto it = cursors_.find(cursor);
  if (it == cursors_.end()) return stmtlink::kHostErrorArgument;
  std::string error;
  auto books = stmtlink::CurrentBooks(&error);
  if (!books) return stmtlink::kHostErrorBooks;
  std::string sql = std::string("SELECT ") + stmtlink::kDataInfoColumns +
                    " FROM data_set ORDER BY data_no";
  // Readying again starts the walk over.
  it->second = Cursor();
  if (!books->Prepare(sql, &it->second.rows, &error)) return stmtlink::kHostErrorBooks;
  return 0;
}

long ClSetData::WalkDat(long cursor, StDATAINFO* out) {
  if (long code = BeginHostCall("ClSetData::WalkDat", cursor)) return code;
  if (!out) return stmtlink::kHostErrorArgument;
  std::memset(out, 0, sizeof(*out));
  auto it = cursors_.find(cursor);
  if (it == cursors_.end() || !it->second.rows.valid()) return stmtlink::kHostErrorArgument;
  Cursor& c = it->second;
  // SQLite would start a finished statement over; the host's cursor stays
  // at its end.
  if (c.finished) return stmtlink::kHostEndOfRows;
  std::string error;
  switch (c.rows.Next(&error)) {
    case BooksStatement::Step::kRow:
      stmtlink::FillDataInfo(c.rows, out);
      return 0;
    case BooksStatement::Step::kDone:
      c.finished = true;
      return stmtlink::kHostEndOfRows;
    case BooksStatement::Step::kError:
      break;
  }
  return stmtlink::kHostErrorBooks;
}

long ClSetData::ReleaseDatCursor(long cursor) {
  if (long code = BeginHostCall("ClSetData::ReleaseDatCursor", cursor)) return code;
  if (cursors_.erase(cursor) == 0) return stmtlink::kHostErrorArgument;
  return 0;
}

namespace {

// The record of the user's selected data set into *out; false when there is
// none or the books cannot be read.
bool ReadSelected(StDATAINFO* out) {
  std::string error;
  auto books = stmtlink::CurrentBooks(&error);
  if (!books) return false;
  std::string sql = std::string("SELECT ") + stmtlink::kDataInfoColumns +
                    " FROM data_set WHERE data_no = ?1";
  BooksStatement row;
  if (!books->Prepare(sql, &row, &error)) return false;
  if (!row.BindInt64(1, stmtlink::HostIniLong("User", "SelectedNo2", 0), &error)) return false;
  if (row.Next(&error) != BooksStatement::Step::kRow) return false;
  std::memset(out, 0, sizeof(*out));
  stmtlink::FillDataInfo(row, out);
  return true;
}

} // namespace

const StDATAINFO* ClSetData::GetSelectedInfo() {
  if (BeginHostCall("ClSetData::GetSelectedInfo")) return nullptr;
  return ReadSelected(&selected_) ? &selected_ : nullptr;
}

ClAccPeriod* ClSetData::GetAccPeriod() {
  if (BeginHostCall("ClSetData::GetAccPeriod")) return nullptr;
  StDATAINFO info;
  if (!ReadSelected(&info)) return nullptr;
  period_ = ClAccPeriod(info.periodStart, info.periodEnd);
  return &period_;
}

void ClSetData::ResetForTesting() {
  ClSetBase::ResetForTesting();
  cursors_.clear();
  next_cursor_ = 1;
  std::memset(&selected_, 0, sizeof(selected_));
  period_ = ClAccPeriod();
}

#include "host/set_data.h"

#include <cstring>
#include <string>

#include "host/host_errors.h"
#include "host/substitute/books_db.h"
#include "host/substitute/data_info_row.h"
#include "host/substitute/host_call.h"
#include "host/substitute/host_ini.h"
#include "host/substitute/row_cursors.h"
#include "host/substitute/substitute_home.h"

using stmtlink::BeginHostCall;
using stmtlink::BooksStatement;

namespace {

// A cursor over the data list: the rows are stepped as they are walked.
struct DataListCursor {
  BooksStatement rows;   // valid once ReadyDat succeeded
  bool finished = false; // past the last row: 5000 from now on
  // A closed cursor holds no statement (which would keep the books read).
  void Closed() { *this = DataListCursor(); }
};

} // namespace

struct ClSetData::Cursors : stmtlink::NumberedCursors<DataListCursor> {};

ClSetData::ClSetData() : cursors_(std::make_unique<Cursors>()) {}
ClSetData::~ClSetData() = default;

long ClSetData::GetDatCursor(long* cursor) {
  return cursors_->GetCursorCall("ClSetData::GetDatCursor", cursor);
}

long ClSetData::ReadyDat(long cursor, int mode) {
  if (long code = BeginHostCall("ClSetData::ReadyDat", cursor, mode)) return code;
  DataListCursor* c = cursors_->Find(cursor);
  if (c == nullptr) return stmtlink::kHostErrorArgument;
  std::string error;
  auto books = stmtlink::CurrentBooks(&error);
  if (!books) return stmtlink::kHostErrorBooks;
  std::string sql = std::string("SELECT ") + stmtlink::kDataInfoColumns +
                    " FROM data_set ORDER BY data_no";
  // Readying again starts the walk over.
  *c = DataListCursor();
  if (!books->Prepare(sql, &c->rows, &error)) return stmtlink::kHostErrorBooks;
  return 0;
}

long ClSetData::WalkDat(long cursor, StDATAINFO* out) {
  if (long code = BeginHostCall("ClSetData::WalkDat", cursor)) return code;
  if (!out) return stmtlink::kHostErrorArgument;
  std::memset(out, 0, sizeof(*out));
  DataListCursor* c = cursors_->Find(cursor);
  if (c == nullptr || !c->rows.valid()) return stmtlink::kHostErrorArgument;
  // SQLite would start a finished statement over; the host's cursor stays
  // at its end.
  if (c->finished) return stmtlink::kHostEndOfRows;
  std::string error;
  switch (c->rows.Next(&error)) {
    case BooksStatement::Step::kRow:
      stmtlink::FillDataInfo(c->rows, out);
      return 0;
    case BooksStatement::Step::kDone:
      c->finished = true;
      return stmtlink::kHostEndOfRows;
    case BooksStatement::Step::kError:
      break;
  }
  return stmtlink::kHostErrorBooks;
}

long ClSetData::ReleaseDatCursor(long cursor) {
  return cursors_->ReleaseCall("ClSetData::ReleaseDatCursor", cursor);
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
  cursors_->Clear();
  std::memset(&selected_, 0, sizeof(selected_));
  period_ = ClAccPeriod();
}

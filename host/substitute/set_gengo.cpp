#include "host/set_gengo.h"

#include <cstring>
#include <memory>
#include <string>

#include "host/host_errors.h"
#include "host/substitute/books_db.h"
#include "host/substitute/host_call.h"
#include "host/substitute/row_cursors.h"
#include "host/substitute/substitute_home.h"
#include "platform/mbcs.h"
#include "platform/text_codec.h"

using stmtlink::BeginHostCall;
using stmtlink::BooksStatement;

struct ClSetGengo::Cursors : stmtlink::RowCursors<StGENGOINFO> {};

ClSetGengo::ClSetGengo() : cursors_(std::make_unique<Cursors>()) {}
ClSetGengo::~ClSetGengo() = default;

namespace {

std::shared_ptr<std::vector<StGENGOINFO>> ReadEras(stmtlink::BooksDb& books, std::string* error) {
  BooksStatement rows;
  if (!books.Prepare("SELECT first_day, name, abbreviation FROM era ORDER BY first_day", &rows,
                      error))
    return nullptr;
  auto eras = std::make_shared<std::vector<StGENGOINFO>>();
  for (;;) {
    BooksStatement::Step step = rows.Next(error);
    if (step == BooksStatement::Step::kDone) break;
    if (step == BooksStatement::Step::kError) return nullptr;
    StGENGOINFO row{};
    row.eraNo = static_cast<std::int32_t>(eras->size() + 1);
    row.firstDay = static_cast<std::int32_t>(rows.Int64(0));
    stmtlink::MbcsCopy(row.name, sizeof(row.name), stmtlink::ToCp932(rows.Text(1)));
    stmtlink::MbcsCopy(row.abbreviation, sizeof(row.abbreviation), stmtlink::ToCp932(rows.Text(2)));
    eras->push_back(row);
  }
  return eras;
}

} // namespace

long ClSetGengo::GetCursor(long* cursor) {
  return cursors_->GetCursorCall("ClSetGengo::GetCursor", cursor);
}

long ClSetGengo::Ready(long cursor) {
  if (long code = BeginHostCall("ClSetGengo::Ready", cursor)) return code;
  if (!cursors_->IsOpen(cursor)) return stmtlink::kHostErrorArgument;
  std::string error;
  // Asked for every date the program formats: the books and the eras are
  // the kept ones, not copied.
  stmtlink::SubstituteHome& home = stmtlink::CurrentHome();
  const auto& books = home.Books(&error);
  if (!books) return stmtlink::kHostErrorBooks;
  const auto& eras = home.tables().eras.Get(
      *books, 0, [&](std::string* load_error) { return ReadEras(*books, load_error); }, &error);
  if (!eras) return stmtlink::kHostErrorBooks;
  cursors_->Fill(cursor, eras, 0, eras->size());
  return 0;
}

long ClSetGengo::Walk(long cursor, StGENGOINFO* row) {
  return cursors_->WalkCall("ClSetGengo::Walk", cursor, row);
}

long ClSetGengo::ReleaseCursor(long cursor) {
  return cursors_->ReleaseCall("ClSetGengo::ReleaseCursor", cursor);
}

void ClSetGengo::ResetForTesting() {
  ClSetBase::ResetForTesting();
  cursors_->Clear();
}

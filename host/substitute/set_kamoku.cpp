#include "host/set_kamoku.h"

#include <cstring>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "host/host_errors.h"
#include "host/substitute/account_master.h"
#include "host/substitute/books_db.h"
#include "host/substitute/host_call.h"
#include "host/substitute/host_ini.h"
#include "host/substitute/journal_lines.h"
#include "host/substitute/row_cursors.h"
#include "host/substitute/substitute_home.h"
#include "platform/mbcs.h"
#include "platform/text_codec.h"

using stmtlink::BeginHostCall;
using stmtlink::BooksStatement;

namespace {

constexpr std::int32_t kFieldCode = kFindFieldAccountCode;

// The data set the user has selected (host.ini), read again only when the
// file is: the ledger looks accounts up millions of times.
std::int64_t SelectedDataNo() {
  static std::uint64_t generation = 0;
  static std::int64_t data_no = 0;
  if (generation != stmtlink::HostIniGeneration()) {
    data_no = stmtlink::HostIniLong("User", "SelectedNo2", 0);
    generation = stmtlink::HostIniGeneration();
  }
  return data_no;
}

} // namespace

struct ClSetKamoku::Cursors : stmtlink::RowCursors<StKAMOKUINFO> {
  // The cached master's rows as the cursors' table: the same object at
  // every look-up while the master stays.
  Rows master_rows;
};

ClSetKamoku::ClSetKamoku() : cursors_(std::make_unique<Cursors>()) {}
ClSetKamoku::~ClSetKamoku() = default;

long ClSetKamoku::GetCursor(long* cursor) {
  return cursors_->GetCursorCall("ClSetKamoku::GetCursor", cursor);
}

long ClSetKamoku::ReadyCursor(long cursor, const StFINDINFO* find) {
  bool understood = true;
  const std::optional<std::int64_t> wanted = stmtlink::WantedValue(find, kFieldCode, &understood);
  if (long code = BeginHostCall("ClSetKamoku::ReadyCursor", cursor, wanted.value_or(0)))
    return code;
  if (!cursors_->IsOpen(cursor) || !understood) return stmtlink::kHostErrorArgument;
  std::string error;
  stmtlink::SubstituteHome& home = stmtlink::CurrentHome();
  const auto& books = home.Books(&error); // kept, not copied
  if (!books) return stmtlink::kHostErrorBooks;
  // The shared account set of the data manager stands for the data set the
  // user has selected, unless a data ID was set on it.
  std::int64_t data_no = SelectedDataNo();
  if (!cur_data_id_.empty()) {
    if (long code = home.FindDataNo(cur_data_id_, &data_no, &error)) return code;
  }
  // The ledger looks up two or three accounts per row: read the master once.
  const std::shared_ptr<const stmtlink::AccountMaster>& master = home.tables().account_master.Get(
      *books, data_no,
      [&](std::string* load_error) { return stmtlink::ReadAccountMaster(*books, data_no, load_error); },
      &error);
  if (!master) return stmtlink::kHostErrorBooks;
  // The cursor points into the cached master: no rows are copied, and the
  // table handed to it is the same object at every look-up.
  Cursors::Rows& rows = cursors_->master_rows;
  if (rows.get() != &master->rows) rows = Cursors::Rows(master, &master->rows);
  std::size_t begin = 0, end = master->rows.size();
  if (wanted) {
    const std::size_t found = master->Find(*wanted);
    begin = found == stmtlink::AccountMaster::kNone ? 0 : found;
    end = found == stmtlink::AccountMaster::kNone ? 0 : found + 1;
  }
  cursors_->Fill(cursor, rows, begin, end);
  return 0;
}

long ClSetKamoku::WalkFind(long cursor, StKAMOKUINFO* row) {
  return cursors_->WalkCall("ClSetKamoku::WalkFind", cursor, row);
}

long ClSetKamoku::ReleaseCursor(long cursor) {
  return cursors_->ReleaseCall("ClSetKamoku::ReleaseCursor", cursor);
}

void ClSetKamoku::ResetForTesting() {
  ClSetBase::ResetForTesting();
  cursors_->Clear();
}

#include "host/set_kamoku.h"

#include <cstring>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "host/host_errors.h"
#include "host/substitute/books_cache.h"
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

constexpr std::int32_t kFieldCode = 2;

// The account master of one data set in master order (seq, then code),
// with its codes in a flat table (open addressing, a power of two at most
// half full): the ledger looks an account up several times a row, and a
// node-based map costs a cache miss or two each time.
struct AccountMaster {
  std::vector<StKAMOKUINFO> rows;
  struct Slot {
    std::int64_t code = 0;
    std::size_t row = kNone; // kNone: an empty slot
  };
  static constexpr std::size_t kNone = ~std::size_t{0};
  std::vector<Slot> by_code;

  static std::size_t Hash(std::int64_t code) {
    return static_cast<std::size_t>((static_cast<std::uint64_t>(code) * 0x9E3779B97F4A7C15ull) >> 20);
  }
  // The first row with the code (the first one wins), or kNone.
  std::size_t Find(std::int64_t code) const {
    const std::size_t mask = by_code.size() - 1;
    for (std::size_t at = Hash(code) & mask; by_code[at].row != kNone; at = (at + 1) & mask)
      if (by_code[at].code == code) return by_code[at].row;
    return kNone;
  }
  void Index(const std::vector<std::int64_t>& codes) {
    std::size_t size = 16;
    while (size < 2 * codes.size()) size *= 2;
    by_code.assign(size, Slot{});
    const std::size_t mask = size - 1;
    for (std::size_t row = 0; row < codes.size(); ++row) {
      std::size_t at = Hash(codes[row]) & mask;
      for (; by_code[at].row != kNone; at = (at + 1) & mask)
        if (by_code[at].code == codes[row]) break;
      if (by_code[at].row == kNone) by_code[at] = Slot{codes[row], row};
    }
  }
};

std::shared_ptr<AccountMaster> ReadMaster(stmtlink::BooksDb& books, std::int64_t data_no,
                                          std::string* error) {
  BooksStatement rows;
  if (!books.Prepare("SELECT code, formal_name, nature FROM account "
                     "WHERE data_no = ?1 ORDER BY seq, code",
                     &rows, error) ||
      !rows.BindInt64(1, data_no, error))
    return nullptr;
  auto master = std::make_shared<AccountMaster>();
  std::vector<std::int64_t> codes;
  for (;;) {
    BooksStatement::Step step = rows.Next(error);
    if (step == BooksStatement::Step::kDone) break;
    if (step == BooksStatement::Step::kError) return nullptr;
    StKAMOKUINFO row;
    std::memset(&row, 0, sizeof(row));
    row.code = static_cast<std::int32_t>(rows.Int64(0));
    stmtlink::MbcsCopy(row.name, sizeof(row.name), stmtlink::ToCp932(rows.Text(1)));
    row.nature = static_cast<std::int32_t>(static_cast<std::uint32_t>(rows.Int64(2)));
    codes.push_back(rows.Int64(0));
    master->rows.push_back(row);
  }
  master->Index(codes);
  return master;
}

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
  static stmtlink::BooksCache<AccountMaster, std::int64_t> cache;
  const std::shared_ptr<const AccountMaster>& master = cache.Get(
      *books, data_no, [&](std::string* load_error) { return ReadMaster(*books, data_no, load_error); },
      &error);
  if (!master) return stmtlink::kHostErrorBooks;
  // The cursor points into the cached master: no rows are copied, and the
  // table handed to it is the same object at every look-up.
  Cursors::Rows& rows = cursors_->master_rows;
  if (rows.get() != &master->rows) rows = Cursors::Rows(master, &master->rows);
  std::size_t begin = 0, end = master->rows.size();
  if (wanted) {
    const std::size_t found = master->Find(*wanted);
    begin = found == AccountMaster::kNone ? 0 : found;
    end = found == AccountMaster::kNone ? 0 : found + 1;
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

#include "host/rule_motocho.h"

#include <algorithm>
#include <cstring>
#include <limits>
#include <string>

#include "host/substitute/books_cache.h"
#include "host/substitute/books_db.h"
#include "host/substitute/host_call.h"
#include "host/host_errors.h"
#include "host/substitute/journal_lines.h"
#include "host/substitute/ledger_index.h"

using stmtlink::BeginHostCall;
using stmtlink::BooksStatement;

namespace {

constexpr std::uint8_t kSideCredit = 1;
constexpr std::uint8_t kSideDebit = 2;

std::int32_t Clamp32(std::int64_t value) {
  return static_cast<std::int32_t>(std::clamp<std::int64_t>(
      value, std::numeric_limits<std::int32_t>::min(), std::numeric_limits<std::int32_t>::max()));
}

// The first main account of a nature in master order; 0 when none.
bool TaxAccount(stmtlink::BooksDb& db, std::int64_t data_no, std::uint32_t nature,
                std::int64_t* code, std::string* error) {
  BooksStatement q;
  if (!db.Prepare("SELECT code FROM account WHERE data_no = ?1 AND code % 10000 = 0 "
                  "AND nature = ?2 ORDER BY seq, code LIMIT 1",
                  &q, error) ||
      !q.BindInt64(1, data_no, error) || !q.BindInt64(2, nature, error))
    return false;
  *code = 0;
  switch (q.Next(error)) {
    case BooksStatement::Step::kRow:
      *code = q.Int64(0);
      return true;
    case BooksStatement::Step::kDone:
      return true;
    case BooksStatement::Step::kError:
      break;
  }
  return false;
}

struct TaxCodes {
  std::int64_t input = 0, output = 0;
};

// Both tax accounts of a data set, read once while the books stay the same
// (every account's ledger asks for them).
std::shared_ptr<const TaxCodes> TaxAccounts(stmtlink::BooksDb& db, std::int64_t data_no,
                                            std::string* error) {
  static stmtlink::BooksCache<TaxCodes, std::int64_t> cache;
  return cache.Get(
      db, data_no,
      [&](std::string* load_error) {
        auto codes = std::make_shared<TaxCodes>();
        if (!TaxAccount(db, data_no, stmtlink::kInputTaxNature, &codes->input, load_error) ||
            !TaxAccount(db, data_no, stmtlink::kOutputTaxNature, &codes->output, load_error))
          codes.reset();
        return codes;
      },
      error);
}

} // namespace

long ClRuleMotocho::MoveReady(const StFINDINFO* find, const StSORTINFO*,
                              const StMOTOCHOHYOJIINFO* display) {
  // The journal shows the account and the range.
  if (long code = BeginHostCall("ClRuleMotocho::MoveReady", display ? display->code : 0,
                                display ? display->firstDate : 0,
                                display ? display->lastDate : 0, display ? display->interim : 0))
    return code;
  ready_ = false;
  rows_.clear();
  index_.reset();
  position_ = 0;
  reads_ = 0;
  if (!display) return stmtlink::kHostErrorArgument;
  std::uint32_t positions = 0;
  if (!stmtlink::MonthPositionsOf(find, &positions)) return stmtlink::kHostErrorArgument;
  std::string error;
  auto books = stmtlink::CurrentBooks(&error);
  if (!books) return stmtlink::kHostErrorBooks;
  std::int64_t data_no = 0;
  if (long code = stmtlink::FindDataNo(*books, cur_data_id_, &data_no, &error)) return code;
  std::shared_ptr<const TaxCodes> tax = TaxAccounts(*books, data_no, &error);
  if (!tax) return stmtlink::kHostErrorBooks;

  stmtlink::LedgerRange range;
  range.data_no = data_no;
  range.first_date = display->firstDate;
  range.last_date = display->lastDate;
  range.positions = positions;
  range.input_tax = tax->input;
  range.output_tax = tax->output;
  std::shared_ptr<const stmtlink::LedgerIndex> index =
      stmtlink::LedgerIndex::Get(*books, range, &error);
  if (!index) return stmtlink::kHostErrorBooks;
  std::vector<stmtlink::LedgerRowRef> rows = index->RowsOf(display->code);
  index_ = std::move(index);
  rows_ = std::move(rows);
  ready_ = true;
  return 0;
}

long ClRuleMotocho::GetCount(const StFINDINFO*, const StMOTOCHOHYOJIINFO*, long* count) {
  if (long code = BeginHostCall("ClRuleMotocho::GetCount")) return code;
  if (!count || !ready_) return stmtlink::kHostErrorArgument;
  *count = static_cast<long>(rows_.size());
  return 0;
}

long ClRuleMotocho::SetMovePos(long position) {
  if (long code = BeginHostCall("ClRuleMotocho::SetMovePos", position)) return code;
  if (!ready_ || position < 0 || static_cast<std::size_t>(position) > rows_.size())
    return stmtlink::kHostErrorArgument;
  position_ = static_cast<std::size_t>(position);
  return 0;
}

long ClRuleMotocho::ReadAt(std::size_t position, StMOTOCHOINFO* row) {
  if (!row) return stmtlink::kHostErrorArgument;
  std::memset(row, 0, sizeof(*row));
  if (!ready_) return stmtlink::kHostErrorArgument;
  if (position >= rows_.size()) return stmtlink::kHostEndOfRows;
  const stmtlink::LedgerRowRef& ref = rows_[position];
  const stmtlink::JournalStore& journal = index_->journal();
  // An account's rows are lines all over the journal: the line a few rows
  // on is fetched while this one is read (both of its cache lines).
  constexpr std::size_t kAhead = 8;
  if (position + kAhead < rows_.size()) {
    const char* ahead = reinterpret_cast<const char*>(&journal.line(rows_[position + kAhead].line));
    __builtin_prefetch(ahead);
    __builtin_prefetch(ahead + sizeof(stmtlink::JournalLine) - 1);
  }
  const stmtlink::JournalLine& line = journal.line(ref.line);
  stmtlink::FillJournalFields(line, journal.Description(line), row);
  row->counterpartMarker = line.marker;
  // Both bits make 3: the account stands on both sides.
  row->side = ref.side;
  // The host's row names the entry's one account on the other side where
  // the line leaves it empty; the amounts stay the line's own.
  if (ref.side == kSideCredit && line.debit_code == 0)
    row->debitCode = Clamp32(journal.SingleCodeOfEntry(ref.line, true));
  if (ref.side == kSideDebit && line.credit_code == 0)
    row->creditCode = Clamp32(journal.SingleCodeOfEntry(ref.line, false));
  position_ = position + 1;
  return 0;
}

long ClRuleMotocho::MoveFirst(StMOTOCHOINFO* row) {
  if (long code = BeginHostCall("ClRuleMotocho::MoveFirst")) return code;
  return ReadAt(0, row);
}

long ClRuleMotocho::MoveNext(StMOTOCHOINFO* row) {
  // Recorded without arguments: one line per row keeps the journal small.
  if (long code = BeginHostCall("ClRuleMotocho::MoveNext")) return code;
  ++reads_;
  if (stmtlink::HostFailuresPossible()) {
    if (long code = stmtlink::HostFailureFor("ClRuleMotocho::MoveNext@" + std::to_string(reads_)))
      return code;
  }
  return ReadAt(position_, row);
}

long ClRuleMotocho::MoveFinish() {
  if (long code = BeginHostCall("ClRuleMotocho::MoveFinish")) return code;
  ready_ = false;
  rows_.clear();
  rows_.shrink_to_fit();
  index_.reset();
  position_ = 0;
  return 0;
}

#include "host/rule_motocho.h"

#include <algorithm>
#include <cstring>
#include <limits>
#include <string>

#include "host/host_errors.h"
#include "host/substitute/books_db.h"
#include "host/substitute/host_call.h"
#include "host/substitute/journal_lines.h"
#include "host/substitute/ledger_index.h"
#include "host/substitute/row_cursors.h"
#include "host/substitute/substitute_home.h"

using stmtlink::BeginHostCall;
using stmtlink::BooksStatement;

struct ClRuleMotocho::Reading {
  stmtlink::RuleRows<stmtlink::LedgerRowRef> rows;
  std::shared_ptr<const stmtlink::LedgerIndex> index; // the lines the rows point into

  long ReadAt(std::size_t position, StMOTOCHOINFO* row);
};

ClRuleMotocho::ClRuleMotocho() : reading_(std::make_unique<Reading>()) {}
ClRuleMotocho::~ClRuleMotocho() = default;

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

// Both tax accounts of a data set, read once while the books stay the same
// (every account's ledger asks for them).
std::shared_ptr<const stmtlink::TaxAccountCodes> TaxAccounts(stmtlink::SubstituteHome& home,
                                                             stmtlink::BooksDb& db, std::int64_t data_no,
                                                             std::string* error) {
  return home.tables().tax_accounts.Get(
      db, data_no,
      [&](std::string* load_error) {
        auto codes = std::make_shared<stmtlink::TaxAccountCodes>();
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
  Reading& reading = *reading_;
  reading.rows.Restart();
  reading.index.reset();
  if (!display) return stmtlink::kHostErrorArgument;
  std::uint32_t positions = 0;
  if (!stmtlink::MonthPositionsOf(find, &positions)) return stmtlink::kHostErrorArgument;
  std::string error;
  stmtlink::SubstituteHome& home = stmtlink::CurrentHome();
  auto books = home.Books(&error);
  if (!books) return stmtlink::kHostErrorBooks;
  std::int64_t data_no = 0;
  if (long code = home.FindDataNo(cur_data_id_, &data_no, &error)) return code;
  std::shared_ptr<const stmtlink::TaxAccountCodes> tax = TaxAccounts(home, *books, data_no, &error);
  if (!tax) return stmtlink::kHostErrorBooks;

  stmtlink::LedgerRange range;
  range.data_no = data_no;
  range.first_date = display->firstDate;
  range.last_date = display->lastDate;
  range.positions = positions;
  range.input_tax = tax->input;
  range.output_tax = tax->output;
  std::shared_ptr<const stmtlink::LedgerIndex> index = home.Ledger(range, &error);
  if (!index) return stmtlink::kHostErrorBooks;
  std::vector<stmtlink::LedgerRowRef> rows = index->RowsOf(display->code);
  reading.index = std::move(index);
  reading.rows.Ready(std::move(rows));
  return 0;
}

long ClRuleMotocho::GetCount(const StFINDINFO*, const StMOTOCHOHYOJIINFO*, long* count) {
  return reading_->rows.CountCall("ClRuleMotocho::GetCount", count);
}

long ClRuleMotocho::SetMovePos(long position) {
  return reading_->rows.SetPositionCall("ClRuleMotocho::SetMovePos", position);
}

long ClRuleMotocho::Reading::ReadAt(std::size_t position, StMOTOCHOINFO* row) {
  std::size_t at = 0;
  if (long code = rows.TakeInto(row, position, &at)) return code;
  const std::vector<stmtlink::LedgerRowRef>& refs = rows.rows();
  const stmtlink::LedgerRowRef& ref = refs[at];
  const stmtlink::JournalStore& journal = index->journal();
  // An account's rows are lines all over the journal: the line a few rows
  // on is fetched while this one is read (both of its cache lines).
  constexpr std::size_t kAhead = 8;
  if (at + kAhead < refs.size()) {
    const char* ahead = reinterpret_cast<const char*>(&journal.line(refs[at + kAhead].line));
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
  return 0;
}

long ClRuleMotocho::MoveFirst(StMOTOCHOINFO* row) {
  if (long code = BeginHostCall("ClRuleMotocho::MoveFirst")) return code;
  return reading_->ReadAt(0, row);
}

long ClRuleMotocho::MoveNext(StMOTOCHOINFO* row) {
  // Recorded without arguments: one line per row keeps the journal small.
  if (long code = BeginHostCall("ClRuleMotocho::MoveNext")) return code;
  if (long code = reading_->rows.NthReadFailure("ClRuleMotocho::MoveNext")) return code;
  return reading_->ReadAt(reading_->rows.NextPosition(), row);
}

long ClRuleMotocho::MoveFinish() {
  if (long code = BeginHostCall("ClRuleMotocho::MoveFinish")) return code;
  reading_->rows.Forget();
  reading_->index.reset();
  return 0;
}

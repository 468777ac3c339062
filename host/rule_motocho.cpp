#include "host/rule_motocho.h"

#include <cstring>
#include <set>
#include <string>

#include "host/books_db.h"
#include "host/host_call.h"
#include "host/host_errors.h"
#include "host/journal_lines.h"

using stmtlink::BeginHostCall;
using stmtlink::BooksStatement;
using stmtlink::JournalLine;

namespace {

constexpr std::int64_t kSlotInterim = 14;
constexpr std::uint8_t kSideCredit = 1;
constexpr std::uint8_t kSideDebit = 2;

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

std::uint8_t Multiplicity(const std::set<std::int64_t>& codes) {
  return static_cast<std::uint8_t>(codes.size() > 2 ? 2 : codes.size());
}

// Collects the ledger rows of one account from the journal, an entry at a
// time (the entry's lines give the counterpart marker of each row).
class LedgerBuilder {
 public:
  LedgerBuilder(const StMOTOCHOHYOJIINFO& display, std::int64_t input_tax,
                std::int64_t output_tax, std::vector<StMOTOCHOINFO>* rows)
      : code_(display.code),
        by_main_(display.code % stmtlink::kAccountCodeUnit == 0),
        takes_debit_tax_(input_tax != 0 && display.code == input_tax),
        takes_credit_tax_(output_tax != 0 && display.code == output_tax),
        interim_(display.interim == 1),
        last_date_(display.lastDate),
        rows_(*rows) {}

  void Add(JournalLine line) {
    if (!entry_.empty() &&
        (line.entry_id != entry_.front().entry_id || line.date != entry_.front().date))
      Flush();
    entry_.push_back(std::move(line));
  }

  void Flush() {
    std::set<std::int64_t> debits, credits;
    for (const JournalLine& line : entry_) {
      if (line.debit_code != 0) debits.insert(line.debit_code);
      if (line.credit_code != 0) credits.insert(line.credit_code);
    }
    const auto marker =
        static_cast<std::uint8_t>(Multiplicity(debits) << 4 | Multiplicity(credits));
    for (const JournalLine& line : entry_) {
      if (line.slot < 1 || line.slot > kSlotInterim) continue;
      if (line.slot == kSlotInterim && !interim_ && line.date >= last_date_) continue;
      std::uint8_t side = 0;
      if (Names(line.debit_code) || (takes_debit_tax_ && line.debit_tax != 0)) side |= kSideDebit;
      if (Names(line.credit_code) || (takes_credit_tax_ && line.credit_tax != 0))
        side |= kSideCredit;
      if (side == 0) continue;
      StMOTOCHOINFO row;
      std::memset(&row, 0, sizeof(row));
      stmtlink::FillJournalFields(line, &row);
      row.counterpartMarker = marker;
      // Both bits make 3: the account stands on both sides.
      row.side = side;
      rows_.push_back(row);
    }
    entry_.clear();
  }

 private:
  bool Names(std::int64_t code) const {
    if (code == 0) return false;
    if (!by_main_) return code == code_;
    return code / stmtlink::kAccountCodeUnit == code_ / stmtlink::kAccountCodeUnit;
  }

  const std::int64_t code_;
  const bool by_main_;
  const bool takes_debit_tax_;
  const bool takes_credit_tax_;
  const bool interim_;
  const std::int64_t last_date_;
  std::vector<StMOTOCHOINFO>& rows_;
  std::vector<JournalLine> entry_;
};

} // namespace

long ClRuleMotocho::MoveReady(const StFINDINFO*, const StSORTINFO*,
                              const StMOTOCHOHYOJIINFO* display) {
  // The journal shows the account and the range.
  if (long code = BeginHostCall("ClRuleMotocho::MoveReady", display ? display->code : 0,
                                display ? display->firstDate : 0,
                                display ? display->lastDate : 0, display ? display->interim : 0))
    return code;
  ready_ = false;
  rows_.clear();
  position_ = 0;
  reads_ = 0;
  if (!display) return stmtlink::kHostErrorArgument;
  std::string error;
  auto books = stmtlink::CurrentBooks(&error);
  if (!books) return stmtlink::kHostErrorBooks;
  std::int64_t data_no = 0;
  if (long code = stmtlink::FindDataNo(*books, cur_data_id_, &data_no, &error)) return code;
  std::int64_t input_tax = 0, output_tax = 0;
  if (!TaxAccount(*books, data_no, stmtlink::kInputTaxNature, &input_tax, &error) ||
      !TaxAccount(*books, data_no, stmtlink::kOutputTaxNature, &output_tax, &error))
    return stmtlink::kHostErrorBooks;

  BooksStatement q;
  const std::string sql = std::string("SELECT ") + stmtlink::kJournalLineColumns +
                          " FROM journal_line WHERE data_no = ?1 AND date BETWEEN ?2 AND ?3"
                          " ORDER BY date, entry_id, line_no";
  if (!books->Prepare(sql, &q, &error) || !q.BindInt64(1, data_no, &error) ||
      !q.BindInt64(2, display->firstDate, &error) || !q.BindInt64(3, display->lastDate, &error))
    return stmtlink::kHostErrorBooks;
  std::vector<StMOTOCHOINFO> rows;
  LedgerBuilder builder(*display, input_tax, output_tax, &rows);
  for (;;) {
    BooksStatement::Step step = q.Next(&error);
    if (step == BooksStatement::Step::kDone) break;
    if (step == BooksStatement::Step::kError) return stmtlink::kHostErrorBooks;
    builder.Add(stmtlink::ReadJournalLine(q));
  }
  builder.Flush();
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
  std::memcpy(row, &rows_[position], sizeof(*row));
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
  if (long code = stmtlink::HostFailureFor("ClRuleMotocho::MoveNext@" + std::to_string(reads_)))
    return code;
  return ReadAt(position_, row);
}

long ClRuleMotocho::MoveFinish() {
  if (long code = BeginHostCall("ClRuleMotocho::MoveFinish")) return code;
  ready_ = false;
  rows_.clear();
  rows_.shrink_to_fit();
  position_ = 0;
  return 0;
}

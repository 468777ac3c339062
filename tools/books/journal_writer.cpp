#include "tools/books/journal_writer.h"

#include <algorithm>
#include <tuple>

#include "tools/books/book_values.h"

namespace stmtlink {

void JournalWriter::Entry(const std::string& file, std::int64_t entry_id,
                          std::vector<JournalRow>& lines) {
  for (const JournalRow& row : lines)
    if (row.unreadable) return;
  __int128 debits = 0, credits = 0;
  bool opening = false, ordinary = false, dated = true;
  for (JournalRow& row : lines) {
    debits += static_cast<__int128>(row.debit_amount) + row.debit_tax;
    credits += static_cast<__int128>(row.credit_amount) + row.credit_tax;
    if (row.slot == kOpeningSlot) {
      opening = true;
      continue;
    }
    ordinary = true;
    if (row.date == 0) continue; // a malformed date, already a problem
    if (!period_.Contains(row.date)) {
      problems_->Add(file, row.source_line, 0,
                     "date " + FormatBookDate(row.date) + " is outside the period " +
                         FormatBookDate(period_.start) + " to " + FormatBookDate(period_.end));
      dated = false;
    } else if (row.slot < 0) {
      row.slot = period_.MonthPosition(row.date);
    }
  }
  if (debits >= kAmountLimit || debits <= -kAmountLimit || credits >= kAmountLimit ||
      credits <= -kAmountLimit) {
    problems_->Add(file, lines.front().source_line, 0,
                   "entry " + std::to_string(lines.front().entry_no) +
                       " adds up beyond the host's range (less than 100,000,000,000,000 yen)");
    return;
  }
  if (debits != credits) {
    problems_->Add(file, lines.front().source_line, 0,
                   "entry " + std::to_string(lines.front().entry_no) +
                       " does not balance: debits " + ForPeople(debits) + " yen, credits " +
                       ForPeople(credits) + " yen");
    return;
  }
  if (!dated) return;
  if (opening && ordinary) {
    problems_->Add(file, lines.front().source_line, 0,
                   "entry " + std::to_string(lines.front().entry_no) +
                       " mixes opening balances with lines of the year");
    return;
  }
  if (opening) {
    for (const JournalRow& row : lines) AddOpening(file, row);
    return;
  }
  if (entry_id == 0) entry_id = next_id_;
  if (!used_ids_.insert(entry_id).second) {
    problems_->Add(file, lines.front().source_line, 0,
                   "entry id " + std::to_string(entry_id) + " is given to an earlier entry");
    return;
  }
  next_id_ = std::max(next_id_, entry_id + 1);
  ++entries_;
  if (!problems_->empty()) return;
  std::int64_t line_no = 0;
  std::string* e = &write_error_;
  for (const JournalRow& r : lines) {
    if (!insert_.BindInt64(1, data_no_, e) || !insert_.BindInt64(2, entry_id, e) ||
        !insert_.BindInt64(3, r.entry_no, e) || !insert_.BindInt64(4, ++line_no, e) ||
        !insert_.BindInt64(5, r.date, e) || !insert_.BindInt64(6, r.slot, e) ||
        !insert_.BindInt64(7, r.debit_code, e) || !insert_.BindInt64(8, r.debit_amount, e) ||
        !insert_.BindInt64(9, r.debit_tax, e) || !insert_.BindInt64(10, r.credit_code, e) ||
        !insert_.BindInt64(11, r.credit_amount, e) || !insert_.BindInt64(12, r.credit_tax, e) ||
        !insert_.BindText(13, r.description, e) || insert_.Next(e) != BooksStatement::Step::kDone ||
        !insert_.Reset(e)) {
      problems_->Add("cannot write the journal: " + write_error_);
      return;
    }
    ++lines_;
  }
}

std::string JournalWriter::ForPeople(__int128 units) {
  if (units > INT64_MAX || units < -INT64_MAX) return "(beyond range)";
  return FormatYenForPeople(static_cast<std::int64_t>(units));
}

void JournalWriter::AddOpening(const std::string& file, const JournalRow& row) {
  const std::tuple<std::int64_t, std::int64_t, bool> sides[] = {
      {row.debit_code, row.debit_amount + row.debit_tax, true},
      {row.credit_code, row.credit_amount + row.credit_tax, false}};
  for (const auto& [code, amount, is_debit] : sides) {
    if (code == 0) continue;
    OpeningBalance& b = (*opening_)[code];
    if (b.line == 0) b.line = row.source_line;
    std::int64_t& side = is_debit ? b.debit : b.credit;
    if (__builtin_add_overflow(side, amount, &side) || side >= kAmountLimit ||
        side <= -kAmountLimit)
      problems_->Add(file, row.source_line, 0, "the opening balance goes beyond the host's range");
  }
}

} // namespace stmtlink

#include "tools/books/journal_writer.h"

#include "tools/books/books_language.h"

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
                     Say("date {0} is outside the period {1} to {2}",
                         u8"日付 {0} が会計期間 {1} から {2} の外です",
                         {FormatBookDate(row.date), FormatBookDate(period_.start),
                          FormatBookDate(period_.end)}));
      dated = false;
    } else if (row.slot < 0) {
      row.slot = period_.MonthPosition(row.date);
    }
  }
  if (debits >= kAmountLimit || debits <= -kAmountLimit || credits >= kAmountLimit ||
      credits <= -kAmountLimit) {
    problems_->Add(file, lines.front().source_line, 0,
                   Say("entry {0} adds up beyond the host's range (less than "
                       "100,000,000,000,000 yen)",
                       u8"伝票 {0} の合計が帳簿の範囲 (100,000,000,000,000 円未満) を超えます",
                       {std::to_string(lines.front().entry_no)}));
    return;
  }
  if (debits != credits) {
    problems_->Add(file, lines.front().source_line, 0,
                   Say("entry {0} does not balance: debits {1} yen, credits {2} yen",
                       u8"伝票 {0} の貸借が一致しません: 借方 {1} 円、貸方 {2} 円",
                       {std::to_string(lines.front().entry_no), ForPeople(debits),
                        ForPeople(credits)}));
    return;
  }
  if (!dated) return;
  if (opening && ordinary) {
    problems_->Add(file, lines.front().source_line, 0,
                   Say("entry {0} mixes opening balances with lines of the year",
                       u8"伝票 {0} に期首残高と期中の行が混ざっています",
                       {std::to_string(lines.front().entry_no)}));
    return;
  }
  if (opening) {
    for (const JournalRow& row : lines) AddOpening(file, row);
    return;
  }
  if (entry_id == 0) entry_id = next_id_;
  if (!TakeId(entry_id)) {
    problems_->Add(file, lines.front().source_line, 0,
                   Say("entry id {0} is given to an earlier entry",
                       u8"仕訳 ID {0} は前の仕訳にもう使われています", {std::to_string(entry_id)}));
    return;
  }
  next_id_ = std::max(next_id_, entry_id + 1);
  ++entries_;
  if (!problems_->empty()) return;
  std::int64_t line_no = 0;
  for (const JournalRow& r : lines) {
    if (held_count_ == held_.size()) held_.emplace_back();
    HeldLine& h = held_[held_count_++];
    h.entry_id = entry_id;
    h.entry_no = r.entry_no;
    h.line_no = ++line_no;
    h.date = r.date;
    h.slot = r.slot;
    h.debit_code = r.debit_code;
    h.debit_amount = r.debit_amount;
    h.debit_tax = r.debit_tax;
    h.credit_code = r.credit_code;
    h.credit_amount = r.credit_amount;
    h.credit_tax = r.credit_tax;
    h.description = r.description;
  }
  if (held_count_ >= kBatch) WriteHeld(false);
}

bool JournalWriter::Prepare(std::string* error) {
  const std::string head =
      "INSERT INTO journal_line (data_no, entry_id, entry_no, line_no, date, slot, debit_code, "
      "debit_amount, debit_tax, credit_code, credit_amount, credit_tax, description) VALUES ";
  const std::string row = "(?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?)";
  std::string batch = head;
  for (std::size_t i = 0; i < kBatch; ++i) batch += (i ? ", " : "") + row;
  if (insert_.Prepare(db_, head + row) && insert_batch_.Prepare(db_, batch)) return true;
  *error = write_error_;
  return false;
}

bool JournalWriter::Finish() { return WriteHeld(true); }

bool JournalWriter::TakeId(std::int64_t entry_id) {
  if (rising_ids_.empty() || entry_id > rising_ids_.back()) {
    rising_ids_.push_back(entry_id);
    return true;
  }
  if (std::binary_search(rising_ids_.begin(), rising_ids_.end(), entry_id)) return false;
  return other_ids_.insert(entry_id).second;
}

bool JournalWriter::WriteHeld(bool all) {
  if (!problems_->empty()) { // nothing will be kept
    held_count_ = 0;
    return true;
  }
  bool ok = true;
  // Binds the line to the statement's parameters from first + 1 on.
  const auto bind = [&](SqlStatement& s, int first, const HeldLine& h) {
    return s.BindFrom(first, data_no_, h.entry_id, h.entry_no, h.line_no, h.date, h.slot,
                      h.debit_code, h.debit_amount, h.debit_tax, h.credit_code, h.credit_amount,
                      h.credit_tax, TextInPlace{h.description});
  };
  std::size_t done = 0;
  for (; ok && held_count_ - done >= kBatch; done += kBatch) {
    for (std::size_t i = 0; ok && i < kBatch; ++i)
      ok = bind(insert_batch_, static_cast<int>(i * 13), held_[done + i]);
    ok = ok && insert_batch_.Run();
    if (ok) lines_ += kBatch;
  }
  for (; ok && all && done < held_count_; ++done) {
    ok = bind(insert_, 0, held_[done]) && insert_.Run();
    if (ok) ++lines_;
  }
  if (!ok) {
    problems_->Add(Say("cannot write the journal: {0}", u8"仕訳を書けません: {0}", {write_error_}));
    held_count_ = 0;
    return false;
  }
  // The lines left wait at the front for the next batch.
  for (std::size_t i = done; i < held_count_; ++i) std::swap(held_[i - done], held_[i]);
  held_count_ -= done;
  return true;
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
      problems_->Add(file, row.source_line, 0,
                     Say("the opening balance goes beyond the host's range",
                         u8"期首残高が帳簿の範囲を超えます"));
  }
}

} // namespace stmtlink

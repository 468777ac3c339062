#include "tools/books/sample_journal_writer.h"

namespace stmtlink {

SampleJournalWriter::SampleJournalWriter(SampleContext& context, std::string* error)
    : c_(context), error_(error) {
  for (const ChartAccount& a : c_.chart.accounts) {
    names_[a.code] = a.formal_name;
    natures_[a.code] = a.nature;
  }
}

bool SampleJournalWriter::Prepare() {
  BooksStatement opening;
  if (!c_.db.Prepare("SELECT code, debit - credit FROM opening_balance WHERE data_no = 1", &opening,
                     error_))
    return false;
  for (;;) {
    const BooksStatement::Step step = opening.Next(error_);
    if (step == BooksStatement::Step::kError) return false;
    if (step == BooksStatement::Step::kDone) break;
    balances_[opening.Int64(0)] += opening.Int64(1);
  }
  return c_.db.Prepare(
      "INSERT INTO journal_line (data_no, entry_id, entry_no, line_no, date, slot, debit_code, "
      "debit_amount, debit_tax, credit_code, credit_amount, credit_tax, description) "
      "VALUES (1, ?1, ?2, ?3, ?4, ?5, ?6, ?7, ?8, ?9, ?10, ?11, ?12)",
      &insert_, error_);
}

bool SampleJournalWriter::Entry(int slot, int date, const std::string& description,
                                std::initializer_list<SampleLine> lines) {
  ++entry_id_;
  std::int64_t line_no = 0;
  std::string* e = error_;
  for (const SampleLine& l : lines) {
    if (!insert_.BindInt64(1, entry_id_, e) || !insert_.BindInt64(2, entry_id_, e) ||
        !insert_.BindInt64(3, ++line_no, e) || !insert_.BindInt64(4, date, e) ||
        !insert_.BindInt64(5, slot, e) || !insert_.BindInt64(6, l.debit_code, e) ||
        !insert_.BindInt64(7, l.debit_amount, e) || !insert_.BindInt64(8, l.debit_tax, e) ||
        !insert_.BindInt64(9, l.credit_code, e) || !insert_.BindInt64(10, l.credit_amount, e) ||
        !insert_.BindInt64(11, l.credit_tax, e) || !insert_.BindText(12, description, e) ||
        insert_.Next(e) != BooksStatement::Step::kDone || !insert_.Reset(e))
      return false;
    ++lines_;
    if (slot != kSampleInterimSlot) Count(l);
  }
  return true;
}

// The tax goes to the tax accounts, or stays in the account when the books
// include it: the amount set the statements will be made from.
void SampleJournalWriter::Count(const SampleLine& l) {
  using namespace chart;
  const bool gross = c_.options.tax_included;
  balances_[l.debit_code] += l.debit_amount + (gross ? l.debit_tax : 0);
  balances_[l.credit_code] -= l.credit_amount + (gross ? l.credit_tax : 0);
  if (gross) return;
  balances_[Stored(kInputTax)] += l.debit_tax;
  balances_[Stored(kOutputTax)] -= l.credit_tax;
}

std::int64_t SampleJournalWriter::Balance(std::int64_t code) const {
  const auto it = balances_.find(code);
  return it == balances_.end() ? 0 : it->second;
}

std::int64_t SampleJournalWriter::Profit() const {
  std::int64_t profit = 0;
  for (const auto& [code, balance] : balances_) {
    const auto nature = natures_.find(code);
    // Income statement (0x40...) and manufacturing schedule (0x20...).
    if (nature != natures_.end() && (nature->second & 0x80000000u) == 0 &&
        (nature->second & 0x60000000u) != 0)
      profit -= balance;
  }
  return profit;
}

} // namespace stmtlink

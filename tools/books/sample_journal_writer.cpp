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
  SqlStatement opening(error_);
  return opening.Prepare(c_.db,
                         "SELECT code, debit - credit FROM opening_balance WHERE data_no = 1") &&
         opening.ForEachRow([&](const BooksStatement& row) {
           balances_[row.Int64(0)] += row.Int64(1);
         }) &&
         insert_.Prepare(c_.db,
                         "INSERT INTO journal_line (data_no, entry_id, entry_no, line_no, date, "
                         "slot, debit_code, debit_amount, debit_tax, credit_code, credit_amount, "
                         "credit_tax, description) "
                         "VALUES (1, ?1, ?2, ?3, ?4, ?5, ?6, ?7, ?8, ?9, ?10, ?11, ?12)");
}

bool SampleJournalWriter::Entry(int slot, int date, const std::string& description,
                                std::initializer_list<SampleLine> lines) {
  ++entry_id_;
  std::int64_t line_no = 0;
  for (const SampleLine& l : lines) {
    if (!insert_.Run(entry_id_, entry_id_, ++line_no, date, slot, l.debit_code, l.debit_amount,
                     l.debit_tax, l.credit_code, l.credit_amount, l.credit_tax, description))
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

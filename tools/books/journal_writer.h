// The journal's entries as the import writes them: each whole entry is
// checked (its dates inside the period, its debits equal to its credits,
// its sums inside the host's range) and, while no problem has been seen,
// written to journal_line with the next entry id; after the first problem
// nothing will be kept, so writing stops and only checking goes on. Lines
// marked opening add to the opening balances instead.
#pragma once

#include <cstdint>
#include <set>
#include <string>
#include <vector>

#include "host/substitute/books_db.h"
#include "tools/books/sql_statement.h"
#include "tools/books/journal_entries.h"
#include "tools/books/side_files_csv.h"

namespace stmtlink {

class JournalWriter : public EntrySink {
 public:
  JournalWriter(BooksDb& db, std::int64_t data_no, FiscalPeriod period, OpeningBalances* opening,
                ImportProblems* problems)
      : db_(db), data_no_(data_no), period_(period), opening_(opening), problems_(problems) {}

  bool Prepare(std::string* error);
  // Writes the lines still held back; false (with a problem added) when
  // they could not be written.
  bool Finish();

  const FiscalPeriod& period() const override { return period_; }
  void SetPeriodFrom(std::int64_t first_date) override {
    period_ = FiscalPeriod::YearFrom(first_date);
    period_from_journal_ = true;
  }
  bool period_from_journal() const { return period_from_journal_; }
  std::uint64_t lines() const { return lines_; }
  std::uint64_t entries() const { return entries_; }

  void Entry(const std::string& file, std::int64_t entry_id,
             std::vector<JournalRow>& lines) override;

 private:
  // For messages: the figure with thousands separators.
  static std::string ForPeople(__int128 units);
  // A journal line marked opening adds to the account's opening balance.
  void AddOpening(const std::string& file, const JournalRow& row);
  // False when an earlier entry has the id; else the id is taken.
  bool TakeId(std::int64_t entry_id);
  // The held-back lines into journal_line, kBatch to a statement, and with
  // all the last ones one by one.
  bool WriteHeld(bool all);

  // One statement step per line costs more than the line's own insertion.
  static constexpr std::size_t kBatch = 64;
  struct HeldLine {
    std::int64_t entry_id, entry_no, line_no, date, slot, debit_code, debit_amount, debit_tax,
        credit_code, credit_amount, credit_tax;
    std::string description;
  };

  BooksDb& db_;
  std::int64_t data_no_;
  FiscalPeriod period_;
  bool period_from_journal_ = false;
  OpeningBalances* opening_;
  ImportProblems* problems_;
  std::string write_error_; // the statements' failure
  SqlStatement insert_{&write_error_}, insert_batch_{&write_error_};
  std::vector<HeldLine> held_; // the first held_count_ wait; the others' buffers are reused
  std::size_t held_count_ = 0;
  // Entry ids taken: those above every earlier one, in order, and the
  // others (a file that numbers its entries out of order) in a set.
  std::vector<std::int64_t> rising_ids_;
  std::set<std::int64_t> other_ids_;
  std::int64_t next_id_ = 1;
  std::uint64_t lines_ = 0, entries_ = 0;
};

} // namespace stmtlink

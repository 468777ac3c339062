// The rows of the sample books, table by table. Each writer inserts its rows
// through prepared statements inside the caller's transaction.
#pragma once

#include <cstdint>
#include <random>
#include <string>
#include <unordered_map>

#include "host/substitute/books_db.h"
#include "tools/books/sample_books.h"
#include "tools/books/sample_chart.h"

namespace stmtlink {

// What the journal leaves for the notes: the year-end balances as the
// statements show them (debit minus credit by stored code, sub-accounts on
// their own, 1/10,000 yen; tax on the tax accounts unless the books include
// it), the year's net income (negative: a loss) and the depreciation taken
// off the tangible fixed assets.
struct SampleYearEnd {
  std::unordered_map<std::int64_t, std::int64_t> balances;
  std::int64_t net_income = 0;
  std::int64_t depreciation = 0;
};

struct SampleContext {
  const SampleOptions& options;
  BooksDb& db;
  std::mt19937 random; // seeded from options.seed; every writer draws from it
  SampleChart chart;   // built from the options before the writers run
  SampleYearEnd year_end = {}; // filled by the journal writer
};

// The sample company's data set (data_no 1).
bool WriteSampleDataSets(SampleContext& context, std::string* error);
// The era table (the real eras).
bool WriteSampleEras(SampleContext& context, std::string* error);
// The chart of accounts and the total rows' member masks.
bool WriteSampleAccounts(SampleContext& context, std::string* error);
// Opening balances (slot 0) that balance: assets equal liabilities and net
// assets, retained earnings taking the difference.
bool WriteSampleOpeningBalances(SampleContext& context, std::string* error);
// A year of balanced entries with consumption tax, the year-end adjustments
// (slot 13) and, with an interim closing, the interim ones (slot 14). The
// adjustments settle the consumption tax (books without tax included) and
// accrue income taxes on the profit; deposits never go below zero (a bank
// loan tops them up), and collections and payments settle what is owed.
// (sample_journal.cpp)
bool WriteSampleJournal(SampleContext& context, std::string* error);
// The notes settings: switches, note groups (one switched off) and note
// records with entities, shown and hidden notes; the figures they quote are
// the year end's. (sample_notes.cpp)
bool WriteSampleNotes(SampleContext& context, std::string* error);

} // namespace stmtlink

// The rows of the sample books, table by table. Each writer inserts its rows
// through prepared statements inside the caller's transaction.
#pragma once

#include <random>
#include <string>

#include "host/books_db.h"
#include "tools/books/sample_books.h"
#include "tools/books/sample_chart.h"

namespace stmtlink {

struct SampleContext {
  const SampleOptions& options;
  BooksDb& db;
  std::mt19937 random; // seeded from options.seed; every writer draws from it
  SampleChart chart;   // built from the options before the writers run
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
// (slot 13) and, with an interim closing, the interim ones (slot 14).
// (sample_journal.cpp)
bool WriteSampleJournal(SampleContext& context, std::string* error);
// The notes settings: switches, note groups (one switched off) and note
// records with entities, shown and hidden notes. (sample_notes.cpp)
bool WriteSampleNotes(SampleContext& context, std::string* error);

} // namespace stmtlink

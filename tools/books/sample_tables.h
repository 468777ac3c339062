// The rows of the sample books, table by table. Each writer inserts its rows
// through prepared statements inside the caller's transaction.
#pragma once

#include <random>
#include <string>

#include "host/books_db.h"
#include "tools/books/sample_books.h"

namespace stmtlink {

struct SampleContext {
  const SampleOptions& options;
  BooksDb& db;
  std::mt19937 random; // seeded from options.seed; every writer draws from it
};

// The sample company's data set (data_no 1).
bool WriteSampleDataSets(SampleContext& context, std::string* error);
// The era table (the real eras).
bool WriteSampleEras(SampleContext& context, std::string* error);

} // namespace stmtlink

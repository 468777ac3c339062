// `stmtlink-books import`: one data set from CSV files into a host home.
// Everything is read and checked before the home changes: the books are
// written under a temporary name beside books.db in one SQLite transaction
// and renamed into place only when no problem was found, so a refused
// import leaves the home as it was. A home that already has books is
// refused unless replace is set; the old books then stay beside the new
// ones as books.db.bak. One import or sample into a home at a time: a
// second one waits for the first (home_lock.h).
#pragma once

#include <cstdint>
#include <functional>
#include <ostream>
#include <string>

#include "tools/books/csv_file.h"
#include "tools/books/home_lock.h"
#include "tools/books/tax_category.h"

namespace stmtlink {

struct ImportOptions {
  std::string home;
  std::string chart;   // "" : the standard chart shipped with the tool
  std::string journal; // our journal CSV, or hledger's print CSV (told by its header)
  std::string opening; // optional opening balances (code, debit, credit)
  std::string company; // optional data-set file (field, value)
  std::string notes;   // optional financial-statement settings (kind, text)
  std::string map;     // optional account map (account, code): own or hledger names
  TextEncoding encoding = TextEncoding::kAuto;
  // Data-set values given as options; they win over the company file.
  std::string company_name;
  std::int64_t period_start = 0, period_end = 0;           // 0: from the file or the journal
  int tax_included = -1, manufacturing = -1, interim = -1; // -1: from the file, else 0
  bool replace = false;
  // Journals with tax categories: amounts written without the tax (外税)
  // unless a line says otherwise, the tax's rounding to whole yen, and
  // whether unknown sub-account names (補助科目) become sub-accounts.
  bool amounts_exclude_tax = false;
  TaxRounding tax_rounding = TaxRounding::kDown;
  bool create_sub_accounts = false;
  bool strict = false; // refuse the journal's unknown columns instead of skipping them
  // How long to wait for another import or sample into the same home, and
  // what to tell the user before waiting (may be empty).
  int lock_timeout_ms = HomeLock::kDefaultTimeoutMs;
  HomeLock::WaitNotice on_wait;
};

enum class ImportStatus {
  kImported,
  kRefused, // bad input, a home with books, or a home that another import
            // kept too long; nothing was changed
  kFailed,  // a file could not be written; nothing was changed
};

// *messages gets the problems (one a line, FILE:LINE:COLUMN: ...; those of
// every file together) or the failure; *summary what was imported, with
// notes on the way (tax figures of the file that differ from the computed
// ones, sub-accounts made, the lines whose descriptions had line breaks
// made spaces).
ImportStatus ImportBooks(const ImportOptions& options, std::string* summary, std::string* messages);

// The shipped standard chart: stmtlink-standard-chart.csv beside the
// running program.
std::string StandardChartPath();

} // namespace stmtlink

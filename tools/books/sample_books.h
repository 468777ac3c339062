// The sample host home: books.db with a realistic company, host.ini and the
// drive C folder. The books tool, the tests and the benchmarks all build
// their homes with it, so one seed always gives the same books.
#pragma once

#include <cstdint>
#include <string>

#include "tools/books/home_lock.h"

namespace stmtlink {

struct SampleOptions {
  std::string home;        // Linux folder; made (with its parents) when missing
  std::uint32_t seed = 1;  // drives every generated figure
  bool force = false;      // replace books.db when the home already holds one
  // Scale: ordinary entries over the year (year-end and interim adjustments
  // come on top), or, when lines is nonzero, entries until the journal holds
  // at least that many lines; accounts: rows of the account master to reach
  // with extra expense accounts and customer and supplier sub-accounts
  // (0 or fewer than the chart's own: the chart alone; at most about 20,000).
  std::uint32_t entries = 1200;
  std::uint64_t lines = 0;
  std::uint32_t accounts = 0;
  bool manufacturing = false; // the schedule of cost of goods manufactured
  bool interim = false;       // an interim closing with adjustments in slot 14
  bool unclassified = false;  // accounts with the unclassified noncurrent-asset codes
  bool tax_included = false;  // the data set's amounts include consumption tax
  // About this per cent of the journal's lines (0 to 50) are later lines of
  // entries with two debits and two credits whose every line balances: the
  // ledger reads their entries to name the counter account.
  std::uint32_t balanced_compound_percent = 0;
  // How long to wait for another import or sample into the same home, and
  // what to tell the user before waiting (may be empty).
  int lock_timeout_ms = HomeLock::kDefaultTimeoutMs;
  HomeLock::WaitNotice on_wait;
};

enum class SampleStatus {
  kWritten,
  kRefused, // the home holds books.db and force is off, or another import or
            // sample kept the home too long; nothing was touched
  kFailed,  // a file or folder could not be written; books.db is unchanged
};

// Writes the home. books.db and host.ini are written beside their final
// names and renamed into place, so a failure never leaves half a file;
// books that are replaced stay as books.db.bak. One import or sample into
// a home at a time: a second one waits for the first (home_lock.h).
// *error says what went wrong (kRefused and kFailed).
SampleStatus WriteSampleHome(const SampleOptions& options, std::string* error);

} // namespace stmtlink

// The substitute's state for the current host home: the books opened from
// it and what has been read from them for the host calls that follow.
//
// A run reads the journal once (its check of the lines, journal_pass.h);
// the account sums, and every ledger and journal cursor after them, answer
// from that one reading, and the ledger cursors from one index of it per
// range. The small tables that host calls ask for again and again are read
// once too. All of it is kept here, beside the books it was read from: it
// stays while the books keep their data version (books_cache.h) and goes
// with the books, when ResetHostSubstitute closes them or a new home is set.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include <vector>

#include "host/set_gengo.h"
#include "host/substitute/account_master.h"
#include "host/substitute/books_cache.h"
#include "host/substitute/books_db.h"
#include "host/substitute/ledger_index.h"

namespace stmtlink {

class JournalReading;
class JournalStore;

class SubstituteHome {
 public:
  // The books of the home (<home>/books.db), opened read-only on first use.
  // Null with *error set when the file is missing or cannot be opened.
  // Returned by reference to the kept handle (null on failure): a caller
  // that keeps it beyond the current host call copies it.
  const std::shared_ptr<BooksDb>& Books(std::string* error);
  // The data_no of the data set whose data ID is data_id (CP932, as the
  // program passes it): 0, or the host's code for no such data set
  // (kHostErrorNoDataSet) or books that cannot be opened or read
  // (kHostErrorBooks).
  long FindDataNo(const std::string& data_id, std::int64_t* data_no, std::string* error);

  // The reading of the journal of data set data_no: the kept one while the
  // books are unchanged, unless with_lines asks for the lines that it was
  // read without; otherwise read now, the old one freed first. Null with
  // *error set when the books cannot be read (a reading of books that break
  // a rule is still a reading: see its fault()).
  std::shared_ptr<const JournalReading> Journal(std::int64_t data_no, bool with_lines,
                                                std::string* error);
  // The journal's lines of data set data_no, kept by that reading.
  std::shared_ptr<const JournalStore> JournalLines(std::int64_t data_no, std::string* error);
  // The ledger of the range, indexed from the journal's lines once and kept
  // while the books and the range stay the same.
  std::shared_ptr<const LedgerIndex> Ledger(const LedgerRange& range, std::string* error);

  // The small tables, each read by the host object that hands it out (with
  // these books) and kept for the next look-up: every ledger row looks
  // accounts up, every ledger date its era, every account's ledger asks
  // for the tax accounts.
  struct Tables {
    BooksCache<AccountMaster, std::int64_t> account_master; // by data_no
    BooksCache<std::vector<StGENGOINFO>, int> eras;         // key 0
    BooksCache<TaxAccountCodes, std::int64_t> tax_accounts; // by data_no
  };
  Tables& tables() { return tables_; }

 private:
  // One reading is kept: the program reads one data set in a run.
  struct KeptJournal {
    BooksStamp stamp;
    std::int64_t data_no = 0;
    std::shared_ptr<const JournalReading> reading;
  };

  std::shared_ptr<BooksDb> books_;
  // FindDataNo's statement, prepared once: it is asked for every ledger
  // cursor and journal scan.
  BooksStatement data_no_query_;
  KeptJournal journal_;
  BooksCache<LedgerIndex, LedgerRange> ledgers_;
  Tables tables_;
};

// The state of the current host home; a new home (SetHostHome) starts from
// a fresh one.
SubstituteHome& CurrentHome();
// Closes the books of the current home and forgets what was read from them.
void CloseCurrentHome();

// CurrentHome().Books(error): asked by most host calls.
inline const std::shared_ptr<BooksDb>& CurrentBooks(std::string* error) { return CurrentHome().Books(error); }

} // namespace stmtlink

// The one reading of the journal in a run. A single scan of journal_line
// checks every line against the books' rules (books_consistency.h), sums
// the lines of one data set per main account and slot for the account sums
// (account_sums.h) and, when the ledger is wanted, keeps them for the
// ledger and journal cursors (journal_store.h). The journal is by far the
// largest table: reading it once instead of three times is most of a run
// without the ledger.
//
// A large journal is read in two halves at once, the second on a
// connection of its own; the caller hears from its own half through
// HostBusy (substitute_control.h). The halves' results are joined as if one
// scan had read them in rowid order: the first fault is the one of the
// lowest row.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "host/substitute/books_consistency.h"

namespace stmtlink {

class BooksDb;
class JournalStore;

constexpr int kJournalSlots = 15; // 0 unused here (opening balances), 1-14 the lines' slots

// One main account's journal lines, summed per slot. Sums are kept in 128
// bits: whether a total fits 64 bits is the reader's question.
struct JournalSideSums {
  __int128 amount[kJournalSlots] = {};
  __int128 tax[kJournalSlots] = {};
};
struct JournalSlotSums {
  JournalSideSums debit, credit;
};

class JournalReading {
 public:
  // Reads the lines of data set data_no (and keeps them when with_lines
  // asks). A reading of books that break a rule is still a reading (the
  // host reads what it has); the rule is in fault(). Null with *error set
  // only when the books cannot be read. Keeping a reading for the host
  // calls that follow is its owner's (substitute_home.h).
  static std::shared_ptr<const JournalReading> Read(BooksDb& db, std::int64_t data_no,
                                                    bool with_lines, std::string* error);

  // The first rule the books break, as the books check words it
  // ("cannot be used: table journal_line, row 17, column date: ..."); empty
  // when they keep every one.
  const std::string& fault() const { return fault_; }
  // The data set's main accounts with the sums of their lines in slots
  // 1-14 (zero for an account without lines).
  const std::vector<std::pair<std::int64_t, JournalSlotSums>>& accounts() const { return accounts_; }
  // Per slot, the tax of every line with an account on the debit (credit)
  // side: what the input (output) tax account takes in the first set.
  const __int128* debit_tax_posted() const { return debit_tax_posted_; }
  const __int128* credit_tax_posted() const { return credit_tax_posted_; }
  // The data set's lines; null when read without them.
  const JournalStore* store() const { return store_.get(); }

 private:
  friend class JournalScan;
  std::string fault_;
  std::vector<std::pair<std::int64_t, JournalSlotSums>> accounts_;
  __int128 debit_tax_posted_[kJournalSlots] = {};
  __int128 credit_tax_posted_[kJournalSlots] = {};
  std::shared_ptr<const JournalStore> store_;
};

// The check of every journal line of every data set against the rules,
// keeping nothing: false with *cause at the first fault, or with
// "cannot be read: <SQLite message>".
bool CheckJournalLines(BooksDb& db, const BooksRules& rules, std::string* cause);

} // namespace stmtlink

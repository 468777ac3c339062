#include "host/substitute/substitute_home.h"

#include <utility>

#include "host/host_errors.h"
#include "host/substitute/journal_pass.h"
#include "host/substitute/journal_store.h"
#include "platform/host_home.h"
#include "platform/text_codec.h"

namespace stmtlink {
namespace {

struct HomeSlot {
  std::uint64_t home = 0; // HostHomeGeneration() of the home the state belongs to
  SubstituteHome state;
};

HomeSlot& Slot() {
  static HomeSlot slot;
  return slot;
}

} // namespace

SubstituteHome& CurrentHome() {
  HomeSlot& slot = Slot();
  // Asked by most host calls: comparing the home is cheaper than the path.
  if (slot.home != HostHomeGeneration()) {
    slot.state = SubstituteHome();
    slot.home = HostHomeGeneration();
  }
  return slot.state;
}

void CloseCurrentHome() { Slot().state = SubstituteHome(); }

const std::shared_ptr<BooksDb>& SubstituteHome::Books(std::string* error) {
  if (books_) return books_;
  std::shared_ptr<BooksDb> db;
  if (BooksDb::Open(HostHomeFile("books.db"), BooksDb::Mode::kReadOnly, &db, error)) books_ = std::move(db);
  return books_; // null on failure
}

long SubstituteHome::FindDataNo(const std::string& data_id, std::int64_t* data_no, std::string* error) {
  if (!Books(error)) return kHostErrorBooks;
  // The statement always runs, so that the books' data version (which the
  // caches check) is current at every reading.
  BooksStatement& q = data_no_query_;
  if (!q.valid() && !books_->Prepare("SELECT data_no FROM data_set WHERE data_id = ?1", &q, error))
    return kHostErrorBooks;
  if (!q.Reset(error) || !q.BindText(1, ToUtf8(data_id), error)) return kHostErrorBooks;
  const BooksStatement::Step step = q.Next(error);
  if (step == BooksStatement::Step::kRow) *data_no = q.Int64(0);
  // Finished, so that no read transaction stays open between calls.
  std::string ignored;
  q.Reset(&ignored);
  switch (step) {
    case BooksStatement::Step::kRow:
      return 0;
    case BooksStatement::Step::kDone:
      return kHostErrorNoDataSet;
    case BooksStatement::Step::kError:
      break;
  }
  return kHostErrorBooks;
}

std::shared_ptr<const JournalReading> SubstituteHome::Journal(std::int64_t data_no, bool with_lines,
                                                              std::string* error) {
  if (!Books(error)) return nullptr;
  const BooksStamp stamp = books_->Stamp();
  KeptJournal& kept = journal_;
  if (kept.reading && kept.stamp == stamp && kept.data_no == data_no && (!with_lines || kept.reading->store()))
    return kept.reading;
  kept = KeptJournal(); // the old reading freed before the new one is read
  std::shared_ptr<const JournalReading> reading = JournalReading::Read(*books_, data_no, with_lines, error);
  if (!reading) return nullptr;
  kept = KeptJournal{stamp, data_no, reading};
  return reading;
}

std::shared_ptr<const JournalStore> SubstituteHome::JournalLines(std::int64_t data_no, std::string* error) {
  std::shared_ptr<const JournalReading> reading = Journal(data_no, true, error);
  if (!reading) return nullptr;
  // The store lives as long as the reading that holds it.
  return std::shared_ptr<const JournalStore>(reading, reading->store());
}

std::shared_ptr<const LedgerIndex> SubstituteHome::Ledger(const LedgerRange& range, std::string* error) {
  std::shared_ptr<const JournalStore> journal = JournalLines(range.data_no, error);
  if (!journal) return nullptr;
  return ledgers_.Get(
      *books_, range, [&](std::string*) { return LedgerIndex::Build(range, journal); }, error);
}

} // namespace stmtlink

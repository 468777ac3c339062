#include "host/substitute/journal_pass.h"

#include <sqlite3.h>

#include <algorithm>
#include <condition_variable>
#include <mutex>
#include <optional>
#include <system_error>
#include <thread>
#include <unordered_map>

#include "host/substitute/books_db.h"
#include "host/substitute/journal_lines.h"
#include "host/substitute/journal_store.h"
#include "host/substitute/substitute_control.h"

namespace stmtlink {

class JournalScan;

namespace {

// Below this many rowids one connection reads the journal alone.
constexpr std::int64_t kSplitFrom = 50000;
// The caller hears from a long reading this often (lines read).
constexpr std::uint64_t kBusyEvery = std::uint64_t{1} << 15;

// The fixed columns in the order the scan reads them, after the rowid.
constexpr const char* kColumns[] = {"data_no",       "entry_id",   "date",        "slot",
                                    "debit_amount",  "debit_tax",  "credit_amount", "credit_tax",
                                    "entry_no",      "line_no",    "debit_code",  "credit_code",
                                    "description"};
constexpr int kValues = 14; // the rowid and the columns
constexpr int kDescription = 13;
constexpr char kSelect[] =
    " data_no, entry_id, date, slot, debit_amount, debit_tax, credit_amount, credit_tax,"
    " entry_no, line_no, debit_code, credit_code, description FROM journal_line";

std::string Yen(__int128 units) {
  const bool negative = units < 0;
  unsigned __int128 magnitude = negative ? -static_cast<unsigned __int128>(units) : units;
  const auto fraction = static_cast<unsigned>(magnitude % 10000);
  magnitude /= 10000;
  std::string digits;
  do {
    if (digits.size() % 4 == 3) digits.insert(digits.begin(), ',');
    digits.insert(digits.begin(), static_cast<char>('0' + static_cast<int>(magnitude % 10)));
    magnitude /= 10;
  } while (magnitude != 0);
  std::string text = (negative ? "-" : "") + digits;
  if (fraction != 0) {
    std::string tail = std::to_string(10000 + fraction).substr(1);
    while (tail.back() == '0') tail.pop_back();
    text += "." + tail;
  }
  return text + " yen";
}

// The first value of the row (from 1, after the rowid) that is not of its
// column's type: 0 when all are. An integer column takes an integer or a
// real that reads back as the same integer; the text column anything but a
// blob; no column NULL.
int UnfitColumn(sqlite3_value* const* values) {
  for (int at = 1; at < kValues; ++at) {
    const int type = sqlite3_value_type(values[at]);
    if (type == SQLITE_INTEGER) continue;
    if (type == SQLITE_NULL) return at;
    if (at == kDescription) {
      if (type == SQLITE_BLOB) return at;
    } else {
      if (type != SQLITE_FLOAT) return at;
      const double value = sqlite3_value_double(values[at]);
      if (!(value >= -9223372036854775808.0 && value < 9223372036854775808.0) ||
          static_cast<double>(static_cast<std::int64_t>(value)) != value)
        return at;
    }
  }
  return 0;
}

std::string TypeFault(sqlite3_value* const* values, int at) {
  static const char* const kTypeNames[] = {"", "integer", "real", "text", "blob", "null"};
  const int type = sqlite3_value_type(values[at]);
  return std::string("column ") + kColumns[at - 1] + " is " +
         (type == SQLITE_NULL ? std::string("NULL") : std::string("of type ") + kTypeNames[type]) +
         " where " + (at == kDescription ? "text" : "an integer") + " belongs";
}

struct EntryKey {
  std::int64_t data_no, entry_id;
  bool operator==(const EntryKey&) const = default;
};
struct EntryHash {
  std::size_t operator()(const EntryKey& key) const {
    return std::hash<std::int64_t>()(key.data_no * 1000003 ^ key.entry_id);
  }
};
// An entry whose lines read so far leave debits and credits apart.
struct OpenEntry {
  __int128 difference = 0;
  std::int64_t first_row = 0;
};
using OpenEntries = std::unordered_map<EntryKey, OpenEntry, EntryHash>;

// What the scan is asked for.
struct ScanRequest {
  const BooksRules* rules = nullptr;
  std::optional<std::int64_t> data_no; // whose lines are summed (and kept)
  bool keep_lines = false;
  bool stop_at_fault = false; // a check that wants the fault and nothing else
};

// One part of the journal (a range of rowids, or all of it), scanned on
// one connection.
class PartScan {
 public:
  PartScan(const ScanRequest& request, bool second) : request_(request), second_(second) {
    if (request.data_no) {
      if (const BooksRules::DataSet* set = request.rules->Find(*request.data_no))
        sums_.resize(set->main_accounts.size());
    }
  }

  // `range` null: every row (a table without rowid). `busy`: this part
  // runs on the caller's thread and may call HostBusy.
  void Run(BooksDb& db, const std::pair<std::int64_t, std::int64_t>* range, bool busy) {
    const std::string sql = range ? std::string("SELECT rowid,") + kSelect + " WHERE rowid BETWEEN ?1 AND ?2"
                                  : std::string("SELECT 0,") + kSelect;
    sqlite3* handle = db.handle();
    sqlite3_stmt* stmt = nullptr;
    if (sqlite3_prepare_v2(handle, sql.c_str(), -1, &stmt, nullptr) != SQLITE_OK) {
      error_ = sqlite3_errmsg(handle);
      sqlite3_finalize(stmt);
      return;
    }
    if (range) {
      sqlite3_bind_int64(stmt, 1, range->first);
      sqlite3_bind_int64(stmt, 2, range->second);
      if (request_.keep_lines && range->second >= range->first)
        store_.Reserve(static_cast<std::size_t>(std::min<std::int64_t>(range->second - range->first + 1, 1 << 26)));
    }
    int rc;
    std::uint64_t rows = 0;
    while ((rc = sqlite3_step(stmt)) == SQLITE_ROW) {
      // Each value is taken once: the connection is this thread's alone,
      // so its unprotected values are safe to read here.
      sqlite3_value* values[kValues];
      for (int i = 0; i < kValues; ++i) values[i] = sqlite3_column_value(stmt, i);
      if (!Line(values)) break;
      if (busy && ++rows % kBusyEvery == 0) HostBusy();
    }
    if (rc != SQLITE_ROW && rc != SQLITE_DONE) error_ = sqlite3_errmsg(handle);
    sqlite3_finalize(stmt);
    CloseRun();
    if (error_.empty() && request_.keep_lines) store_.Finish(second_, &error_);
  }

  const std::string& error() const { return error_; }

 private:
  friend class ::stmtlink::JournalScan;

  static std::int64_t Int(sqlite3_value* const* values, int at) { return sqlite3_value_int64(values[at]); }
  static std::string_view Description(sqlite3_value* const* values) {
    const auto* text = reinterpret_cast<const char*>(sqlite3_value_text(values[kDescription]));
    return text ? std::string_view(text, static_cast<std::size_t>(sqlite3_value_bytes(values[kDescription])))
                : std::string_view();
  }

  void Fault(std::int64_t row, const std::string& what) {
    fault_row_ = row;
    fault_ = "cannot be used: table journal_line, row " + std::to_string(row) + ", " + what;
  }

  // False when the scan should end here.
  bool Line(sqlite3_value* const* values) {
    const std::int64_t row = Int(values, 0);
    if (fault_.empty()) {
      if (const int unfit = UnfitColumn(values)) {
        Fault(row, TypeFault(values, unfit));
        if (request_.stop_at_fault) return false;
      }
    }
    const std::int64_t data_no = Int(values, 1);
    if (set_ == nullptr || set_of_ != data_no) {
      set_ = request_.rules->Find(data_no);
      set_of_ = data_no;
    }
    // Lines of no data set are never read.
    if (set_ == nullptr) return true;
    const std::int64_t date = Int(values, 3), slot = Int(values, 4);
    const std::int64_t debit_code = Int(values, 11), credit_code = Int(values, 12);
    const auto& accounts = set_->main_accounts;
    const auto debit_account = debit_code != 0 ? accounts.find(MainAccountOf(debit_code)) : accounts.end();
    const auto credit_account = credit_code != 0 ? accounts.find(MainAccountOf(credit_code)) : accounts.end();
    if (fault_.empty()) {
      if (!request_.rules->LineKeepsRules(*set_, date, slot))
        Fault(row, request_.rules->LineFault(data_no, *set_, date, slot));
      else if (debit_code != 0 && debit_account == accounts.end())
        Fault(row, "column debit_code: " + std::to_string(debit_code) + " names no account of data set " +
                       std::to_string(data_no));
      else if (credit_code != 0 && credit_account == accounts.end())
        Fault(row, "column credit_code: " + std::to_string(credit_code) + " names no account of data set " +
                       std::to_string(data_no));
      else if (const std::string_view text = Description(values); HasControlCharacter(text))
        Fault(row, "column description: " + ControlCharacterFault(text));
      if (!fault_.empty() && request_.stop_at_fault) return false;
    }
    const std::int64_t debit_amount = Int(values, 5), debit_tax = Int(values, 6);
    const std::int64_t credit_amount = Int(values, 7), credit_tax = Int(values, 8);

    // An entry's lines usually stand together: a run of lines of one entry
    // that balances needs no memory; only the differences left by runs
    // that do not are kept, so that an entry whose lines are spread over
    // the table is still summed whole.
    const EntryKey key{data_no, Int(values, 2)};
    if (!in_run_ || !(key == run_)) {
      CloseRun();
      run_ = key;
      run_sums_ = OpenEntry{0, row};
      in_run_ = true;
    }
    run_sums_.difference += static_cast<__int128>(debit_amount) + debit_tax - credit_amount - credit_tax;

    if (!request_.data_no || data_no != *request_.data_no) return true;
    if (slot >= 1 && slot < kJournalSlots) {
      if (debit_code != 0)
        Post(&JournalSlotSums::debit, debit_account, debit_tax_posted_, slot, debit_amount, debit_tax);
      if (credit_code != 0)
        Post(&JournalSlotSums::credit, credit_account, credit_tax_posted_, slot, credit_amount, credit_tax);
    }
    if (!request_.keep_lines) return true;
    JournalLine line;
    line.entry_id = key.entry_id;
    line.entry_no = Int(values, 9);
    line.line_no = Int(values, 10);
    line.date = date;
    line.slot = slot >= 1 && slot < kJournalSlots ? static_cast<std::uint8_t>(slot) : 0;
    line.debit_code = debit_code;
    line.debit_amount = debit_amount;
    line.debit_tax = debit_tax;
    line.credit_code = credit_code;
    line.credit_amount = credit_amount;
    line.credit_tax = credit_tax;
    return store_.Add(line, Description(values), &error_);
  }

  // One side of a line of the data set: its account (when the chart has
  // it) takes the amount and the tax; the tax account of that side takes
  // the tax of every line with an account there.
  using Accounts = std::unordered_map<std::int64_t, std::uint32_t>;
  void Post(JournalSideSums JournalSlotSums::*side, Accounts::const_iterator account,
            __int128* tax_posted, std::int64_t slot, std::int64_t amount, std::int64_t tax) {
    if (account != set_->main_accounts.end()) {
      JournalSideSums& sums = sums_[account->second].*side;
      sums.amount[slot] += amount;
      sums.tax[slot] += tax;
    }
    tax_posted[slot] += tax;
  }

  void CloseRun() {
    if (!in_run_ || run_sums_.difference == 0) return;
    in_run_ = false;
    auto [it, added] = open_.try_emplace(run_, run_sums_);
    if (added) return;
    it->second.difference += run_sums_.difference;
    if (it->second.difference == 0) open_.erase(it);
  }

  const ScanRequest& request_;
  const bool second_;
  std::string error_; // the SQLite message when the part could not be read
  std::int64_t fault_row_ = 0;
  std::string fault_;  // the part's first fault of a line
  const BooksRules::DataSet* set_ = nullptr;
  std::int64_t set_of_ = 0;
  EntryKey run_{0, 0};
  OpenEntry run_sums_;
  bool in_run_ = false;
  OpenEntries open_;
  std::vector<JournalSlotSums> sums_; // by the data set's main account number
  __int128 debit_tax_posted_[kJournalSlots] = {};
  __int128 credit_tax_posted_[kJournalSlots] = {};
  JournalStore::Part store_;
};

} // namespace

// The whole scan: the parts read (two at once on a large journal) and
// joined into one reading.
class JournalScan {
 public:
  JournalScan(BooksDb& db, const ScanRequest& request) : db_(db), request_(request) {}

  // False with *error (the SQLite message) when the books cannot be read;
  // otherwise the reading (its fault set when a rule is broken).
  bool Run(JournalReading* reading, std::string* error) {
    PartScan first(request_, false), second(request_, true);
    if (!ReadParts(&first, &second)) {
      *error = !first.error().empty() ? first.error() : second.error();
      return false;
    }
    // Rows of the first part come before the second's.
    const PartScan& faulted = !first.fault_.empty() ? first : second;
    reading->fault_ = faulted.fault_;
    if (reading->fault_.empty() && !EntryFault(&first, &second, &reading->fault_, error)) return false;
    if (request_.stop_at_fault) return true;

    if (const BooksRules::DataSet* set = request_.data_no ? request_.rules->Find(*request_.data_no) : nullptr) {
      for (const auto& [code, number] : set->main_accounts) {
        JournalSlotSums sums = first.sums_[number];
        const JournalSlotSums& more = second.sums_[number];
        for (int s = 0; s < kJournalSlots; ++s) {
          for (auto side : {&JournalSlotSums::debit, &JournalSlotSums::credit}) {
            (sums.*side).amount[s] += (more.*side).amount[s];
            (sums.*side).tax[s] += (more.*side).tax[s];
          }
        }
        reading->accounts_.emplace_back(code, sums);
      }
    }
    for (int s = 0; s < kJournalSlots; ++s) {
      reading->debit_tax_posted_[s] = first.debit_tax_posted_[s] + second.debit_tax_posted_[s];
      reading->credit_tax_posted_[s] = first.credit_tax_posted_[s] + second.credit_tax_posted_[s];
    }
    if (request_.keep_lines) {
      reading->store_ = JournalStore::FromParts(&first.store_, &second.store_, error);
      if (!reading->store_) return false;
    }
    return true;
  }

 private:
  bool ReadParts(PartScan* first, PartScan* second) {
    BooksStatement bounds;
    std::string ignored;
    // A table without rowid is read whole, on one connection. Each bound is
    // a query of its own: SQLite finds a lone min or max at the end of the
    // rowid tree, but scans the table for the two together.
    if (!db_.Prepare("SELECT (SELECT min(rowid) FROM journal_line), (SELECT max(rowid) FROM journal_line)",
                     &bounds, &ignored)) {
      first->Run(db_, nullptr, true);
      return first->error().empty();
    }
    if (bounds.Next(&first->error_) != BooksStatement::Step::kRow) return false;
    const std::int64_t low = bounds.Int64(0), high = bounds.Int64(1);
    bounds = BooksStatement();

    // The second half on a connection of its own, on its own thread. (The
    // program never writes the books; a writer between the two readings'
    // starts could give halves of two versions, which the next stamp
    // change then drops.)
    std::shared_ptr<BooksDb> other;
    bool split = high - low >= kSplitFrom;
    if (split) {
      const char* path = sqlite3_db_filename(db_.handle(), "main");
      split = path && *path && BooksDb::Open(path, BooksDb::Mode::kReadOnly, &other, &ignored);
    }
    if (!split) {
      const std::pair<std::int64_t, std::int64_t> all{low, high};
      first->Run(db_, &all, true);
      return first->error().empty();
    }
    const std::int64_t middle = low + (high - low) / 2;
    const std::pair<std::int64_t, std::int64_t> halves[2] = {{low, middle}, {middle + 1, high}};
    std::mutex mutex;
    std::condition_variable finished;
    bool second_done = false;
    std::thread thread;
    try {
      thread = std::thread([&] {
        second->Run(*other, &halves[1], false);
        std::lock_guard<std::mutex> lock(mutex);
        second_done = true;
        finished.notify_one();
      });
    } catch (const std::system_error&) {
      second->Run(*other, &halves[1], true); // no thread: one after the other
      second_done = true;
    }
    first->Run(db_, &halves[0], true);
    // The caller hears from this thread while it waits for the other half.
    {
      std::unique_lock<std::mutex> lock(mutex);
      while (!finished.wait_for(lock, std::chrono::milliseconds(100), [&] { return second_done; })) {
        lock.unlock();
        HostBusy();
        lock.lock();
      }
    }
    if (thread.joinable()) thread.join();
    return first->error().empty() && second->error().empty();
  }

  // The entries that do not balance, once both parts are read: the one
  // whose first line comes first is named, with both its sums.
  bool EntryFault(PartScan* first, PartScan* second, std::string* fault, std::string* error) {
    OpenEntries& open = first->open_;
    for (const auto& [key, entry] : second->open_) {
      auto [it, added] = open.try_emplace(key, entry);
      if (added) continue;
      it->second.difference += entry.difference;
      if (it->second.difference == 0) open.erase(it);
    }
    if (open.empty()) return true;
    auto named = open.begin();
    for (auto it = open.begin(); it != open.end(); ++it)
      if (it->second.first_row < named->second.first_row) named = it;
    BooksStatement sums;
    if (!db_.Prepare("SELECT debit_amount, debit_tax, credit_amount, credit_tax FROM journal_line"
                     " WHERE data_no = ?1 AND entry_id = ?2",
                     &sums, error) ||
        !sums.BindInt64(1, named->first.data_no, error) || !sums.BindInt64(2, named->first.entry_id, error))
      return false;
    __int128 debits = 0, credits = 0;
    for (;;) {
      const BooksStatement::Step step = sums.Next(error);
      if (step == BooksStatement::Step::kError) return false;
      if (step == BooksStatement::Step::kDone) break;
      debits += static_cast<__int128>(sums.Int64(0)) + sums.Int64(1);
      credits += static_cast<__int128>(sums.Int64(2)) + sums.Int64(3);
    }
    *fault = "cannot be used: table journal_line, row " + std::to_string(named->second.first_row) +
             ", column entry_id: entry " + std::to_string(named->first.entry_id) + " of data set " +
             std::to_string(named->first.data_no) + " does not balance: its debits come to " + Yen(debits) +
             " and its credits to " + Yen(credits) + " (tax included)";
    return true;
  }

  BooksDb& db_;
  const ScanRequest& request_;
};

std::shared_ptr<const JournalReading> JournalReading::Read(BooksDb& db, std::int64_t data_no,
                                                           bool with_lines, std::string* error) {
  BooksRules rules;
  std::string ignored;
  if (!rules.Read(db.handle(), error ? error : &ignored)) return nullptr;
  ScanRequest request;
  request.rules = &rules;
  request.data_no = data_no;
  request.keep_lines = with_lines;
  std::shared_ptr<JournalReading> reading(new JournalReading());
  if (!JournalScan(db, request).Run(reading.get(), error ? error : &ignored)) return nullptr;
  // A fault of the small tables comes before any of the journal's.
  if (!rules.fault().empty()) reading->fault_ = rules.fault();
  return reading;
}

bool CheckJournalLines(BooksDb& db, const BooksRules& rules, std::string* cause) {
  ScanRequest request;
  request.rules = &rules;
  request.stop_at_fault = true;
  JournalReading reading;
  std::string error;
  if (!JournalScan(db, request).Run(&reading, &error)) {
    if (cause) *cause = "cannot be read: " + error;
    return false;
  }
  if (reading.fault().empty()) return true;
  if (cause) *cause = reading.fault();
  return false;
}

} // namespace stmtlink

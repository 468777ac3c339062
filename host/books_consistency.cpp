#include "host/books_consistency.h"

#include <sqlite3.h>

#include <cstdint>
#include <map>
#include <unordered_map>
#include <unordered_set>

namespace stmtlink {
namespace {

constexpr std::int64_t kCodeScale = 10000; // a stored code: main x 10,000 + sub

bool IsLeapYear(std::int64_t year) { return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0; }

std::int64_t DaysInMonth(std::int64_t year, std::int64_t month) {
  static const int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  return month == 2 && IsLeapYear(year) ? 29 : kDays[month - 1];
}

bool IsDate(std::int64_t date) {
  if (date < 10101 || date > 99991231) return false;
  const std::int64_t month = date / 100 % 100;
  const std::int64_t day = date % 100;
  return month >= 1 && month <= 12 && day >= 1 && day <= DaysInMonth(date / 10000, month);
}

// A data set's period as the host counts its months.
struct Period {
  std::int64_t start = 0, end = 0;
  bool interim = false;
  std::int64_t closing_day = 31; // 31: the calendar month's end
  std::int64_t first_month = 0;  // accounting month index of the start
  std::int64_t last_position = 12;

  // The accounting month (year x 12 + month - 1) of a valid date: a day
  // after the closing day belongs to the next month.
  std::int64_t MonthIndex(std::int64_t date) const {
    const std::int64_t index = date / 10000 * 12 + date / 100 % 100 - 1;
    return closing_day < 31 && date % 100 > closing_day ? index + 1 : index;
  }
  std::int64_t Position(std::int64_t date) const { return MonthIndex(date) - first_month + 1; }
};

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

class Statement {
 public:
  Statement(sqlite3* db, const std::string& sql) {
    if (sqlite3_prepare_v2(db, sql.c_str(), -1, &stmt_, nullptr) != SQLITE_OK) {
      sqlite3_finalize(stmt_);
      stmt_ = nullptr;
    }
  }
  ~Statement() { sqlite3_finalize(stmt_); }
  Statement(const Statement&) = delete;
  Statement& operator=(const Statement&) = delete;
  bool ok() const { return stmt_ != nullptr; }
  int Step() { return sqlite3_step(stmt_); }
  std::int64_t Int(int column) const { return sqlite3_column_int64(stmt_, column); }
  sqlite3_stmt* get() { return stmt_; }

 private:
  sqlite3_stmt* stmt_ = nullptr;
};

class ConsistencyCheck {
 public:
  ConsistencyCheck(sqlite3* db, std::string* cause) : db_(db), cause_(cause) {}

  bool Run() {
    return ReadPeriods() && ReadFirstEra() && CheckAccountCodes() && CheckOpeningCodes() &&
           CheckJournal();
  }

 private:
  bool Fail(const std::string& text) {
    if (cause_) *cause_ = "cannot be used: " + text;
    return false;
  }
  bool FailFromSqlite() {
    if (cause_) *cause_ = std::string("cannot be read: ") + sqlite3_errmsg(db_);
    return false;
  }
  // A table's rows by rowid, or in their order where it has none.
  std::string RowSql(const std::string& with_rowid, const std::string& without_rowid) {
    sqlite3_stmt* probe = nullptr;
    const bool has_rowid =
        sqlite3_prepare_v2(db_, with_rowid.c_str(), -1, &probe, nullptr) == SQLITE_OK;
    sqlite3_finalize(probe);
    return has_rowid ? with_rowid : without_rowid;
  }

  bool ReadPeriods() {
    Statement rows(db_, "SELECT data_no, period_start, period_end, interim_closing FROM data_set");
    if (!rows.ok()) return FailFromSqlite();
    int rc;
    while ((rc = rows.Step()) == SQLITE_ROW) {
      Period period;
      period.start = rows.Int(1);
      period.end = rows.Int(2);
      period.interim = rows.Int(3) == 1;
      if (IsDate(period.end) && period.end % 100 < DaysInMonth(period.end / 10000, period.end / 100 % 100))
        period.closing_day = period.end % 100;
      if (IsDate(period.start)) period.first_month = period.MonthIndex(period.start);
      if (IsDate(period.end)) period.last_position = period.Position(period.end);
      periods_.emplace(rows.Int(0), period);
    }
    return rc == SQLITE_DONE || FailFromSqlite();
  }

  // The ledger writes every date in its era: a date before the first era
  // would come out as an empty text.
  bool ReadFirstEra() {
    Statement rows(db_, "SELECT min(first_day) FROM era");
    if (!rows.ok()) return FailFromSqlite();
    const int rc = rows.Step();
    if (rc != SQLITE_ROW) return FailFromSqlite();
    first_era_ = sqlite3_column_type(rows.get(), 0) == SQLITE_NULL ? -1 : rows.Int(0);
    return true;
  }

  bool CheckAccountCodes() {
    main_accounts_.clear();
    Statement rows(db_, RowSql("SELECT rowid, data_no, code FROM account ORDER BY data_no, code, rowid",
                               "SELECT 0, data_no, code FROM account ORDER BY data_no, code"));
    if (!rows.ok()) return FailFromSqlite();
    std::int64_t last_data = 0, last_code = 0, last_row = 0;
    bool first = true;
    int rc;
    while ((rc = rows.Step()) == SQLITE_ROW) {
      const std::int64_t row = rows.Int(0), data_no = rows.Int(1), code = rows.Int(2);
      if (!first && data_no == last_data && code == last_code)
        return Fail("table account, row " + std::to_string(row) + ", column code: code " +
                    std::to_string(code) + " stands twice in data set " + std::to_string(data_no) +
                    " (rows " + std::to_string(last_row) + " and " + std::to_string(row) + ")");
      if (code % kCodeScale == 0) main_accounts_.insert(EntryKey{data_no, code});
      first = false;
      last_data = data_no;
      last_code = code;
      last_row = row;
    }
    return rc == SQLITE_DONE || FailFromSqlite();
  }

  // Whether a posted code names an account of the data set: its main
  // account is in the chart (a sub-account unknown to the chart is posted
  // to its main account, and its name is simply not found).
  bool Posted(std::int64_t data_no, std::int64_t code) const {
    return main_accounts_.count(EntryKey{data_no, code / kCodeScale * kCodeScale}) != 0;
  }

  bool CheckOpeningCodes() {
    Statement rows(db_, RowSql("SELECT rowid, data_no, code FROM opening_balance",
                               "SELECT 0, data_no, code FROM opening_balance"));
    if (!rows.ok()) return FailFromSqlite();
    int rc;
    while ((rc = rows.Step()) == SQLITE_ROW) {
      const std::int64_t data_no = rows.Int(1), code = rows.Int(2);
      if (periods_.count(data_no) != 0 && !Posted(data_no, code))
        return Fail("table opening_balance, row " + std::to_string(rows.Int(0)) + ", column code: " +
                    std::to_string(code) + " names no account of data set " + std::to_string(data_no));
    }
    return rc == SQLITE_DONE || FailFromSqlite();
  }

  // The journal's fixed columns in the order the scan reads them, after
  // the rowid; the first nine are the ones the rules use.
  static constexpr const char* kJournalColumns[] = {
      "data_no",   "entry_id",      "date",       "slot",       "debit_amount",
      "debit_tax", "credit_amount", "credit_tax", "entry_no",   "line_no",
      "debit_code", "credit_code",  "description"};
  static constexpr int kTextColumn = 12;

  // The first column of the row (from 1, after the rowid) whose value is
  // not of its type: 0 when all are.
  static int UnfitColumn(sqlite3_stmt* stmt) {
    for (int at = 1; at <= 13; ++at) {
      const int type = sqlite3_column_type(stmt, at);
      if (type == SQLITE_NULL) return at;
      if (at - 1 == kTextColumn) {
        if (type == SQLITE_BLOB) return at;
      } else if (type != SQLITE_INTEGER) {
        if (type != SQLITE_FLOAT) return at;
        // A real reads as an integer only when it is one, within range.
        const double value = sqlite3_column_double(stmt, at);
        if (!(value >= -9223372036854775808.0 && value < 9223372036854775808.0) ||
            static_cast<double>(static_cast<std::int64_t>(value)) != value)
          return at;
      }
    }
    return 0;
  }

  bool FailType(sqlite3_stmt* stmt, std::int64_t row, int at) {
    const int type = sqlite3_column_type(stmt, at);
    static const char* const kTypeNames[] = {"", "integer", "real", "text", "blob", "null"};
    const char* column = kJournalColumns[at - 1];
    const bool text = at - 1 == kTextColumn;
    return Fail(std::string("table journal_line, row ") + std::to_string(row) + ", column " + column +
                " is " + (type == SQLITE_NULL ? std::string("NULL") : std::string("of type ") + kTypeNames[type]) +
                " where " + (text ? "text" : "an integer") + " belongs");
  }

  bool FailLine(std::int64_t row, const char* column, const std::string& what) {
    return Fail("table journal_line, row " + std::to_string(row) + ", column " + column + ": " + what);
  }

  // The date and slot rules of one line; false with the cause.
  bool CheckLine(std::int64_t row, std::int64_t data_no, const Period& period, std::int64_t date,
                 std::int64_t slot) {
    const std::string d = std::to_string(date);
    if (!IsDate(date)) return FailLine(row, "date", d + " is not a date (yyyymmdd)");
    if (date < period.start || date > period.end)
      return FailLine(row, "date", d + " lies outside the period of data set " +
                                       std::to_string(data_no) + " (" + std::to_string(period.start) +
                                       " to " + std::to_string(period.end) + ")");
    if (first_era_ < 0 || date < first_era_)
      return FailLine(row, "date", d + " lies in no era of table era" +
                                       (first_era_ < 0 ? std::string(", which is empty")
                                                       : ", whose first begins " + std::to_string(first_era_)));
    const std::string s = std::to_string(slot);
    if (slot < 1 || slot > 14)
      return FailLine(row, "slot", s + " is none of 1 to 12 (month position), 13 (year-end "
                                       "adjustment) and 14 (interim adjustment)");
    const std::int64_t position = period.Position(date);
    if (slot <= 12 && slot != position)
      return FailLine(row, "slot", s + " is not the month position of its date " + d + " (" +
                                       std::to_string(position) + ")");
    if (slot == 13 && position != period.last_position)
      return FailLine(row, "slot", "a year-end adjustment (13) dated " + d +
                                       ", outside the period's last month (month position " +
                                       std::to_string(period.last_position) + ")");
    if (slot == 14 && !period.interim)
      return FailLine(row, "slot", "an interim adjustment (14) in data set " + std::to_string(data_no) +
                                       ", which keeps no interim closing");
    if (slot == 14 && position != 6)
      return FailLine(row, "slot", "an interim adjustment (14) dated " + d +
                                       ", outside the sixth month (month position " +
                                       std::to_string(position) + ")");
    return true;
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
  struct Open {
    __int128 difference = 0;
    std::int64_t first_row = 0;
  };

  // One scan. An entry's lines usually stand together: a run of lines of
  // one entry that balances needs no memory; only the differences left
  // by runs that do not are kept, so that an entry whose lines are spread
  // over the table is still summed whole.
  bool CheckJournal() {
    constexpr char kColumns[] =
        " data_no, entry_id, date, slot, debit_amount, debit_tax, credit_amount, credit_tax,"
        " entry_no, line_no, debit_code, credit_code, description FROM journal_line";
    Statement rows(db_, RowSql(std::string("SELECT rowid,") + kColumns,
                               std::string("SELECT 0,") + kColumns));
    if (!rows.ok()) return FailFromSqlite();
    std::unordered_map<EntryKey, Open, EntryHash> open;
    EntryKey run{0, 0};
    Open run_sums;
    bool in_run = false;
    const auto close_run = [&] {
      if (!in_run || run_sums.difference == 0) return;
      auto [it, added] = open.try_emplace(run, run_sums);
      if (added) return;
      it->second.difference += run_sums.difference;
      if (it->second.difference == 0) open.erase(it);
    };
    const Period* period = nullptr;
    std::int64_t period_of = 0;
    int rc;
    while ((rc = rows.Step()) == SQLITE_ROW) {
      const std::int64_t row = rows.Int(0);
      if (const int unfit = UnfitColumn(rows.get())) return FailType(rows.get(), row, unfit);
      const std::int64_t data_no = rows.Int(1);
      if (period == nullptr || period_of != data_no) {
        auto found = periods_.find(data_no);
        period = found == periods_.end() ? nullptr : &found->second;
        period_of = data_no;
      }
      // Lines of no data set are never read.
      if (period == nullptr) continue;
      if (!CheckLine(row, data_no, *period, rows.Int(3), rows.Int(4))) return false;
      for (const int at : {11, 12}) {
        const std::int64_t code = rows.Int(at);
        if (code != 0 && !Posted(data_no, code))
          return FailLine(row, kJournalColumns[at - 1],
                          std::to_string(code) + " names no account of data set " + std::to_string(data_no));
      }
      const EntryKey key{data_no, rows.Int(2)};
      if (!in_run || !(key == run)) {
        close_run();
        run = key;
        run_sums = Open{0, row};
        in_run = true;
      }
      run_sums.difference += static_cast<__int128>(rows.Int(5)) + rows.Int(6) - rows.Int(7) - rows.Int(8);
    }
    if (rc != SQLITE_DONE) return FailFromSqlite();
    close_run();
    if (open.empty()) return true;
    auto first = open.begin();
    for (auto it = open.begin(); it != open.end(); ++it)
      if (it->second.first_row < first->second.first_row) first = it;
    return FailEntry(first->first, first->second.first_row);
  }

  bool FailEntry(const EntryKey& key, std::int64_t row) {
    Statement sums(db_, "SELECT debit_amount, debit_tax, credit_amount, credit_tax FROM journal_line"
                        " WHERE data_no = ?1 AND entry_id = ?2");
    if (!sums.ok()) return FailFromSqlite();
    sqlite3_bind_int64(sums.get(), 1, key.data_no);
    sqlite3_bind_int64(sums.get(), 2, key.entry_id);
    __int128 debits = 0, credits = 0;
    while (sums.Step() == SQLITE_ROW) {
      debits += static_cast<__int128>(sums.Int(0)) + sums.Int(1);
      credits += static_cast<__int128>(sums.Int(2)) + sums.Int(3);
    }
    return Fail("table journal_line, row " + std::to_string(row) + ", column entry_id: entry " +
                std::to_string(key.entry_id) + " of data set " + std::to_string(key.data_no) +
                " does not balance: its debits come to " + Yen(debits) + " and its credits to " +
                Yen(credits) + " (tax included)");
  }

  sqlite3* db_;
  std::string* cause_;
  std::map<std::int64_t, Period> periods_;
  std::int64_t first_era_ = -1; // -1: no era at all
  std::unordered_set<EntryKey, EntryHash> main_accounts_; // (data set, main code)
};

} // namespace

bool CheckBooksConsistency(sqlite3* db, std::string* cause) {
  ConsistencyCheck check(db, cause);
  return check.Run();
}

} // namespace stmtlink

#include "host/substitute/books_consistency.h"

#include <sqlite3.h>

#include <cstdio>
#include <set>
#include <utility>


namespace stmtlink {
namespace {

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

// A table's rows by rowid, or in their order where it has none.
std::string RowSql(sqlite3* db, const std::string& with_rowid, const std::string& without_rowid) {
  sqlite3_stmt* probe = nullptr;
  const bool has_rowid = sqlite3_prepare_v2(db, with_rowid.c_str(), -1, &probe, nullptr) == SQLITE_OK;
  sqlite3_finalize(probe);
  return has_rowid ? with_rowid : without_rowid;
}

// The column's text of the current row, as SQLite gives it (UTF-8).
std::string_view Text(Statement& rows, int column) {
  const auto* text = reinterpret_cast<const char*>(sqlite3_column_text(rows.get(), column));
  return text ? std::string_view(text, static_cast<std::size_t>(sqlite3_column_bytes(rows.get(), column)))
              : std::string_view();
}

} // namespace

std::string ControlCharacterFault(std::string_view text) {
  static const char* const kNames[] = {"null", "tab", "line feed", "carriage return", "escape", "delete"};
  std::size_t character = 0;
  for (const char c : text) {
    const auto byte = static_cast<unsigned char>(c);
    if ((byte & 0xC0) != 0x80) ++character; // a UTF-8 character starts here
    if (byte >= 0x20 && byte != 0x7F) continue;
    const char* name = byte == 0 ? kNames[0] : byte == 9 ? kNames[1] : byte == 10 ? kNames[2]
                     : byte == 13 ? kNames[3] : byte == 27 ? kNames[4] : byte == 0x7F ? kNames[5] : nullptr;
    char code[8];
    std::snprintf(code, sizeof(code), "%04X", byte);
    return std::string("holds the control character U+") + code + (name ? std::string(" (") + name + ")" : "") +
           " at character " + std::to_string(character) + ", which the report cannot carry";
  }
  return {};
}

namespace {

// Steps through "SELECT rowid, <columns> FROM <table> [ORDER BY ...]" (the
// row named 0 where the table has no rowid), calling each(row) for every
// row; false when SQLite fails.
template <typename Each>
bool ForEachRow(sqlite3* db, const std::string& columns, const std::string& table,
                const std::string& order, Each each) {
  const std::string rest = columns + " FROM " + table;
  Statement rows(db, RowSql(db, "SELECT rowid, " + rest + (order.empty() ? "" : " ORDER BY " + order + ", rowid"),
                            "SELECT 0, " + rest + (order.empty() ? "" : " ORDER BY " + order)));
  if (!rows.ok()) return false;
  int rc;
  while ((rc = rows.Step()) == SQLITE_ROW) each(rows);
  return rc == SQLITE_DONE;
}

std::string RowPlace(const char* table, Statement& rows, const char* column) {
  return std::string("table ") + table + ", row " + std::to_string(rows.Int(0)) + ", column " + column + ": ";
}

} // namespace

bool BooksRules::Read(sqlite3* db, std::string* error) {
  data_sets_.clear();
  fault_.clear();
  ordinary_rows_.clear();
  const bool read = ReadDataSets(db) && ReadFirstEra(db) && ReadAccounts(db) && CheckTotalMembers(db) &&
                    CheckTexts(db) && CheckOpeningBalances(db);
  if (!read && error) *error = sqlite3_errmsg(db);
  return read;
}

// Only the first fault is kept; the reading goes on.
void BooksRules::Fail(const std::string& text) {
  if (fault_.empty()) fault_ = "cannot be used: " + text;
}

bool BooksRules::ReadDataSets(sqlite3* db) {
  return ForEachRow(db, "data_no, period_start, period_end, interim_closing, company_name", "data_set", "",
                    [this](Statement& rows) {
    if (const std::string_view name = Text(rows, 5); HasControlCharacter(name))
      Fail(RowPlace("data_set", rows, "company_name") + ControlCharacterFault(name));
    BooksPeriod period;
    period.start = rows.Int(2);
    period.end = rows.Int(3);
    period.interim = rows.Int(4) == 1;
    if (IsDate(period.end) && period.end % 100 < DaysInMonth(period.end / 10000, period.end / 100 % 100))
      period.closing_day = period.end % 100;
    if (IsDate(period.start)) period.first_month = period.MonthIndex(period.start);
    if (IsDate(period.end)) period.last_position = period.Position(period.end);
    data_sets_[rows.Int(1)].period = period;
  });
}

// The ledger writes every date in its era: a date before the first era
// would come out as an empty text.
bool BooksRules::ReadFirstEra(sqlite3* db) {
  Statement rows(db, "SELECT min(first_day) FROM era");
  if (!rows.ok() || rows.Step() != SQLITE_ROW) return false;
  first_era_ = sqlite3_column_type(rows.get(), 0) == SQLITE_NULL ? -1 : rows.Int(0);
  return true;
}

bool BooksRules::ReadAccounts(sqlite3* db) {
  std::int64_t last_data = 0, last_code = 0, last_row = 0;
  bool first = true;
  return ForEachRow(db, "data_no, code, line_type, formal_name, statement_name", "account", "data_no, code",
                    [&](Statement& rows) {
    const std::int64_t row = rows.Int(0), data_no = rows.Int(1), code = rows.Int(2);
    for (const int column : {4, 5}) {
      if (const std::string_view name = Text(rows, column); HasControlCharacter(name))
        Fail(RowPlace("account", rows, column == 4 ? "formal_name" : "statement_name") +
             ControlCharacterFault(name));
    }
    const std::int64_t line_type = rows.Int(3);
    if (line_type != 2 && line_type != 3) ordinary_rows_.emplace(data_no, code);
    if (!first && data_no == last_data && code == last_code)
      Fail("table account, row " + std::to_string(row) + ", column code: code " + std::to_string(code) +
           " stands twice in data set " + std::to_string(data_no) + " (rows " + std::to_string(last_row) +
           " and " + std::to_string(row) + ")");
    if (code % kBooksCodeScale == 0) {
      auto set = data_sets_.find(data_no);
      if (set != data_sets_.end())
        set->second.main_accounts.emplace(code, static_cast<std::uint32_t>(set->second.main_accounts.size()));
    }
    first = false;
    last_data = data_no;
    last_code = code;
    last_row = row;
  });
}

// Only a total row (line type 2) or a computed item (line type 3) has
// members: on an ordinary account they would sum other accounts into its
// own balance.
bool BooksRules::CheckTotalMembers(sqlite3* db) {
  return ForEachRow(db, "data_no, total_code", "total_member", "", [this](Statement& rows) {
    const std::int64_t data_no = rows.Int(1), code = rows.Int(2);
    if (ordinary_rows_.count({data_no, code}) != 0)
      Fail(RowPlace("total_member", rows, "total_code") + std::to_string(code) +
           " is an ordinary account of data set " + std::to_string(data_no) +
           ", not a total row (line type 2) or a computed item (line type 3)");
  });
}

// The eras' names go into every date of the ledger; the notes' texts keep
// their line breaks and tabs (the notes are read line by line) but no
// other control character.
bool BooksRules::CheckTexts(sqlite3* db) {
  const bool eras = ForEachRow(db, "name, abbreviation", "era", "", [this](Statement& rows) {
    for (const int column : {1, 2})
      if (const std::string_view name = Text(rows, column); HasControlCharacter(name))
        Fail(RowPlace("era", rows, column == 1 ? "name" : "abbreviation") + ControlCharacterFault(name));
  });
  return eras && ForEachRow(db, "text", "statement_setting", "", [this](Statement& rows) {
    std::string text(Text(rows, 1));
    for (char& c : text)
      if (c == '\t' || c == '\n' || c == '\r') c = ' ';
    if (HasControlCharacter(text)) Fail(RowPlace("statement_setting", rows, "text") + ControlCharacterFault(text));
  });
}

// An opening balance's code names an account when its main account is
// in the chart (a sub-account unknown to the chart is posted to its main
// account, and its name is simply not found).
bool BooksRules::CheckOpeningBalances(sqlite3* db) {
  return ForEachRow(db, "data_no, code", "opening_balance", "", [this](Statement& rows) {
    const std::int64_t data_no = rows.Int(1), code = rows.Int(2);
    const DataSet* set = Find(data_no);
    if (set != nullptr && set->main_accounts.count(MainAccountOf(code)) == 0)
      Fail(RowPlace("opening_balance", rows, "code") + std::to_string(code) + " names no account of data set " +
           std::to_string(data_no));
  });
}

bool BooksRules::LineKeepsRules(const DataSet& set, std::int64_t date, std::int64_t slot) const {
  const BooksPeriod& period = set.period;
  if (!IsDate(date) || date < period.start || date > period.end || first_era_ < 0 || date < first_era_ ||
      slot < 1 || slot > 14)
    return false;
  const std::int64_t position = period.Position(date);
  if (slot <= 12) return slot == position;
  if (slot == 13) return position == period.last_position;
  return period.interim && position == 6;
}

std::string BooksRules::LineFault(std::int64_t data_no, const DataSet& set, std::int64_t date,
                                  std::int64_t slot) const {
  const BooksPeriod& period = set.period;
  const std::string d = std::to_string(date);
  if (!IsDate(date)) return "column date: " + d + " is not a date (yyyymmdd)";
  if (date < period.start || date > period.end)
    return "column date: " + d + " lies outside the period of data set " + std::to_string(data_no) + " (" +
           std::to_string(period.start) + " to " + std::to_string(period.end) + ")";
  if (first_era_ < 0 || date < first_era_)
    return "column date: " + d + " lies in no era of table era" +
           (first_era_ < 0 ? std::string(", which is empty")
                           : ", whose first begins " + std::to_string(first_era_));
  const std::string s = std::to_string(slot);
  if (slot < 1 || slot > 14)
    return "column slot: " + s + " is none of 1 to 12 (month position), 13 (year-end "
                                 "adjustment) and 14 (interim adjustment)";
  const std::int64_t position = period.Position(date);
  if (slot <= 12 && slot != position)
    return "column slot: " + s + " is not the month position of its date " + d + " (" +
           std::to_string(position) + ")";
  if (slot == 13 && position != period.last_position)
    return "column slot: a year-end adjustment (13) dated " + d +
           ", outside the period's last month (month position " + std::to_string(period.last_position) + ")";
  if (slot == 14 && !period.interim)
    return "column slot: an interim adjustment (14) in data set " + std::to_string(data_no) +
           ", which keeps no interim closing";
  return "column slot: an interim adjustment (14) dated " + d + ", outside the sixth month (month position " +
         std::to_string(position) + ")";
}

} // namespace stmtlink

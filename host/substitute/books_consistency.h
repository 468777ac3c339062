// The rules that books of sound types must still keep before any figure is
// taken from them, checked when they are opened (after the types,
// books_check.h). Each one broken would give a report that looks complete
// and is wrong: a journal line that no statement counts, a ledger that no
// longer adds up to the balance sheet, a balance sheet that does not
// balance.
//
// journal_line (checked by the one reading of the journal, journal_pass.h):
//   - every fixed column of its type, as books_check.h holds every table:
//     an integer column an integer (or a real with no fraction, which
//     reads back as the same integer), a text column anything but a blob,
//     never NULL;
//   - date: a real calendar date within its data set's period, and in an
//     era of table era (the ledger writes its dates in eras);
//   - slot: 1 to 14; an ordinary line (1-12) in the month position of its
//     date; a year-end adjustment (13) in the period's last month; an
//     interim adjustment (14) only in books with an interim closing, and in
//     the sixth month;
//   - debit_code and credit_code, when not 0, name an account of the data
//     set (its main account is in the chart);
//   - every entry (data set, entry_id): its debits equal its credits, tax
//     included.
// opening_balance: every code names an account of its data set.
// account: no code twice in a data set; formal_name and statement_name
//   hold no control character (below).
// data_set: company_name holds no control character.
// total_member: total_code names no ordinary account (only a total row,
//   line type 2, or a computed item, line type 3, has members): members on
//   an ordinary account would sum other accounts into its own balance.
// journal_line, description; era, name and abbreviation: no control
//   character. statement_setting, text: none but tab, line feed and
//   carriage return (a note's text runs over lines).
// A control character is one the report cannot carry: C0 (U+0000 to
// U+001F, tab, line feed and carriage return among them) and DEL (U+007F).
// The report is XML with one text a line, so any of them would make it
// unreadable or break its lines.
// Months follow the host's accounting months: a period that ends before
// the end of a calendar month closes each month on that day.
#pragma once

#include <cstdint>
#include <map>
#include <set>
#include <utility>
#include <string>
#include <string_view>
#include <unordered_map>

struct sqlite3;

namespace stmtlink {

constexpr std::int64_t kBooksCodeScale = 10000; // a stored code: main x 10,000 + sub
inline std::int64_t MainAccountOf(std::int64_t code) { return code / kBooksCodeScale * kBooksCodeScale; }

// A data set's period as the host counts its months.
struct BooksPeriod {
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

// What the journal's lines are checked against: every data set's period
// and main accounts, and the first era. Read from the small tables, whose
// own rules (codes once, opening balances' codes) are checked on the way.
class BooksRules {
 public:
  struct DataSet {
    BooksPeriod period;
    // The data set's main accounts, numbered in code order.
    std::unordered_map<std::int64_t, std::uint32_t> main_accounts;
  };

  // False with *error (the SQLite message) when the
  // tables cannot be read. Books that break a rule of these tables are
  // still read whole; the first fault is in fault().
  bool Read(sqlite3* db, std::string* error);
  // "cannot be used: table account, row 4, column code: ..."; empty when
  // the small tables keep their rules.
  const std::string& fault() const { return fault_; }

  // Null for lines of no data set (which are never read).
  const DataSet* Find(std::int64_t data_no) const {
    auto found = data_sets_.find(data_no);
    return found == data_sets_.end() ? nullptr : &found->second;
  }

  // Whether a line's date and slot keep the rules; cheap, for every line.
  bool LineKeepsRules(const DataSet& set, std::int64_t date, std::int64_t slot) const;
  // For a line that does not: the fault, "column date: 20250231 is not a
  // date (yyyymmdd)".
  std::string LineFault(std::int64_t data_no, const DataSet& set, std::int64_t date,
                        std::int64_t slot) const;

 private:
  void Fail(const std::string& text);
  // Each reads or checks one table; false when SQLite fails.
  bool ReadDataSets(sqlite3* db);
  bool ReadFirstEra(sqlite3* db);
  bool ReadAccounts(sqlite3* db);
  bool CheckTotalMembers(sqlite3* db);
  bool CheckTexts(sqlite3* db);
  bool CheckOpeningBalances(sqlite3* db);

  std::map<std::int64_t, DataSet> data_sets_;
  std::set<std::pair<std::int64_t, std::int64_t>> ordinary_rows_; // (data_no, code) of line type 0 or 1
  std::string fault_;
  std::int64_t first_era_ = -1; // -1: no era at all
};

// "" when the UTF-8 text holds no control character; otherwise the fault,
// "holds the control character U+000A (line feed) at character 12".
std::string ControlCharacterFault(std::string_view text);
inline bool HasControlCharacter(std::string_view text) {
  for (const char c : text)
    if (static_cast<unsigned char>(c) < 0x20 || c == 0x7F) return true;
  return false;
}

} // namespace stmtlink

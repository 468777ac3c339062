#include "host/substitute/books_check.h"

#include <fcntl.h>
#include <sqlite3.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdint>
#include <cstring>
#include <algorithm>
#include <vector>
#include <memory>

#include "host/substitute/books_consistency.h"
#include "host/host_errors.h"
#include "host/substitute/journal_lines.h"
#include "host/substitute/journal_pass.h"
#include "host/substitute/substitute_home.h"
#include "platform/host_home.h"

namespace stmtlink {
namespace {

enum class Kind { kInteger, kText };

struct FixedColumn {
  const char* name;
  Kind kind;
};

struct FixedTable {
  const char* name;
  std::vector<FixedColumn> columns;
};

constexpr Kind I = Kind::kInteger;
constexpr Kind T = Kind::kText;

// The fixed schema: the tables and columns that the host's books always
// have. More may exist; these are read by the substitute.
const FixedTable kFixedTables[] = {
    {"data_set",
     {{"data_no", I}, {"data_id", T}, {"company_name", T}, {"period_start", I}, {"period_end", I},
      {"keeps_mfg_schedule", I}, {"interim_closing", I}, {"introduction_month", I},
      {"company_law", I}, {"tax_included", I}}},
    {"account",
     {{"data_no", I}, {"code", I}, {"seq", I}, {"formal_name", T}, {"statement_name", T},
      {"nature", I}, {"line_type", I}, {"normal_side", I}, {"ledger_excluded_a", I},
      {"ledger_excluded_b", I}}},
    {"total_member", {{"data_no", I}, {"total_code", I}, {"member_mask", I}}},
    {"opening_balance", {{"data_no", I}, {"code", I}, {"debit", I}, {"credit", I}}},
    {"journal_line",
     {{"data_no", I}, {"entry_id", I}, {"entry_no", I}, {"line_no", I}, {"date", I}, {"slot", I},
      {"debit_code", I}, {"debit_amount", I}, {"debit_tax", I}, {"credit_code", I},
      {"credit_amount", I}, {"credit_tax", I}, {"description", T}}},
    {"era", {{"first_day", I}, {"name", T}, {"abbreviation", T}}},
    {"statement_setting", {{"data_no", I}, {"kind", I}, {"text", T}}},
};

constexpr char kMagic[] = "SQLite format 3"; // and its terminator: 16 bytes
constexpr std::size_t kHeaderSize = 100;

std::uint32_t BigEndian(const unsigned char* p, int bytes) {
  std::uint32_t value = 0;
  for (int i = 0; i < bytes; ++i) value = value << 8 | p[i];
  return value;
}

// The checks of one books file; every step sets error_ and returns false on
// the first fault.
class BooksCheck {
 public:
  BooksCheck(const std::string& path, std::string* error) : path_(path), error_(error) {}

  bool Run(int busy_timeout_ms, bool journal_lines) {
    busy_timeout_ms_ = busy_timeout_ms;
    journal_lines_ = journal_lines;
    return CheckFile() && Open() && CheckReadable() && CheckTables() && CheckConsistency();
  }

 private:
  bool Fail(const std::string& cause) {
    if (error_) *error_ = "the books file " + path_ + " " + cause;
    return false;
  }

  // The file itself, before SQLite sees it: a regular, readable file with
  // the SQLite header, as long as its header says. A FIFO or a device
  // would make SQLite wait or read without end.
  bool CheckFile() {
    const int fd = open(path_.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) return Fail(std::string("cannot be read: ") + std::strerror(errno));
    struct stat st {};
    unsigned char header[kHeaderSize] = {};
    ssize_t got = -1;
    const bool regular = fstat(fd, &st) == 0 && S_ISREG(st.st_mode);
    if (regular) got = pread(fd, header, sizeof(header), 0);
    const int read_errno = errno;
    close(fd);
    if (!regular) return Fail("is not a regular file");
    if (got < 0) return Fail(std::string("cannot be read: ") + std::strerror(read_errno));
    if (st.st_size == 0) return Fail("is empty (0 bytes), not an SQLite database");
    const std::size_t magic_bytes = std::min<std::size_t>(static_cast<std::size_t>(got), sizeof(kMagic));
    if (std::memcmp(header, kMagic, magic_bytes) != 0)
      return Fail("is not an SQLite database");
    if (static_cast<std::size_t>(got) < kHeaderSize)
      return Fail("is truncated: it has " + std::to_string(st.st_size) +
                  " bytes, less than an SQLite header");
    std::uint64_t page_size = BigEndian(header + 16, 2);
    if (page_size == 1) page_size = 65536;
    // The header's page count holds when the change counter and the
    // version-valid-for number agree.
    const std::uint64_t pages = BigEndian(header + 28, 4);
    const bool count_valid = pages != 0 && BigEndian(header + 24, 4) == BigEndian(header + 92, 4);
    const auto size = static_cast<std::uint64_t>(st.st_size);
    if (page_size < 512 || (page_size & (page_size - 1)) != 0)
      return Fail("is damaged: its header names no valid page size");
    if (count_valid && pages * page_size > size)
      return Fail("is truncated: it has " + std::to_string(size) + " bytes of the " +
                  std::to_string(pages * page_size) + " its header names");
    if (!count_valid && size % page_size != 0)
      return Fail("is truncated: it has " + std::to_string(size) + " bytes, not a whole number of pages");
    return true;
  }

  bool Open() {
    std::string why;
    if (!BooksDb::Open(path_, BooksDb::Mode::kReadOnly, &db_, &why, busy_timeout_ms_))
      return Fail("cannot be opened: " + why);
    return true;
  }

  // The cause of the last failed SQLite call, in words.
  bool FailFromSqlite() {
    sqlite3* db = db_->handle();
    switch (sqlite3_errcode(db) & 0xFF) {
      case SQLITE_BUSY:
      case SQLITE_LOCKED:
        return Fail("is locked by another program (waited " + std::to_string(busy_timeout_ms_) +
                    " ms for it)");
      case SQLITE_NOTADB:
        return Fail("is not an SQLite database");
      case SQLITE_CORRUPT:
        return Fail(std::string("is damaged: ") + sqlite3_errmsg(db));
      default:
        return Fail(std::string("cannot be read: ") + sqlite3_errmsg(db));
    }
  }

  // One statement that returns rows; false (with the cause) on any error.
  bool Prepare(const std::string& sql, sqlite3_stmt** stmt) {
    if (sqlite3_prepare_v2(db_->handle(), sql.c_str(), -1, stmt, nullptr) == SQLITE_OK)
      return true;
    sqlite3_finalize(*stmt);
    *stmt = nullptr;
    return FailFromSqlite();
  }

  // The schema is read first: it is where a locked, foreign or damaged
  // file shows.
  bool CheckReadable() {
    sqlite3_stmt* stmt = nullptr;
    if (!Prepare("SELECT count(*) FROM sqlite_schema", &stmt)) return false;
    const int rc = sqlite3_step(stmt);
    sqlite3_finalize(stmt);
    return rc == SQLITE_ROW || FailFromSqlite();
  }

  // The journal's values are checked by the consistency scan
  // (books_consistency.h), which reads the table once for its types and
  // its rules together: it is by far the largest table.
  bool CheckTables() {
    for (const FixedTable& table : kFixedTables) {
      if (!CheckColumnsExist(table)) return false;
      if (std::strcmp(table.name, "journal_line") != 0 && !CheckValues(table)) return false;
    }
    return true;
  }

  // The rules of books_consistency.h: the small tables first, whose
  // reading the journal's lines are checked against.
  bool CheckConsistency() {
    BooksRules rules;
    std::string cause;
    if (!rules.Read(db_->handle(), &cause)) return Fail("cannot be read: " + cause);
    if (!rules.fault().empty()) return Fail(rules.fault());
    return !journal_lines_ || CheckJournalLines(*db_, rules, &cause) || Fail(cause);
  }

  bool CheckColumnsExist(const FixedTable& table) {
    sqlite3_stmt* stmt = nullptr;
    if (!Prepare(std::string("SELECT name FROM pragma_table_info('") + table.name + "')", &stmt))
      return false;
    std::string names = ",";
    int rc;
    while ((rc = sqlite3_step(stmt)) == SQLITE_ROW)
      names += std::string(reinterpret_cast<const char*>(sqlite3_column_text(stmt, 0))) + ",";
    sqlite3_finalize(stmt);
    if (rc != SQLITE_DONE) return FailFromSqlite();
    if (names == ",") return Fail(std::string("has no table ") + table.name);
    for (const FixedColumn& column : table.columns)
      if (names.find(std::string(",") + column.name + ",") == std::string::npos)
        return Fail(std::string("has no column ") + column.name + " in table " + table.name);
    return true;
  }

  // One scan of the table for the first value that cannot be read as its
  // column's type: NULL anywhere; in an integer column anything that does
  // not read back as the same integer (text, a fraction, a blob); in a text
  // column a blob. Its row (rowid) and column are named.
  bool CheckValues(const FixedTable& table) {
    std::string types, mismatch;
    for (const FixedColumn& column : table.columns) {
      const std::string c = std::string("\"") + column.name + "\"";
      const std::string unfit = c + " IS NULL OR " +
          (column.kind == I ? "CAST(" + c + " AS INTEGER) IS NOT " + c : c + " >= x''");
      types += ", (" + unfit + "), typeof(" + c + ")";
      mismatch += std::string(mismatch.empty() ? "" : " OR ") + unfit;
    }
    const std::string rest = types + " FROM \"" + table.name + "\" WHERE " + mismatch + " LIMIT 1";
    sqlite3_stmt* stmt = nullptr;
    // A table without rowid names its row by the first fault's place only.
    bool has_rowid = true;
    if (sqlite3_prepare_v2(db_->handle(), ("SELECT rowid" + rest).c_str(), -1, &stmt, nullptr) !=
        SQLITE_OK) {
      sqlite3_finalize(stmt);
      has_rowid = false;
      if (!Prepare("SELECT 0" + rest, &stmt)) return false;
    }
    const int rc = sqlite3_step(stmt);
    if (rc == SQLITE_DONE) {
      sqlite3_finalize(stmt);
      return true;
    }
    if (rc != SQLITE_ROW) {
      sqlite3_finalize(stmt);
      return FailFromSqlite();
    }
    std::string cause;
    int at = 1;
    for (const FixedColumn& column : table.columns) {
      const bool unfit = sqlite3_column_int(stmt, at) != 0;
      const std::string type = reinterpret_cast<const char*>(sqlite3_column_text(stmt, at + 1));
      at += 2;
      if (!unfit) continue;
      cause = std::string("column ") + column.name + " is " +
              (type == "null" ? std::string("NULL") : "of type " + type) + " where " +
              (column.kind == I ? "an integer" : "text") + " belongs";
      break;
    }
    const std::string row =
        has_rowid ? "row " + std::to_string(sqlite3_column_int64(stmt, 0)) : "a row";
    sqlite3_finalize(stmt);
    return Fail(std::string("cannot be used: table ") + table.name + ", " + row + ", " + cause);
  }

  const std::string& path_;
  std::string* error_;
  std::shared_ptr<BooksDb> db_;
  int busy_timeout_ms_ = 0;
  bool journal_lines_ = true;
};

} // namespace

bool CheckBooksFile(const std::string& path, std::string* error, int busy_timeout_ms,
                    bool journal_lines) {
  BooksCheck check(path, error);
  return check.Run(busy_timeout_ms, journal_lines);
}

bool CheckCurrentBooksFile(std::string* error) {
  return CheckBooksFile(HostHomeFile("books.db"), error, BooksDb::kDefaultBusyTimeoutMs, false);
}

bool CheckCurrentJournal(const std::string& data_id, bool keep_ledger_lines, std::string* error) {
  const std::string path = HostHomeFile("books.db");
  const auto fail = [&](const std::string& cause) {
    if (error) *error = "the books file " + path + " " + cause;
    return false;
  };
  std::string why;
  SubstituteHome& home = CurrentHome();
  const std::shared_ptr<BooksDb>& books = home.Books(&why);
  if (!books) return fail("cannot be opened: " + why);
  std::int64_t data_no = 0;
  const long found = home.FindDataNo(data_id, &data_no, &why);
  if (found == kHostErrorBooks) return fail("cannot be read: " + why);
  if (found != 0) {
    // No such data set: nothing to keep, every line still checked.
    BooksRules rules;
    if (!rules.Read(books->handle(), &why)) return fail("cannot be read: " + why);
    return CheckJournalLines(*books, rules, &why) || fail(why);
  }
  std::shared_ptr<const JournalReading> reading = home.Journal(data_no, keep_ledger_lines, &why);
  if (!reading) return fail("cannot be read: " + why);
  return reading->fault().empty() || fail(reading->fault());
}

} // namespace stmtlink

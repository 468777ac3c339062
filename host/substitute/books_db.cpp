#include "host/substitute/books_db.h"

#include <sqlite3.h>

#include <utility>


namespace stmtlink {
namespace {

void SetError(std::string* error, const std::string& text) {
  if (error) *error = text;
}

std::string DbMessage(sqlite3* db) { return db ? sqlite3_errmsg(db) : "out of memory"; }

} // namespace

bool BooksDb::Open(const std::string& path, Mode mode, std::shared_ptr<BooksDb>* out,
                   std::string* error, int busy_timeout_ms) {
  // One thread uses a connection: no mutex on every call (the ledger makes
  // tens of millions).
  int flags = SQLITE_OPEN_NOMUTEX | (mode == Mode::kReadOnly
                                         ? SQLITE_OPEN_READONLY
                                         : SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE);
  sqlite3* db = nullptr;
  int rc = sqlite3_open_v2(path.c_str(), &db, flags, nullptr);
  if (rc != SQLITE_OK) {
    SetError(error, path + ": " + DbMessage(db));
    sqlite3_close(db); // a handle is returned even on failure (or null)
    return false;
  }
  // Report errors as codes from every call, never as silent partial reads.
  sqlite3_extended_result_codes(db, 1);
  // Books that another program is writing are waited for a little.
  sqlite3_busy_timeout(db, busy_timeout_ms);
  out->reset(new BooksDb(db));
  return true;
}

BooksDb::BooksDb(sqlite3* db) : db_(db) {
  static std::uint64_t next_serial = 0;
  serial_ = ++next_serial;
}

BooksStamp BooksDb::Stamp() const {
  if (stamped_steps_ == steps_) return stamp_;
  BooksStamp stamp;
  stamp.serial = serial_;
  unsigned int version = 0;
  if (sqlite3_file_control(db_, "main", SQLITE_FCNTL_DATA_VERSION, &version) == SQLITE_OK)
    stamp.version = version;
  stamp_ = stamp;
  stamped_steps_ = steps_;
  return stamp;
}

BooksDb::~BooksDb() {
  // Statements hold a reference to this object, so none is left open here.
  sqlite3_close(db_);
}

bool BooksDb::Prepare(std::string_view sql, BooksStatement* out, std::string* error) {
  sqlite3_stmt* stmt = nullptr;
  int rc = sqlite3_prepare_v2(db_, sql.data(), static_cast<int>(sql.size()), &stmt, nullptr);
  if (rc != SQLITE_OK || stmt == nullptr) {
    SetError(error, DbMessage(db_));
    sqlite3_finalize(stmt);
    return false;
  }
  out->Finalize();
  out->db_ = shared_from_this();
  out->stmt_ = stmt;
  return true;
}

bool BooksDb::Exec(const char* sql, std::string* error) {
  char* message = nullptr;
  ++steps_;
  if (sqlite3_exec(db_, sql, nullptr, nullptr, &message) == SQLITE_OK) return true;
  SetError(error, message ? message : DbMessage(db_));
  sqlite3_free(message);
  return false;
}

BooksStatement::~BooksStatement() { Finalize(); }

BooksStatement::BooksStatement(BooksStatement&& other) noexcept
    : db_(std::move(other.db_)), stmt_(std::exchange(other.stmt_, nullptr)) {}

BooksStatement& BooksStatement::operator=(BooksStatement&& other) noexcept {
  if (this != &other) {
    Finalize();
    db_ = std::move(other.db_);
    stmt_ = std::exchange(other.stmt_, nullptr);
  }
  return *this;
}

void BooksStatement::Finalize() {
  // Finalize before the connection reference goes.
  sqlite3_finalize(stmt_);
  stmt_ = nullptr;
  db_.reset();
}

bool BooksStatement::BindInt64(int index, std::int64_t value, std::string* error) {
  if (!stmt_) {
    SetError(error, "statement not prepared");
    return false;
  }
  if (sqlite3_bind_int64(stmt_, index, value) == SQLITE_OK) return true;
  SetError(error, DbMessage(db_->handle()));
  return false;
}

bool BooksStatement::BindText(int index, std::string_view utf8, std::string* error) {
  return BindTextWith(index, utf8, SQLITE_TRANSIENT, error);
}

bool BooksStatement::BindTextInPlace(int index, std::string_view utf8, std::string* error) {
  return BindTextWith(index, utf8, SQLITE_STATIC, error);
}

bool BooksStatement::BindTextWith(int index, std::string_view utf8, void (*lifetime)(void*),
                                  std::string* error) {
  if (!stmt_) {
    SetError(error, "statement not prepared");
    return false;
  }
  if (sqlite3_bind_text(stmt_, index, utf8.data(), static_cast<int>(utf8.size()), lifetime) == SQLITE_OK)
    return true;
  SetError(error, DbMessage(db_->handle()));
  return false;
}

BooksStatement::Step BooksStatement::Next(std::string* error) {
  if (!stmt_) {
    SetError(error, "statement not prepared");
    return Step::kError;
  }
  ++db_->steps_; // a step may begin a read transaction that moves the version
  int rc = sqlite3_step(stmt_);
  if (rc == SQLITE_ROW) return Step::kRow;
  if (rc == SQLITE_DONE) return Step::kDone;
  SetError(error, DbMessage(db_->handle()));
  return Step::kError;
}

bool BooksStatement::Reset(std::string* error) {
  if (!stmt_) {
    SetError(error, "statement not prepared");
    return false;
  }
  // sqlite3_reset repeats the last step's error; the step already reported it.
  sqlite3_reset(stmt_);
  if (sqlite3_clear_bindings(stmt_) == SQLITE_OK) return true;
  SetError(error, DbMessage(db_->handle()));
  return false;
}

std::int64_t BooksStatement::Int64(int column) const {
  return stmt_ ? sqlite3_column_int64(stmt_, column) : 0;
}

std::string BooksStatement::Text(int column) const { return std::string(TextView(column)); }

std::string_view BooksStatement::TextView(int column) const {
  if (!stmt_) return std::string_view();
  const unsigned char* text = sqlite3_column_text(stmt_, column);
  if (!text) return std::string_view();
  return std::string_view(reinterpret_cast<const char*>(text),
                          static_cast<std::size_t>(sqlite3_column_bytes(stmt_, column)));
}

} // namespace stmtlink

// Access to the books database (SQLite). BooksDb owns one connection;
// BooksStatement owns one prepared statement and keeps its connection alive,
// so a cursor that outlives a reset of the substitute still reads safely.
// Every call reports failure with the SQLite message; nothing throws.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

struct sqlite3;
struct sqlite3_stmt;

namespace stmtlink {

class BooksStatement;

// What a cache of the books' contents is valid for: one open connection and
// one data version of the file.
struct BooksStamp {
  std::uint64_t serial = 0;
  std::uint32_t version = 0;
  friend bool operator==(const BooksStamp&, const BooksStamp&) = default;
};

class BooksDb : public std::enable_shared_from_this<BooksDb> {
 public:
  enum class Mode {
    kReadOnly, // the substitute: the program never writes the books
    kCreate,   // the books tool: read-write, created when missing
  };

  // How long a statement waits for books locked by another writer before
  // it fails as busy.
  static constexpr int kDefaultBusyTimeoutMs = 3000;

  // Opens the file; false with *error set when it cannot be opened (a
  // read-only open of a missing file fails).
  static bool Open(const std::string& path, Mode mode, std::shared_ptr<BooksDb>* out,
                   std::string* error, int busy_timeout_ms = kDefaultBusyTimeoutMs);

  ~BooksDb();
  BooksDb(const BooksDb&) = delete;
  BooksDb& operator=(const BooksDb&) = delete;

  sqlite3* handle() const { return db_; }

  // The connection's serial number (unique in the process) and the file's
  // data version as this connection last saw it. SQLite moves the version
  // with every committed change, this connection's or another's, once a
  // statement has run after it; reading it costs no I/O. A cache built from
  // the books stays valid while the stamp stays the same. Asked again with
  // no statement stepped since, it answers from the last asking (the
  // caches ask millions of times in a ledger run).
  BooksStamp Stamp() const;

  bool Prepare(std::string_view sql, BooksStatement* out, std::string* error);
  // Runs statements that return no rows (schema, BEGIN, COMMIT).
  bool Exec(const char* sql, std::string* error);

 private:
  explicit BooksDb(sqlite3* db);
  friend class BooksStatement;
  sqlite3* db_;
  std::uint64_t serial_;
  std::uint64_t steps_ = 0;                 // statement steps on this connection
  mutable std::uint64_t stamped_steps_ = ~0ull; // steps_ at the last Stamp
  mutable BooksStamp stamp_;
};

class BooksStatement {
 public:
  enum class Step { kRow, kDone, kError };

  BooksStatement() = default;
  ~BooksStatement();
  BooksStatement(BooksStatement&& other) noexcept;
  BooksStatement& operator=(BooksStatement&& other) noexcept;
  BooksStatement(const BooksStatement&) = delete;
  BooksStatement& operator=(const BooksStatement&) = delete;

  bool valid() const { return stmt_ != nullptr; }

  // Parameters are numbered from 1, as in SQLite.
  bool BindInt64(int index, std::int64_t value, std::string* error);
  bool BindText(int index, std::string_view utf8, std::string* error);
  // The same without a copy: the text must stay as it is until the
  // statement has been stepped and reset.
  bool BindTextInPlace(int index, std::string_view utf8, std::string* error);
  // kError leaves the message in *error.
  Step Next(std::string* error);
  // Makes the statement ready to run again with new parameters.
  bool Reset(std::string* error);

  // Columns are numbered from 0. NULL reads as 0 and "".
  std::int64_t Int64(int column) const;
  std::string Text(int column) const;
  // The same text without a copy, good until the next step or reset.
  std::string_view TextView(int column) const;

 private:
  // SQLITE_TRANSIENT (SQLite copies the text) or SQLITE_STATIC (it does not).
  bool BindTextWith(int index, std::string_view utf8, void (*lifetime)(void*), std::string* error);
  friend class BooksDb;
  void Finalize();
  std::shared_ptr<BooksDb> db_;
  sqlite3_stmt* stmt_ = nullptr;
};

} // namespace stmtlink

#include "tests/support/books_builder.h"

#include <sqlite3.h>

#include <filesystem>

#include "host/substitute/books_schema.h"
#include "tests/support/temp_dir.h"

namespace stmtlink::testing {

BooksBuilder::BooksBuilder(const std::string& home) : home_(home) {
  std::error_code ignored;
  std::filesystem::create_directories(home + "/drive_c", ignored);
  if (sqlite3_open((home + "/books.db").c_str(), &db_) != SQLITE_OK) {
    sqlite3_close(db_);
    db_ = nullptr;
    return;
  }
  std::string error;
  if (!CreateBooksSchema(db_, &error) || !WriteHostIni(DefaultHostIni())) {
    sqlite3_close(db_);
    db_ = nullptr;
  }
}

BooksBuilder::~BooksBuilder() { sqlite3_close(db_); }

bool BooksBuilder::Exec(const std::string& sql) {
  return db_ != nullptr && sqlite3_exec(db_, sql.c_str(), nullptr, nullptr, nullptr) == SQLITE_OK;
}

bool BooksBuilder::AddDataSet(const DataSetRow& row) {
  if (db_ == nullptr) return false;
  sqlite3_stmt* stmt = nullptr;
  const char* sql =
      "INSERT INTO data_set (data_no, data_id, company_name, period_start, period_end,"
      " keeps_mfg_schedule, interim_closing, introduction_month, company_law, tax_included)"
      " VALUES (?,?,?,?,?,?,?,?,?,?)";
  if (sqlite3_prepare_v2(db_, sql, -1, &stmt, nullptr) != SQLITE_OK) return false;
  sqlite3_bind_int(stmt, 1, row.data_no);
  sqlite3_bind_text(stmt, 2, row.data_id.c_str(), -1, SQLITE_TRANSIENT);
  sqlite3_bind_text(stmt, 3, row.company_name.c_str(), -1, SQLITE_TRANSIENT);
  sqlite3_bind_int(stmt, 4, row.period_start);
  sqlite3_bind_int(stmt, 5, row.period_end);
  sqlite3_bind_int(stmt, 6, row.keeps_mfg_schedule);
  sqlite3_bind_int(stmt, 7, row.interim_closing);
  sqlite3_bind_int(stmt, 8, row.introduction_month);
  sqlite3_bind_int(stmt, 9, row.company_law);
  sqlite3_bind_int(stmt, 10, row.tax_included);
  bool ok = sqlite3_step(stmt) == SQLITE_DONE;
  sqlite3_finalize(stmt);
  return ok;
}

bool BooksBuilder::WriteHostIni(const std::string& content) {
  return WriteTextFile(home_ + "/host.ini", content);
}

std::string BooksBuilder::DefaultHostIni() {
  return "[User]\nCurrentUserID=USER01\nSelectedNo1=0\nSelectedNo2=1\n"
         "[Folders]\nAppFolder0=C:\\export\\\nAppFolder1=C:\\settings\\\n"
         "[Link]\nInitiate=0\nExpSysLink=0\n[Drives]\n";
}

} // namespace stmtlink::testing

// Builds a host home for a test, row by row: books.db with the full schema
// and exactly the rows the test adds, host.ini, drive_c/. Independent of the
// sample generator, so tests state their own data.
#pragma once

#include <string>

#include "tests/support/utf8.h"

struct sqlite3;

namespace stmtlink::testing {

struct DataSetRow {
  int data_no = 1;
  std::string data_id = "D0000001";
  std::string company_name = U8(u8"株式会社テスト"); // UTF-8
  int period_start = 20250401;
  int period_end = 20260331;
  int keeps_mfg_schedule = 0;
  int interim_closing = 0;
  int introduction_month = 0;
  int company_law = 1;
  int tax_included = 0;
};

class BooksBuilder {
 public:
  // Creates <home>/books.db (schema only), <home>/drive_c and a host.ini
  // selecting data set 1 for user USER01.
  explicit BooksBuilder(const std::string& home);
  ~BooksBuilder();
  BooksBuilder(const BooksBuilder&) = delete;
  BooksBuilder& operator=(const BooksBuilder&) = delete;

  bool ok() const { return db_ != nullptr; }
  // Runs SQL on the books; false on failure.
  bool Exec(const std::string& sql);
  bool AddDataSet(const DataSetRow& row);
  // Replaces host.ini with this UTF-8 content.
  bool WriteHostIni(const std::string& content);

  static std::string DefaultHostIni();

 private:
  std::string home_;
  sqlite3* db_ = nullptr;
};

} // namespace stmtlink::testing

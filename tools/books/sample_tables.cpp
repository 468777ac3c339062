#include "tools/books/sample_tables.h"

#include <cstdint>

namespace stmtlink {
namespace {

struct DataSetRow {
  std::int64_t data_no;
  const char* data_id;
  const char* company_name; // UTF-8, as the books keep it
  std::int64_t period_start;
  std::int64_t period_end;
  std::int64_t keeps_mfg_schedule;
  std::int64_t interim_closing;
  std::int64_t introduction_month;
  std::int64_t company_law;
  std::int64_t tax_included;
};

// u8 literals stay UTF-8 whatever the execution character set (CP932 here),
// which is what the books keep.
const char* Utf8(const char8_t* text) { return reinterpret_cast<const char*>(text); }

// Inserts each row with one prepared statement, checked at every step.
template <typename Row, typename Bind>
bool InsertRows(BooksDb& db, const char* sql, const Row* rows, std::size_t count, Bind bind,
                std::string* error) {
  BooksStatement insert;
  if (!db.Prepare(sql, &insert, error)) return false;
  for (std::size_t i = 0; i < count; ++i) {
    if (!bind(insert, rows[i], error)) return false;
    if (insert.Next(error) != BooksStatement::Step::kDone) return false;
    if (!insert.Reset(error)) return false;
  }
  return true;
}

} // namespace

bool WriteSampleDataSets(SampleContext& context, std::string* error) {
  static const DataSetRow kRows[] = {
      {1, "D0000001", Utf8(u8"株式会社　山桜商事"), 20250401, 20260331, 0, 0, 0, 1, 0},
  };
  auto bind = [](BooksStatement& s, const DataSetRow& r, std::string* e) {
    return s.BindInt64(1, r.data_no, e) && s.BindText(2, r.data_id, e) &&
           s.BindText(3, r.company_name, e) && s.BindInt64(4, r.period_start, e) &&
           s.BindInt64(5, r.period_end, e) && s.BindInt64(6, r.keeps_mfg_schedule, e) &&
           s.BindInt64(7, r.interim_closing, e) && s.BindInt64(8, r.introduction_month, e) &&
           s.BindInt64(9, r.company_law, e) && s.BindInt64(10, r.tax_included, e);
  };
  return InsertRows(context.db,
                    "INSERT INTO data_set (data_no, data_id, company_name, period_start, "
                    "period_end, keeps_mfg_schedule, interim_closing, introduction_month, "
                    "company_law, tax_included) VALUES (?1, ?2, ?3, ?4, ?5, ?6, ?7, ?8, ?9, ?10)",
                    kRows, std::size(kRows), bind, error);
}

bool WriteSampleEras(SampleContext& context, std::string* error) {
  struct EraRow {
    std::int64_t first_day;
    const char* name;
    const char* abbreviation;
  };
  static const EraRow kRows[] = {
      {18681023, Utf8(u8"明治"), "M"},
      {19120730, Utf8(u8"大正"), "T"},
      {19261225, Utf8(u8"昭和"), "S"},
      {19890108, Utf8(u8"平成"), "H"},
      {20190501, Utf8(u8"令和"), "R"},
  };
  auto bind = [](BooksStatement& s, const EraRow& r, std::string* e) {
    return s.BindInt64(1, r.first_day, e) && s.BindText(2, r.name, e) &&
           s.BindText(3, r.abbreviation, e);
  };
  return InsertRows(context.db, "INSERT INTO era (first_day, name, abbreviation) VALUES (?1, ?2, ?3)",
                    kRows, std::size(kRows), bind, error);
}

} // namespace stmtlink

#include "tools/books/home_info.h"

#include <cerrno>
#include <cstdlib>
#include <map>
#include <memory>

#include "host/substitute/books_db.h"
#include "platform/ini_file.h"
#include "tools/books/books_language.h"
#include "tools/books/sql_statement.h"

namespace stmtlink {
namespace {

std::string IniValue(const IniFile& ini, const char* section, const char* key) {
  std::string value;
  return ini.Get(section, key, &value) ? value : std::string("(unset)");
}

// The data_no that a selection number names, as the substitute reads it
// (missing or not a whole number: 0).
long long SelectionNumber(const IniFile& ini, const char* key) {
  std::string value;
  if (!ini.Get("User", key, &value) || value.empty()) return 0;
  char* end = nullptr;
  errno = 0;
  long long number = std::strtoll(value.c_str(), &end, 10);
  return errno == 0 && *end == '\0' ? number : 0;
}

} // namespace

bool WriteHomeInfo(const std::string& home, std::ostream& out, std::string* error) {
  std::string ignored;
  if (!error) error = &ignored;
  std::shared_ptr<BooksDb> db;
  if (!BooksDb::Open(home + "/books.db", BooksDb::Mode::kReadOnly, &db, error)) return false;
  SqlStatement data_sets(error);
  if (!data_sets.Prepare(*db,
                         "SELECT data_no, data_id, company_name, period_start, period_end, "
                         "keeps_mfg_schedule, interim_closing, introduction_month, company_law, "
                         "tax_included FROM data_set ORDER BY data_no"))
    return false;

  out << Say("Host home: {0}\nData sets:\n", u8"ホーム: {0}\nデータ:\n", {home});
  std::map<long long, std::string> names; // data_no -> company name
  const bool listed = data_sets.ForEachRow([&](const BooksStatement& row) {
    names[row.Int64(0)] = row.Text(2);
    out << "  " << row.Int64(0) << "  " << row.Text(1) << "  " << row.Text(2) << "  "
        << row.Int64(3) << "-" << row.Int64(4) << "  mfg-schedule=" << row.Int64(5)
        << " interim-closing=" << row.Int64(6) << " introduction-month=" << row.Int64(7)
        << " company-law=" << row.Int64(8) << " tax-included=" << row.Int64(9) << "\n";
  });
  if (!listed) return false;
  if (names.empty()) out << Say("  (none)\n", u8"  (なし)\n");

  // host.ini is optional: a home without it has every key at its default.
  IniFile ini;
  if (!IniFile::Load(home + "/host.ini", &ini))
    out << Say("host.ini: missing\n", u8"host.ini: なし\n");
  out << Say("User: {0}  selection: SelectedNo1={1} SelectedNo2={2}\n",
             u8"利用者: {0}  選択: SelectedNo1={1} SelectedNo2={2}\n",
             {IniValue(ini, "User", "CurrentUserID"), IniValue(ini, "User", "SelectedNo1"),
              IniValue(ini, "User", "SelectedNo2")});
  auto selected = names.find(SelectionNumber(ini, "SelectedNo2"));
  if (selected == names.end())
    out << Say("Selected data set: none (no data set has the number SelectedNo2)\n",
               u8"選ばれたデータ: なし (SelectedNo2 の番号のデータがありません)\n");
  else
    out << Say("Selected data set: {0}  {1}\n", u8"選ばれたデータ: {0}  {1}\n",
               {std::to_string(selected->first), selected->second});
  return true;
}

} // namespace stmtlink

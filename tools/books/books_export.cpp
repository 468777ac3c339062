#include "tools/books/books_export.h"

#include <cerrno>
#include <cstdlib>
#include <filesystem>
#include <memory>

#include "host/substitute/books_db.h"
#include "platform/ini_file.h"
#include "tools/books/books_language.h"
#include "tools/books/chart_csv.h"
#include "tools/books/journal_csv.h"
#include "platform/env.h"
#include "platform/replacing_stream.h"
#include "tools/books/side_files_csv.h"
#include "tools/books/sql_statement.h"

namespace stmtlink {
namespace {

namespace fs = std::filesystem;

bool LoadChart(BooksDb& db, std::int64_t data_no, std::vector<ChartAccount>* accounts,
               std::vector<ChartMember>* members, std::string* error) {
  SqlStatement rows(error), masks(error);
  return rows.Prepare(db,
                      "SELECT code, seq, formal_name, statement_name, nature, line_type, "
                      "normal_side, ledger_excluded_a, ledger_excluded_b FROM account "
                      "WHERE data_no = ?1 ORDER BY seq, code",
                      data_no) &&
         rows.ForEachRow([&](const BooksStatement& row) {
           ChartAccount a;
           a.code = row.Int64(0);
           a.seq = row.Int64(1);
           a.formal_name = row.Text(2);
           a.statement_name = row.Text(3);
           a.nature = static_cast<std::uint32_t>(row.Int64(4));
           a.line_type = static_cast<int>(row.Int64(5));
           a.normal_side = static_cast<int>(row.Int64(6));
           a.ledger_excluded_a = row.Int64(7) != 0;
           a.ledger_excluded_b = row.Int64(8) != 0;
           accounts->push_back(std::move(a));
         }) &&
         masks.Prepare(db,
                       "SELECT total_code, member_mask FROM total_member WHERE data_no = ?1 "
                       "ORDER BY rowid",
                       data_no) &&
         masks.ForEachRow([&](const BooksStatement& row) {
           members->push_back({row.Int64(0), static_cast<std::uint32_t>(row.Int64(1))});
         });
}

// The data set host.ini selects when the books have it, else the first.
bool ChooseDataSet(BooksDb& db, const std::string& home, std::int64_t* data_no,
                   std::string* error) {
  IniFile ini;
  std::string value;
  if (IniFile::Load(home + "/host.ini", &ini) && ini.Get("User", "SelectedNo2", &value)) {
    char* end = nullptr;
    errno = 0;
    const long long selected = std::strtoll(value.c_str(), &end, 10);
    DataSetValues ignored;
    std::string missing;
    if (errno == 0 && *end == '\0' && LoadDataSet(db, selected, &ignored, &missing)) {
      *data_no = selected;
      return true;
    }
  }
  SqlStatement first(error);
  if (!first.Prepare(db, "SELECT data_no FROM data_set ORDER BY data_no LIMIT 1")) return false;
  const BooksStatement::Step step = first.Next();
  if (step == BooksStatement::Step::kRow)
    *data_no = first.row().Int64(0);
  else if (step == BooksStatement::Step::kDone)
    *error = Say("the books have no data set", u8"帳簿にデータがありません");
  return step == BooksStatement::Step::kRow;
}

// Writes one file under a temporary name, put in place only when whole,
// so a failure leaves the file that was there (or none).
template <typename Write>
bool WriteFile(const fs::path& path, Write write, std::string* error) {
  ReplacingStream out(ReplacingFile::Open(Env::Current(), path.string()));
  if (!out.opened()) {
    *error = Say("cannot write {0} (not a file, or not writable)",
                 u8"{0} を書けません (ファイルでないか、書き込めません)", {path.string()});
    return false;
  }
  if (!write(out)) return false; // *error says why; the temporary goes with out
  if (out.Commit()) return true;
  *error = Say("cannot write {0}", u8"{0} を書けません", {path.string()});
  return false;
}

} // namespace

bool ExportBooks(const ExportOptions& options, std::string* summary, std::string* error) {
  const fs::path folder(options.folder);
  std::error_code ec;
  if (!options.replace)
    for (const char* name : kExportFiles)
      if (fs::exists(folder / name, ec)) {
        *error = Say("{0} already exists; give --replace to overwrite it",
                     u8"{0} はもうあります。上書きするには --replace を付けてください",
                     {(folder / name).string()});
        return false;
      }
  std::shared_ptr<BooksDb> db;
  if (!BooksDb::Open(options.home + "/books.db", BooksDb::Mode::kReadOnly, &db, error))
    return false;
  std::int64_t data_no = options.data_no;
  if (data_no == 0 && !ChooseDataSet(*db, options.home, &data_no, error)) return false;
  DataSetValues data_set;
  std::vector<ChartAccount> accounts;
  std::vector<ChartMember> members;
  // One read transaction: every file shows the same state of the books.
  if (!db->Exec("BEGIN", error) || !LoadDataSet(*db, data_no, &data_set, error) ||
      !LoadChart(*db, data_no, &accounts, &members, error))
    return false;
  fs::create_directories(folder, ec);
  if (ec) {
    *error = Say("cannot create {0}: {1}", u8"{0} を作れません: {1}", {folder.string(), ec.message()});
    return false;
  }
  const FiscalPeriod period{data_set.period_start, data_set.period_end};
  const bool written =
      WriteFile(
          folder / "company.csv",
          [&](std::ostream& out) {
            WriteCompanyCsv(data_set, out);
            return true;
          },
          error) &&
      WriteFile(
          folder / "chart.csv",
          [&](std::ostream& out) {
            WriteChartCsv(accounts, members, out);
            return true;
          },
          error) &&
      WriteFile(
          folder / "opening.csv",
          [&](std::ostream& out) { return WriteOpeningCsv(*db, data_no, out, error); }, error) &&
      WriteFile(
          folder / "journal.csv",
          [&](std::ostream& out) { return WriteJournalCsv(*db, data_no, period, out, error); },
          error) &&
      WriteFile(
          folder / "notes.csv",
          [&](std::ostream& out) { return WriteNotesCsv(*db, data_no, out, error); }, error);
  if (!written) return false;
  *summary = Say("Exported data set {0} ({1}) to {2}: company.csv, chart.csv, opening.csv, "
                 "journal.csv, notes.csv\n",
                 u8"データ {0} ({1}) を {2} に書き出しました: company.csv, chart.csv, "
                 u8"opening.csv, journal.csv, notes.csv\n",
                 {std::to_string(data_no), data_set.company_name, folder.string()});
  return db->Exec("COMMIT", error);
}

} // namespace stmtlink

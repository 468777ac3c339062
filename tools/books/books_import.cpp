#include "tools/books/books_import.h"

#include <deque>
#include <filesystem>
#include <memory>
#include <cstdint>
#include <set>
#include <tuple>

#include "host/substitute/books_db.h"
#include "host/substitute/books_schema.h"
#include "platform/env.h"
#include "platform/ini_file.h"
#include "platform/replacing_file.h"
#include "tools/books/book_values.h"
#include "tools/books/books_language.h"
#include "tools/books/books_replacement.h"
#include "tools/books/chart_csv.h"
#include "tools/books/era_table.h"
#include "tools/books/hledger_csv.h"
#include "tools/books/home_lock.h"
#include "tools/books/journal_csv.h"
#include "tools/books/journal_writer.h"
#include "tools/books/sample_host_ini.h"
#include "tools/books/side_files_csv.h"
#include "tools/books/sql_statement.h"
#include "tools/books/user_text.h"

namespace stmtlink {
namespace {

namespace fs = std::filesystem;


// The real era table, as every host keeps it.
bool WriteEras(BooksDb& db, std::string* error) {
  SqlStatement s(error);
  if (!s.Prepare(db, "INSERT INTO era (first_day, name, abbreviation) VALUES (?1, ?2, ?3)"))
    return false;
  for (const Era& era : kEras)
    if (!s.Run(era.first_day, era.name, era.abbreviation)) return false;
  return true;
}

bool Load(const std::string& path, const ImportOptions& options, CsvFile* file,
          ImportProblems* problems) {
  return CsvFile::Load(path, options.encoding, file, problems);
}

// The data set from the company file and the options.
DataSetValues DataSetOf(const ImportOptions& options, ImportProblems* problems) {
  DataSetValues v;
  CsvFile file;
  if (!options.company.empty() && Load(options.company, options, &file, problems))
    ReadCompanyCsv(file, &v, problems);
  if (!options.company_name.empty()) v.company_name = options.company_name;
  if (options.period_start != 0) {
    v.period_start = options.period_start;
    v.period_end = options.period_end;
  }
  if (options.tax_included >= 0) v.tax_included = options.tax_included;
  if (options.manufacturing >= 0) v.keeps_mfg_schedule = options.manufacturing;
  if (options.interim >= 0) v.interim_closing = options.interim;
  // A value that came from the company file is refused with its file and
  // line; one from an option (or none at all) names the option.
  const auto refuse = [&](const char* field, bool from_option, const std::string& message) {
    auto given = v.file_lines.find(field);
    if (!from_option && given != v.file_lines.end())
      problems->Add(options.company, given->second, 2, message);
    else
      problems->Add(message);
  };
  std::string why;
  if (v.company_name.empty())
    problems->Add(options.company.empty()
                      ? Say("no company name: give --company NAME",
                            u8"会社名がありません: --company 会社名 で指定してください")
                      : Say("no company name: give --company NAME or a company_name line in {0}",
                            u8"会社名がありません: --company 会社名 か {0} の company_name の行で"
                            u8"指定してください",
                            {options.company}));
  else if (!FitsReportText(v.company_name, &why))
    refuse("company_name", !options.company_name.empty(),
           Say("the company name {0}", u8"会社名が{0}", {why}));
  if (v.period_start != 0) {
    const FiscalPeriod year = FiscalPeriod::YearFrom(v.period_start);
    if (v.period_end < v.period_start || v.period_end > year.end)
      refuse("period_end", options.period_start != 0,
             Say("the period {0} to {1} is not one fiscal year of at most twelve months",
                 u8"会計期間 {0} から {1} が、12 か月以内の一事業年度ではありません",
                 {FormatBookDate(v.period_start), FormatBookDate(v.period_end)}));
  }
  if (v.data_no < 1 || v.data_no > 0x7FFFFFFF)
    refuse("data_no", false,
           Say("data_no must be from 1 to 2147483647", u8"data_no は 1 から 2147483647 です"));
  return v;
}

bool InsertDataSet(BooksDb& db, const DataSetValues& v, std::string* error) {
  SqlStatement s(error);
  return s.Prepare(db,
                   "INSERT INTO data_set (data_no, data_id, company_name, period_start, "
                   "period_end, keeps_mfg_schedule, interim_closing, introduction_month, "
                   "company_law, tax_included) VALUES (?1, ?2, ?3, ?4, ?5, ?6, ?7, ?8, ?9, ?10)") &&
         s.Run(v.data_no, v.data_id, v.company_name, v.period_start, v.period_end,
               v.keeps_mfg_schedule, v.interim_closing, v.introduction_month, v.company_law,
               v.tax_included);
}

bool InsertChart(BooksDb& db, std::int64_t data_no, const ImportedChart& chart,
                 std::string* error) {
  SqlStatement a(error), m(error);
  if (!a.Prepare(db, "INSERT INTO account (data_no, code, seq, formal_name, statement_name, "
                     "nature, line_type, normal_side, ledger_excluded_a, ledger_excluded_b) "
                     "VALUES (?1, ?2, ?3, ?4, ?5, ?6, ?7, ?8, ?9, ?10)") ||
      !m.Prepare(db, "INSERT INTO total_member (data_no, total_code, member_mask) "
                     "VALUES (?1, ?2, ?3)"))
    return false;
  for (const ChartAccount& c : chart.accounts)
    if (!a.Run(data_no, c.code, c.seq, c.formal_name, c.statement_name, c.nature, c.line_type,
               c.normal_side, c.ledger_excluded_a, c.ledger_excluded_b))
      return false;
  for (const ChartMember& c : chart.members)
    if (!m.Run(data_no, c.total_code, c.mask)) return false;
  return true;
}

bool InsertOpening(BooksDb& db, std::int64_t data_no, const OpeningBalances& opening,
                   std::string* error) {
  SqlStatement s(error);
  if (!s.Prepare(db, "INSERT INTO opening_balance (data_no, code, debit, credit) "
                     "VALUES (?1, ?2, ?3, ?4)"))
    return false;
  for (const auto& [code, b] : opening)
    if (!s.Run(data_no, code, b.debit, b.credit)) return false;
  return true;
}

bool InsertNotes(BooksDb& db, std::int64_t data_no, const StatementSettings& notes,
                 std::string* error) {
  SqlStatement s(error);
  if (!s.Prepare(db, "INSERT INTO statement_setting (data_no, kind, text) VALUES (?1, ?2, ?3)"))
    return false;
  for (const auto& [kind, text] : notes)
    if (!s.Run(data_no, kind, text)) return false;
  return true;
}

// host.ini for a home that has none: the sample's, selecting this data set.
bool WriteHostIniIfMissing(const fs::path& home, std::int64_t data_no, std::string* error) {
  std::error_code ec;
  if (fs::exists(home / "host.ini", ec)) return true;
  SampleOptions sample;
  sample.home = home.string();
  for (const std::string& folder : SampleAppFolders(sample)) fs::create_directories(folder, ec);
  std::string text = SampleHostIniText(sample);
  const std::string selected = "SelectedNo2=1";
  if (std::size_t at = text.find(selected); at != std::string::npos)
    text.replace(at, selected.size(), "SelectedNo2=" + std::to_string(data_no));
  if (ReplaceFileContents(Env::Current(), (home / "host.ini").string(), text)) return true;
  *error = Say("cannot write {0}", u8"{0} を書けません", {(home / "host.ini").string()});
  return false;
}

// The balances carried into the year are a balance sheet: its debits must
// equal its credits, or every statement of the year is off by the gap.
void CheckOpeningBalances(const OpeningBalances& opening, const std::string& file,
                          ImportProblems* problems) {
  __int128 debits = 0, credits = 0;
  for (const auto& [code, b] : opening) {
    debits += b.debit;
    credits += b.credit;
  }
  if (debits == credits) return;
  auto yen = [](__int128 units) {
    return units > INT64_MAX || units < -INT64_MAX
               ? std::string("(beyond range)")
               : FormatYenForPeople(static_cast<std::int64_t>(units));
  };
  problems->Add(file + ": " +
                Say("the opening balances do not balance: debits {0} yen, credits {1} yen "
                    "(book a difference that is meant to \xE6\x9C\xAA\xE7\xA2\xBA\xE5\xAE\x9A"
                    "\xE5\x8B\x98\xE5\xAE\x9A)",
                    u8"期首残高の貸借が一致しません: 借方 {0} 円、貸方 {1} 円 (意図した差額は"
                    u8"未確定勘定に計上してください)",
                    {yen(debits), yen(credits)}));
}

// Sub-accounts the journal named and the import made: each after the last
// sub-account of its main account, the positions renumbered.
void AddSubAccounts(const std::deque<ChartAccount>& added, ImportedChart* chart) {
  for (const ChartAccount& sub : added) {
    std::vector<ChartAccount>& a = chart->accounts;
    std::size_t at = 0;
    for (std::size_t i = 0; i < a.size(); ++i)
      if (a[i].code / 10000 == sub.code / 10000) at = i + 1;
    a.insert(a.begin() + static_cast<std::ptrdiff_t>(at), sub);
  }
  for (std::size_t i = 0; i < chart->accounts.size(); ++i)
    chart->accounts[i].seq = static_cast<std::int64_t>(i + 1);
  chart->added = added.size();
}

struct Summary {
  std::uint64_t accounts = 0, entries = 0, lines = 0, opening = 0, added_subs = 0;
  long empty_rows = 0; // of the journal, skipped
  std::vector<std::string> unread_columns; // of the journal, skipped
  bool period_from_journal = false;
  DataSetValues data_set;
};

// Reads every file into a new books file; false when anything was wrong.
bool BuildBooks(const ImportOptions& options, const fs::path& file, Summary* summary,
                ImportProblems* problems, ImportProblems* notes_out, ChangedLines* joined,
                std::string* error) {
  DataSetValues data_set = DataSetOf(options, problems);
  ImportedChart chart;
  CsvFile chart_file;
  const std::string chart_path = options.chart.empty() ? StandardChartPath() : options.chart;
  // The chart's problems end the reading: the other files name its
  // accounts. The data set's problems are kept and reported with the rest.
  const std::size_t before_chart = problems->count();
  // The shipped chart is UTF-8 whatever the user's files are.
  const TextEncoding chart_encoding = options.chart.empty() ? TextEncoding::kUtf8 : options.encoding;
  if (CsvFile::Load(chart_path, chart_encoding, &chart_file, problems))
    ReadChartCsv(chart_file, data_set.keeps_mfg_schedule != 0, &chart, problems);
  if (problems->count() != before_chart) return false;
  AccountFinder accounts(chart.accounts);

  OpeningBalances opening;
  CsvFile side_file;
  if (!options.opening.empty() && Load(options.opening, options, &side_file, problems))
    ReadOpeningCsv(side_file, accounts, &opening, problems);
  StatementSettings notes;
  if (!options.notes.empty() && Load(options.notes, options, &side_file, problems))
    ReadNotesCsv(side_file, &notes, problems);
  AccountMap map;
  if (!options.map.empty() && Load(options.map, options, &side_file, problems))
    ReadAccountMap(side_file, accounts, &map, problems);

  std::shared_ptr<BooksDb> db;
  if (!BooksDb::Open(file.string(), BooksDb::Mode::kCreate, &db, error) ||
      !db->Exec("PRAGMA journal_mode = OFF", error) || !CreateBooksSchema(db->handle(), error) ||
      // The journal's date index is built once at the end: faster than
      // keeping it up to date line by line.
      !db->Exec("DROP INDEX journal_line_by_date", error) || !db->Exec("BEGIN", error))
    return false;
  JournalWriter writer(*db, data_set.data_no,
                       FiscalPeriod{data_set.period_start, data_set.period_end}, &opening,
                       problems);
  if (!writer.Prepare(error)) return false;
  CsvFile journal;
  if (options.journal.empty()) {
    problems->Add(Say("no journal: give --journal JOURNAL.csv",
                      u8"仕訳がありません: --journal 仕訳.csv で指定してください"));
  } else if (Load(options.journal, options, &journal, problems)) {
    CsvRecord header; // the header decides the format
    ImportProblems ignored;
    const bool hledger = journal.Next(&header, &ignored) && LooksLikeHledgerCsv(header);
    journal.Rewind();
    if (hledger)
      ReadHledgerCsv(journal, accounts, map, &writer, problems, joined);
    else
      ReadJournalCsv(journal, accounts, &writer, problems,
                     JournalReadOptions{options.amounts_exclude_tax, options.tax_rounding,
                                        options.create_sub_accounts, notes_out, joined, &map,
                                        options.strict, &summary->unread_columns,
                                        data_set.interim_closing != 0});
  }
  writer.Finish();
  CheckOpeningBalances(opening, options.opening.empty() ? options.journal : options.opening,
                       problems);
  if (!problems->empty()) return false;
  if (writer.period_from_journal()) {
    data_set.period_start = writer.period().start;
    data_set.period_end = writer.period().end;
  }
  if (data_set.period_start == 0) {
    problems->Add(Say("no period: give --period YYYYMMDD-YYYYMMDD (the journal has no lines)",
                      u8"会計期間がありません: --period YYYYMMDD-YYYYMMDD で指定してください"
                      u8" (仕訳に行がありません)"));
    return false;
  }
  AddSubAccounts(accounts.added(), &chart);
  if (!InsertDataSet(*db, data_set, error) || !WriteEras(*db, error) ||
      !InsertChart(*db, data_set.data_no, chart, error) ||
      !InsertOpening(*db, data_set.data_no, opening, error) ||
      !InsertNotes(*db, data_set.data_no, notes, error) ||
      !CreateBooksSchema(db->handle(), error) || !db->Exec("COMMIT", error))
    return false;
  summary->accounts = chart.accounts.size();
  summary->added_subs = chart.added;
  summary->entries = writer.entries();
  summary->lines = writer.lines();
  summary->opening = opening.size();
  summary->period_from_journal = writer.period_from_journal();
  summary->empty_rows = journal.empty_rows();
  summary->data_set = data_set;
  return true;
}

// What the import says when it is done: what it imported, and its notes.
std::string SummaryText(const ImportOptions& options, const Summary& summary,
                        const std::string& note, const ChangedLines& joined,
                        const ImportProblems& notes) {
  const fs::path home(options.home);
  const DataSetValues& d = summary.data_set;
  std::string text =
      Say("Imported {0} (data set {1}, {2} to {3}{4}): {5} accounts, {6} opening balances, {7} "
          "entries, {8} journal lines into {9}\n",
          u8"{0} をインポートしました (データ {1}、{2} から {3}{4}): 勘定科目 {5}、期首残高 {6}、"
          u8"仕訳 {7} 件 ({8} 行) を {9} へ\n",
          {TextForMessage(d.company_name), std::to_string(d.data_no), FormatBookDate(d.period_start),
           FormatBookDate(d.period_end),
           summary.period_from_journal
               ? Say(", from the journal's first date", u8"、仕訳の最初の日付から")
               : std::string(),
           std::to_string(summary.accounts), std::to_string(summary.opening),
           std::to_string(summary.entries), std::to_string(summary.lines),
           (home / "books.db").string()}) +
      note;
  if (summary.added_subs > 0)
    text += Say(summary.added_subs == 1
                             ? "Note: 1 sub-account was added for the journal's new sub-account "
                               "names.\n"
                             : "Note: {0} sub-accounts were added for the journal's new "
                               "sub-account names.\n",
                         u8"注: 仕訳の新しい補助科目名に、補助科目を {0} 件追加しました。\n",
                         {std::to_string(summary.added_subs)});
  if (summary.empty_rows > 0)
    text += Say(summary.empty_rows == 1
                             ? "Note: 1 empty row of {1} (separators or spaces only) skipped.\n"
                             : "Note: {0} empty rows of {1} (separators or spaces only) skipped.\n",
                         u8"注: {1} の空の行 (区切りか空白だけ) {0} 行を読み飛ばしました。\n",
                         {std::to_string(summary.empty_rows), options.journal});
  if (!summary.unread_columns.empty()) {
    std::string names;
    for (const std::string& name : summary.unread_columns)
      names += (names.empty() ? "'" : ", '") + TextForMessage(name) + "'";
    text +=
        Say(summary.unread_columns.size() == 1
                ? "Note: the column {0} of {1} was not read (the import does not know it; "
                  "--strict refuses it).\n"
                : "Note: the columns {0} of {1} were not read (the import does not know them; "
                  "--strict refuses them).\n",
            u8"注: {1} の列 {0} は読みませんでした (インポートの知らない列です。--strict では"
            u8"断ります)。\n",
            {names, options.journal});
  }
  if (!joined.empty())
    text +=
        Say(joined.count() == 1 ? "Note: the descriptions of {0} line {1} held line breaks or tabs; "
                                  "each run of them became one space.\n"
                                : "Note: the descriptions of {0} lines {1} held line breaks or "
                                  "tabs; each run of them became one space.\n",
            u8"注: {0} の {1} 行目の摘要に改行かタブがありました。続くものごとに空白一つに"
            u8"しました。\n",
            {options.journal, joined.Text()});
  if (!notes.empty())
    text += Say("Notes on the journal:\n", u8"仕訳についての注:\n") + notes.Text();
  return text;
}

} // namespace

std::string StandardChartPath() {
  std::error_code ec;
  const fs::path self = fs::read_symlink("/proc/self/exe", ec);
  return (ec ? fs::path(".") : self.parent_path()) / "stmtlink-standard-chart.csv";
}

ImportStatus ImportBooks(const ImportOptions& options, std::string* summary_text,
                         std::string* messages) {
  const fs::path home(options.home);
  HomeLock::Failure failure;
  std::string error;
  const std::unique_ptr<HomeLock> lock =
      HomeLock::Acquire(options.home, options.lock_timeout_ms, options.on_wait, &failure, &error);
  if (!lock) {
    *messages = error + "\n";
    return failure == HomeLock::Failure::kBusy ? ImportStatus::kRefused : ImportStatus::kFailed;
  }
  std::error_code ec;
  if (fs::exists(home / "books.db", ec) && !options.replace) {
    *messages = Say("{0} already holds books; give --replace to replace them (the old ones are "
                    "kept as books.db.bak)\n",
                    u8"{0} にはもう帳簿があります。置き換えるには --replace を付けてください"
                    u8" (古い帳簿は books.db.bak に残ります)\n",
                    {(home / "books.db").string()});
    return ImportStatus::kRefused;
  }
  RemoveLeftoverBooks(options.home);
  NewBooks fresh;
  if (!PrepareNewBooks(options.home, &fresh, &error)) {
    lock->RemoveMadeHome();
    *messages = error + "\n";
    return ImportStatus::kFailed;
  }
  ImportProblems problems, notes;
  ChangedLines joined;
  Summary summary;
  const bool built =
      BuildBooks(options, fresh.temporary, &summary, &problems, &notes, &joined, &error);
  if (!built || !problems.empty()) {
    fs::remove(fresh.temporary, ec);
    lock->RemoveMadeHome(); // a home made for nothing goes again
    if (!problems.empty()) {
      *messages = problems.Text() + Say("Nothing was imported.\n",
                                        u8"何もインポートしませんでした。\n");
      return ImportStatus::kRefused;
    }
    *messages = Say("cannot write the new books {0}: {1}\n", u8"新しい帳簿 {0} を書けません: {1}\n",
                    {fresh.temporary, error});
    return ImportStatus::kFailed;
  }
  fs::create_directories(home / "drive_c", ec);
  if (!PutBooksInPlace(options.home, fresh, &error) ||
      !WriteHostIniIfMissing(home, summary.data_set.data_no, &error)) {
    *messages = error + "\n";
    return ImportStatus::kFailed;
  }
  const DataSetValues& d = summary.data_set;
  std::string note;
  IniFile ini;
  std::string selected;
  if (IniFile::Load((home / "host.ini").string(), &ini) &&
      ini.Get("User", "SelectedNo2", &selected) && selected != std::to_string(d.data_no))
    note = Say("Note: host.ini selects data set {0}; set SelectedNo2={1} in its [User] section "
               "to open these books.\n",
               u8"注: host.ini はデータ {0} を選んでいます。この帳簿を開くには [User] の"
               u8" SelectedNo2={1} にしてください。\n",
               {TextForMessage(selected), std::to_string(d.data_no)});
  *summary_text = SummaryText(options, summary, note, joined, notes);
  return ImportStatus::kImported;
}

} // namespace stmtlink

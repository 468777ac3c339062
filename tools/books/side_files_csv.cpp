#include "tools/books/side_files_csv.h"

#include <cstdlib>

#include "tools/books/books_language.h"
#include "tools/books/book_values.h"
#include "tools/books/sql_statement.h"
#include "tools/books/user_text.h"
#include "tools/books/utf8_literal.h"

namespace stmtlink {
namespace {


// The company file's fields by their Japanese names too.
std::string_view CompanyField(std::string_view field) {
  static const std::pair<const char8_t*, const char*> kJapanese[] = {
      {u8"データ番号", "data_no"},          {u8"会社名", "company_name"},
      {u8"会計期間開始日", "period_start"}, {u8"期首日", "period_start"},
      {u8"会計期間終了日", "period_end"},   {u8"期末日", "period_end"},
      {u8"製造原価報告書", "keeps_mfg_schedule"}, {u8"中間決算", "interim_closing"},
      {u8"導入月", "introduction_month"},   {u8"会社法", "company_law"},
      {u8"税込経理", "tax_included"}};
  for (const auto& [japanese, name] : kJapanese)
    if (field == U(japanese)) return name;
  return field;
}

bool ParseNumber(std::string_view text, std::int64_t* out) {
  if (text.empty() || text.size() > 10 ||
      text.find_first_not_of("0123456789") != std::string_view::npos)
    return false;
  *out = std::atoll(std::string(text).c_str());
  return true;
}

// The header, checked; false when the file cannot be read further.
bool ReadHeader(CsvFile& file, const std::vector<std::string_view>& known, CsvColumns* columns,
                ImportProblems* problems) {
  CsvRecord header;
  if (!file.Next(&header, problems)) {
    problems->Add(file.name() + ": " + Say("the file is empty", u8"ファイルが空です"));
    return false;
  }
  if (!columns->Read(file, header, known, problems)) return false;
  for (std::string_view name : known)
    if (!columns->Has(name.substr(0, name.find('|')))) {
      std::string spellings(name);
      for (char& c : spellings)
        if (c == '|') c = '/';
      problems->Add(file.name(), header.line, 0,
                    Say("the header has no column '{0}' ({1})",
                        u8"見出しに列 '{0}' がありません ({1})",
                        {name.substr(0, name.find('|')), spellings}));
      return false;
    }
  return true;
}

} // namespace

void ReadCompanyCsv(CsvFile& file, DataSetValues* v, ImportProblems* problems) {
  CsvColumns columns;
  if (!ReadHeader(file, {U(u8"field|項目"), U(u8"value|値|内容")}, &columns, problems)) return;
  const int c_field = columns.Index("field"), c_value = columns.Index("value");
  struct Number {
    const char* name;
    std::int64_t* value;
    bool date;
  } const numbers[] = {
      {"data_no", &v->data_no, false},
      {"period_start", &v->period_start, true},
      {"period_end", &v->period_end, true},
      {"keeps_mfg_schedule", &v->keeps_mfg_schedule, false},
      {"interim_closing", &v->interim_closing, false},
      {"introduction_month", &v->introduction_month, false},
      {"company_law", &v->company_law, false},
      {"tax_included", &v->tax_included, false},
  };
  CsvRecord record;
  while (file.Next(&record, problems)) {
    if (!columns.Fits(file, record, problems)) continue;
    const std::string_view field = CompanyField(CsvColumns::Field(record, c_field));
    const std::string_view value = CsvColumns::Field(record, c_value);
    auto bad = [&](const std::string& message) {
      problems->Add(file.name(), record.line, c_value + 1, message);
    };
    v->file_lines[std::string(field)] = record.line;
    if (field == "company_name" || field == "data_id") {
      // The company name is checked where it is settled, since an option
      // may take its place (books_import).
      const std::string_view text = WithoutFormulaGuard(value);
      std::string why;
      if (field == "data_id" && !FitsReportText(text, &why)) bad(Say("the text {0}", u8"値が{0}", {why}));
      (field == "company_name" ? v->company_name : v->data_id) = text;
      continue;
    }
    bool known = false;
    for (const Number& n : numbers) {
      if (field != n.name) continue;
      known = true;
      const bool ok = n.date ? ParseBookDate(value, n.value) : ParseNumber(value, n.value);
      if (!ok)
        bad(n.date ? Say("{0} '{1}' is not a calendar day ({2})",
                         u8"{0} '{1}' が実在する日ではありません ({2})",
                         {n.name, TextForMessage(value), DateForms()})
                   : Say("{0} '{1}' is not a whole number", u8"{0} '{1}' が整数ではありません",
                         {n.name, TextForMessage(value)}));
    }
    if (!known)
      problems->Add(file.name(), record.line, c_field + 1,
                    Say("unknown field '{0}'", u8"項目 '{0}' はありません", {TextForMessage(field)}));
  }
}

void ReadOpeningCsv(CsvFile& file, const AccountFinder& accounts, OpeningBalances* balances,
                    ImportProblems* problems) {
  CsvColumns columns;
  if (!ReadHeader(file,
                  {U(u8"account|勘定科目|科目"), U(u8"debit|借方|借方残高|借方金額"),
                   U(u8"credit|貸方|貸方残高|貸方金額")},
                  &columns, problems))
    return;
  const int c_account = columns.Index("account"), c_debit = columns.Index("debit"),
            c_credit = columns.Index("credit");
  CsvRecord record;
  std::string why;
  while (file.Next(&record, problems)) {
    if (!columns.Fits(file, record, problems)) continue;
    auto bad = [&](int column, const std::string& message) {
      problems->Add(file.name(), record.line, column + 1, message);
    };
    std::int64_t code = 0;
    OpeningBalance b;
    b.line = record.line;
    const std::string_view account =
        WithoutFormulaGuard(WithoutOuterSpaces(CsvColumns::Field(record, c_account)));
    if (!accounts.Find(account, &code, &why)) {
      bad(c_account, why);
      continue;
    }
    for (auto [column, out] : {std::pair{c_debit, &b.debit}, std::pair{c_credit, &b.credit}})
      if (!ParseYenAmount(CsvColumns::Field(record, column), out, &why))
        bad(column, Say("amount '{0}': {1}", u8"金額 '{0}': {1}",
                        {TextForMessage(CsvColumns::Field(record, column)), why}));
    auto [it, fresh] = balances->emplace(code, b);
    if (!fresh)
      bad(c_account, Say("account '{0}' already has an opening balance on line {1}",
                         u8"勘定科目 '{0}' の期首残高は {1} 行目にもうあります",
                         {TextForMessage(account), std::to_string(it->second.line)}));
  }
}

void ReadNotesCsv(CsvFile& file, StatementSettings* settings, ImportProblems* problems) {
  CsvColumns columns;
  if (!ReadHeader(file, {U(u8"kind|種類|区分"), U(u8"text|内容|本文")}, &columns, problems))
    return;
  const int c_kind = columns.Index("kind"), c_text = columns.Index("text");
  CsvRecord record;
  std::map<std::int64_t, long> seen;
  while (file.Next(&record, problems)) {
    if (!columns.Fits(file, record, problems)) continue;
    std::int64_t kind = 0;
    const std::string_view text = WithoutFormulaGuard(CsvColumns::Field(record, c_text));
    std::string why;
    if (!ParseNumber(CsvColumns::Field(record, c_kind), &kind))
      problems->Add(file.name(), record.line, c_kind + 1,
                    Say("kind is not a whole number", u8"種類が整数ではありません"));
    else if (auto [it, fresh] = seen.emplace(kind, record.line); !fresh)
      problems->Add(file.name(), record.line, c_kind + 1,
                    Say("kind {0} is already given on line {1}",
                        u8"種類 {0} は {1} 行目にもうあります",
                        {std::to_string(kind), std::to_string(it->second)}));
    if (!FitsNotesText(text, &why))
      problems->Add(file.name(), record.line, c_text + 1, Say("the text {0}", u8"内容が{0}", {why}));
    settings->emplace_back(kind, std::string(text));
  }
}

bool LoadDataSet(BooksDb& db, std::int64_t data_no, DataSetValues* v, std::string* error) {
  SqlStatement query(error);
  if (!query.Prepare(db,
                     "SELECT data_no, data_id, company_name, period_start, period_end, "
                     "keeps_mfg_schedule, interim_closing, introduction_month, company_law, "
                     "tax_included FROM data_set WHERE data_no = ?1",
                     data_no))
    return false;
  const BooksStatement::Step step = query.Next();
  if (step == BooksStatement::Step::kError) return false;
  if (step == BooksStatement::Step::kDone) {
    *error = Say("the books have no data set {0}", u8"帳簿にデータ {0} がありません",
                 {std::to_string(data_no)});
    return false;
  }
  const BooksStatement& row = query.row();
  *v = DataSetValues{row.Int64(0), row.Text(1),  row.Text(2),  row.Int64(3), row.Int64(4),
                     row.Int64(5), row.Int64(6), row.Int64(7), row.Int64(8), row.Int64(9), {}};
  return true;
}

void WriteCompanyCsv(const DataSetValues& v, std::ostream& out) {
  out << "field,value\r\n"
      << "data_no," << v.data_no << "\r\n"
      << "data_id," << CsvTextField(v.data_id) << "\r\n"
      << "company_name," << CsvTextField(v.company_name) << "\r\n"
      << "period_start," << FormatBookDate(v.period_start) << "\r\n"
      << "period_end," << FormatBookDate(v.period_end) << "\r\n"
      << "keeps_mfg_schedule," << v.keeps_mfg_schedule << "\r\n"
      << "interim_closing," << v.interim_closing << "\r\n"
      << "introduction_month," << v.introduction_month << "\r\n"
      << "company_law," << v.company_law << "\r\n"
      << "tax_included," << v.tax_included << "\r\n";
}

bool WriteOpeningCsv(BooksDb& db, std::int64_t data_no, std::ostream& out, std::string* error) {
  SqlStatement rows(error);
  if (!rows.Prepare(db,
                    "SELECT o.code, o.debit, o.credit FROM opening_balance o LEFT JOIN account a "
                    "ON a.data_no = o.data_no AND a.code = o.code WHERE o.data_no = ?1 "
                    "ORDER BY a.seq, o.code",
                    data_no))
    return false;
  out << "account,debit,credit\r\n";
  return rows.ForEachRow([&](const BooksStatement& row) {
    const std::int64_t code = row.Int64(0);
    const std::int64_t sub = code % 10000;
    out << code / 10000 << (sub ? "-" + std::to_string(sub) : "") << ','
        << FormatYenAmount(row.Int64(1)) << ',' << FormatYenAmount(row.Int64(2)) << "\r\n";
  });
}

bool WriteNotesCsv(BooksDb& db, std::int64_t data_no, std::ostream& out, std::string* error) {
  SqlStatement rows(error);
  if (!rows.Prepare(db, "SELECT kind, text FROM statement_setting WHERE data_no = ?1 ORDER BY kind",
                    data_no))
    return false;
  out << "kind,text\r\n";
  return rows.ForEachRow([&](const BooksStatement& row) {
    out << row.Int64(0) << ',' << CsvTextField(row.Text(1)) << "\r\n";
  });
}

} // namespace stmtlink

// The small CSV files beside the chart and the journal:
//  - company.csv (field, value): the data set. Fields: data_no, data_id,
//    company_name, period_start, period_end (dates), keeps_mfg_schedule,
//    interim_closing, introduction_month, company_law, tax_included.
//  - opening.csv (account, debit, credit): balances carried into the year,
//    one row an account (code or name, as in the journal), amounts in yen.
//  - notes.csv (kind, text): the financial-statement settings texts as the
//    host keeps them (kinds 100, 0 and 1000).
// The columns may have Japanese headings: 項目, 値 (company; its fields too:
// 会社名, 会計期間開始日 or 期首日, 会計期間終了日 or 期末日, 税込経理 ...);
// 勘定科目, 借方, 貸方 (opening, also 借方残高, 貸方残高); 種類, 内容 (notes).
// Each reader adds every bad record to the problems; each writer writes
// UTF-8 with CR LF line ends.
#pragma once

#include <cstdint>
#include <map>
#include <ostream>
#include <string>
#include <vector>

#include "host/substitute/books_db.h"
#include "tools/books/account_finder.h"
#include "tools/books/csv_file.h"

namespace stmtlink {

struct DataSetValues {
  std::int64_t data_no = 1;
  std::string data_id = "D0000001";
  std::string company_name;
  std::int64_t period_start = 0, period_end = 0;
  std::int64_t keeps_mfg_schedule = 0, interim_closing = 0, introduction_month = 0;
  std::int64_t company_law = 1, tax_included = 0;
  // The line of the company file that gave each field ("period_start"), so
  // that a problem found later still names its file and line.
  std::map<std::string, long> file_lines;
};

struct OpeningBalance {
  std::int64_t debit = 0, credit = 0;
  long line = 0; // where it was given
};
using OpeningBalances = std::map<std::int64_t, OpeningBalance>; // by stored code

using StatementSettings = std::vector<std::pair<std::int64_t, std::string>>; // kind, text

void ReadCompanyCsv(CsvFile& file, DataSetValues* values, ImportProblems* problems);
void ReadOpeningCsv(CsvFile& file, const AccountFinder& accounts, OpeningBalances* balances,
                    ImportProblems* problems);
void ReadNotesCsv(CsvFile& file, StatementSettings* settings, ImportProblems* problems);

// Readers of the books for the export; false with *error on a read failure.
bool LoadDataSet(BooksDb& db, std::int64_t data_no, DataSetValues* values, std::string* error);
void WriteCompanyCsv(const DataSetValues& values, std::ostream& out);
bool WriteOpeningCsv(BooksDb& db, std::int64_t data_no, std::ostream& out, std::string* error);
bool WriteNotesCsv(BooksDb& db, std::int64_t data_no, std::ostream& out, std::string* error);

} // namespace stmtlink

// The journal as a CSV file, one line of an entry a record:
//   entry          the entry's number; records in a row with the same number
//                  (or an empty one) are the lines of one compound entry;
//                  without the column each record is an entry of its own
//   id             optional: the host's entry id (the export writes it)
//   date           inside the period, in any form book_values.h reads
//                  (2025/4/1, 2025年4月1日, 令和7年4月1日, R7/4/1 ...)
//   slot           empty: the month of the date; year-end, interim, opening
//                  (a balance carried into the year), or 1 to 14 as stored
//   debit, credit  the account of each side: code (1120, 1120-1), name
//                  (普通預金) or main/sub names; empty: none on that side
//   debit_amount, debit_tax, credit_amount, credit_tax
//                  yen, without and of consumption tax
//   description    the entry's text (Shift_JIS-writable); each run of line
//                  breaks and tabs becomes one space, other control
//                  characters are refused
// and, for journals kept the Japanese way:
//   debit_sub, credit_sub
//                  a sub-account (補助科目) by its name under the side's account
//   amount         one amount for both sides, when the sides have none
//   debit_tax_category, credit_tax_category, tax_category
//                  課税売上10%, 課税仕入8%(軽減), 非課税売上, 対象外 ... (see
//                  tax_category.h); the line's one category goes to the
//                  credit side for sales, the debit side for purchases (or
//                  the only side that names an account)
//   tax_method     内税 (the amount holds the tax) or 外税 (it does not);
//                  empty: as the options say
//   tax            the line's one tax: that of the side taking tax_category
//   adjustment     本決 (決算, 決算整理): year-end; 中決 (中間決算): interim
//                  (only in a data set with an interim closing);
//                  empty (通常): a line of its month
//   debit_department, credit_department, department
//                  read past: the books keep no departments
// A column the reader does not know is skipped and named for a notice,
// or refused when the options say strict.
// On a side with a taxed category the amount is read by the tax method and
// the tax is computed, unless the side's tax column gives it (the file's
// figure is kept; one more than a yen away from the computed one is noted).
// Every column also has its Japanese headings: 伝票番号 (伝票No), 取引日
// (日付), 借方科目 (借方勘定科目), 借方補助 (借方補助科目), 借方金額,
// 借方税区分, 借方税額 (借方税金額), the same for 貸方, 金額, 税区分,
// 税計算区分, 摘要, 税額, 決算 (決算整理, 整理区分, 仕訳区分), 部門.
// Account names may be a company's own, turned into the chart's by the map.
// An entry balances when its debits, tax included, equal its credits.
#pragma once

#include <ostream>
#include <string>
#include <vector>

#include "host/substitute/books_db.h"
#include "tools/books/account_finder.h"
#include "tools/books/csv_file.h"
#include "tools/books/journal_entries.h"
#include "tools/books/tax_category.h"
#include "tools/books/user_text.h"

namespace stmtlink {

struct JournalReadOptions {
  bool amounts_exclude_tax = false; // 外税 unless a line says otherwise
  TaxRounding rounding = TaxRounding::kDown;
  bool create_sub_accounts = false; // unknown 補助科目 become new sub-accounts
  // Where a tax figure of the file that differs from the computed one by
  // more than a yen is noted; nullptr: not noted.
  ImportProblems* notes = nullptr;
  // The lines whose descriptions had line breaks or tabs made spaces;
  // nullptr: not kept.
  ChangedLines* joined_descriptions = nullptr;
  // A company's own account names, looked up before the chart's; nullptr: none.
  const AccountMap* map = nullptr;
  // Columns the reader does not know refuse the file; otherwise they are
  // skipped and their headings go to *unread_columns (when not null).
  bool strict = false;
  std::vector<std::string>* unread_columns = nullptr;
  // Whether the data set keeps an interim closing: without one the program
  // refuses books with interim adjustments, so the import refuses them.
  bool interim_closing = false;
};

// Reads every record into entries for the sink; problems as they come.
// Sub-accounts made for unknown sub-account names are in accounts.added().
void ReadJournalCsv(CsvFile& file, AccountFinder& accounts, EntrySink* sink,
                    ImportProblems* problems, const JournalReadOptions& options = {});

// True when the header record names the columns of this format.
bool LooksLikeJournalCsv(const CsvRecord& header);

// Writes the journal of data set data_no in the order of the books (entry
// id, line) as the CSV above; false with *error set on a read failure.
bool WriteJournalCsv(BooksDb& db, std::int64_t data_no, const FiscalPeriod& period,
                     std::ostream& out, std::string* error);

} // namespace stmtlink

// The chart of accounts as a CSV file, one account a record, in the order
// of the account master:
//   code            main code, 1 to 214747
//   sub             sub-account number 1 to 9999; empty or 0 for a main account
//   name            formal name (required)
//   statement_name  the name on the statements, when it differs
//   nature          the host's nature code (0x80880001 or decimal), or a
//                   category keyword (流動資産, 販売費及び一般管理費, 資本金,
//                   仮払消費税 ...; see NatureKeywords); empty for a heading,
//                   and for a sub-account (its main account's)
//   side            D or C (借方, 貸方, debit, credit, 1, 2); empty: the
//                   keyword's or the main account's
//   line_type       account, heading, total or computed (0 to 3; 科目, 見出し,
//                   合計, 計算); empty: account
//   members         a total's or computed item's masks, separated by spaces
//                   or semicolons (codes or keywords)
//   ledger_excluded a, b or ab: the host's two flags that keep an account
//                   out of the general ledger
//   only            "manufacturing": the row belongs to the schedule of cost
//                   of goods manufactured and is left out for a company
//                   that keeps none (the standard chart uses it)
// Each column may have its Japanese heading instead: 科目コード, 補助コード,
// 勘定科目 (科目名), 決算書表示名, 科目区分, 貸借, 行区分, 集計対象, 元帳除外,
// 製造原価.
// A keyword of a category gives an account the category's bits plus a low
// number of its own (the first not used in the chart), so the statements
// collect it as an item of the category; on a total it is the category's
// code itself.
#pragma once

#include <cstdint>
#include <ostream>
#include <string>
#include <string_view>
#include <vector>

#include "tools/books/csv_file.h"
#include "tools/books/import_problems.h"
#include "tools/books/sample_chart.h"

namespace stmtlink {

struct ImportedChart {
  std::vector<ChartAccount> accounts; // in file order; seq is the position
  std::vector<ChartMember> members;
  std::vector<long> lines; // the record line of each account
  std::size_t added = 0;   // sub-accounts the import added for the journal
};

// The nature keywords and their codes, for the help and the docs.
struct NatureKeyword {
  const char* name; // UTF-8
  std::uint32_t code;
  bool category; // accounts get low bits of their own
  int side;      // 1 debit, 2 credit
};
const std::vector<NatureKeyword>& NatureKeywords();

// Reads the chart; every bad record is added to *problems. True when none.
// keeps_mfg_schedule: whether rows marked "manufacturing" are taken.
bool ReadChartCsv(CsvFile& file, bool keeps_mfg_schedule, ImportedChart* chart,
                  ImportProblems* problems);

// Writes accounts (in seq order) and members as the CSV above, in UTF-8
// with CR LF line ends and natures as hexadecimal codes.
void WriteChartCsv(const std::vector<ChartAccount>& accounts,
                   const std::vector<ChartMember>& members, std::ostream& out);

} // namespace stmtlink

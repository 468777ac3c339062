// The balance sheet and the income statement as the rows of e-Tax's CSV
// form (HOT010 3.0): every row the statement model shows, in its order,
// each with the NTA's code, the table's name for it and its 階層番号, and
// the table's heading rows that a deeper row needs above it.
//
// Codes, in this order of precedence:
// - a heading, a total or a result takes the table's code of its name (the
//   printed numbering Ⅰ, 1 … dropped), a total the total of its heading;
// - an account takes the code a company's --map gives it, else the code
//   the shipped table gives an account of the standard chart, else the
//   code of the table's row of its own name. A name the table holds more
//   than once (貸倒引当金, 減価償却累計額) takes the row below the item it
//   follows (売掛金's allowance), else the one standing directly under its
//   heading's own headings;
// - any other account the code of the heading it stands under with a
//   branch number (10A100010-1, -2 …) and its own name.
// Accounts that share a code are one row, their amounts summed. Rows are
// kept in the table's hierarchy: a row goes below its parent row, so each
// code is written once and the 階層番号 rises by at most one from a row to
// the next. Deductions and losses are negative, as the statement shows
// them.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "tools/report/etax_account_map.h"
#include "tools/report/etax_codes.h"
#include "tools/report/statement_model.h"

namespace stmtlink::report {

enum class EtaxRole { kHeading, kAccount, kTotal, kResult };

struct EtaxRow {
  std::string name;                    // UTF-8, as it is to be written (before the comma rule)
  std::optional<std::int64_t> amount;  // none: a heading (行区分 T)
  int depth = 0;                       // 階層番号
  std::string code;                    // 勘定科目コード
  EtaxRole role = EtaxRole::kHeading;
  std::string where;                   // where the name comes from, for a refusal
};

struct EtaxSheet {
  EtaxKind kind = EtaxKind::kBalanceSheet;
  std::vector<EtaxRow> rows;
};

struct EtaxMapping {
  const EtaxCodeTable* table = nullptr;
  const AccountMap* shipped = nullptr;  // the standard chart's table
  const AccountMap* company = nullptr;  // --map; may be null
};

// The rows of the balance sheet (kind kBalanceSheet) or of the income
// statement, with the selling and administrative expenses in detail.
// False with *refusal (Japanese) when a --map line does not fit where its
// account stands.
bool BuildEtaxSheet(const Statements& statements, const EtaxMapping& mapping, EtaxSheet* sheet,
                    std::string* refusal);

} // namespace stmtlink::report

// The statements of a report as a Japanese closing-statements document
// lays them out, in the form of the Companies Act's accounting rules: each
// statement as rows of headings, items, totals and results with their
// captions, each amount in the sign it is shown in. Every renderer (html,
// pdf, view) writes this model, so a rule of presentation lives here once.
//
// Rules kept here:
// - 貸借対照表 in account form, dated 「…現在」; 資産の部 / 負債の部 /
//   純資産の部 with sections numbered Ⅰ, Ⅱ… and the noncurrent assets'
//   subsections 1, 2, 3; a section with nothing in it is left out.
//   Allowances and accumulated depreciation stay where the report puts them
//   (under the assets they belong to) and are shown as deductions (△).
//   純資産の部 follows net_assets_classes.h; an account the equity statement
//   does not place is shown after the sections, and the statement says so.
// - 損益計算書 in report form: sections Ⅰ… in the inner column with the
//   section's total in the outer one on its last row; each step's result
//   named a loss when negative (営業損失) and then shown without a sign; a
//   section whose only item repeats its name, and the taxes, one line; the
//   cost of sales with its 合計 before the closing inventory is taken off.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "tools/report/report_tree.h"

namespace stmtlink::report {

enum class RowKind {
  kHeading, // 資産の部, Ⅰ 流動資産, 資本剰余金: a caption, possibly with a total (a one-line section)
  kItem,    // an account
  kSubtotal,// 合計 of the cost of sales' additions
  kTotal,   // a section's total: 流動資産合計, 株主資本合計
  kResult,  // a step's result or a grand total: 営業利益, 資産合計, 負債・純資産合計
};

struct StatementRow {
  std::string caption;
  int level = 0;                     // indentation
  RowKind kind = RowKind::kItem;
  std::optional<std::int64_t> inner; // the inner (item) column of the report form
  std::optional<std::int64_t> outer; // the outer (total) column; the account form's only column
  bool deduction = false;            // subtracted from its section: shown negative (△)
  // Names the figure the same way in any year's report, for 前期; "" when
  // the row has no figure to compare.
  std::string key;
  // When the row holds two figures (an item and its section's total): the
  // total's key and caption, for a layout that puts them on rows of their own.
  std::string outer_key, outer_caption;
  // The figure in the direction of its caption's profit (a result's signed
  // value, an item's value as the report gives it): what 前期 compares.
  std::int64_t value = 0;
  // For a result: its names as a profit and as a loss (営業利益, 営業損失).
  std::string profit_caption, loss_caption;

  // The amount the account form shows on one column.
  std::optional<std::int64_t> Shown() const { return outer ? outer : inner; }
};

struct Statement {
  std::string title;     // 貸借対照表
  std::string date_line; // 令和8年3月31日現在, or 自 令和7年4月1日　至 令和8年3月31日
  std::vector<StatementRow> rows;  // the report form; the account form's left side
  std::vector<StatementRow> right; // the account form's right side (empty for the report form)
  // Said under the statement: what the form could not place.
  std::vector<std::string> remarks;
  // The account form: the last row of each side is its grand total, and the
  // two are printed on one bottom row.
  bool account_form() const { return !right.empty(); }
  // A list with one amount column (the expenses in detail).
  bool one_column = false;
};

struct Statements {
  std::optional<Statement> balance_sheet;
  std::optional<Statement> income;
  std::optional<Statement> manufacturing;
  std::optional<Statement> expenses; // 販売費及び一般管理費内訳書
};

// The statements of a report (its root REPORT element).
Statements BuildStatements(const Node& root);

// The roman numeral of a section (1 -> "Ⅰ"), up to 20.
std::string RomanNumeral(int n);

} // namespace stmtlink::report

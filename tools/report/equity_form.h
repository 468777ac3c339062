// The statement of changes in net assets (株主資本等変動計算書, or
// 社員資本等変動計算書 when the report chose members' equity) as rows per
// equity item in the hierarchy of the balance sheet's 純資産の部, the
// period's reasons as columns, and every subtotal (資本剰余金合計 …
// 株主資本合計, 評価・換算差額等合計, 純資産合計) filled in every column.
// Items carry the balance sheet's names for their accounts where the
// balance sheet names one (net_assets_classes.h); 自己株式 is shown as a
// deduction throughout.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "tools/report/statement_model.h"

namespace stmtlink::report {

struct EquityRow {
  std::string caption;
  int level = 0;
  RowKind kind = RowKind::kItem; // kHeading (no figures), kItem, kTotal
  std::int64_t opening = 0;      // 当期首残高
  std::vector<std::optional<std::int64_t>> changes; // per reason; empty where the item has none
  std::int64_t change_total = 0; // 当期変動額合計
  std::int64_t closing = 0;      // 当期末残高
};

struct EquityStatement {
  std::string title;
  std::vector<std::string> reasons; // the period's reasons in the order met
  std::vector<EquityRow> rows;
};

// The report's equity statement; nullopt when it has none.
std::optional<EquityStatement> EquityForm(const Node& root);

} // namespace stmtlink::report

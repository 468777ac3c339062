#include "tools/report/report_diff.h"

#include <cmath>
#include <cstdio>
#include <map>

#include "tools/report/findings.h"
#include "tools/report/quoted_text.h"

namespace stmtlink::report {

std::vector<EntryChange> CompareEntries(const std::vector<StatementEntry>& older,
                                        const std::vector<StatementEntry>& newer) {
  std::map<std::string, std::int64_t> old_by_key;
  for (const StatementEntry& entry : older) old_by_key[entry.key] = entry.amount;
  std::map<std::string, bool> in_new;
  std::vector<EntryChange> changes;
  for (const StatementEntry& entry : newer) {
    in_new[entry.key] = true;
    const auto it = old_by_key.find(entry.key);
    EntryChange change{entry.key, it != old_by_key.end(), true,
                       it != old_by_key.end() ? it->second : 0, entry.amount};
    if (!change.in_old || change.old_amount != change.new_amount) changes.push_back(change);
  }
  for (const StatementEntry& entry : older)
    if (!in_new.count(entry.key)) changes.push_back({entry.key, true, false, entry.amount, 0});
  return changes;
}

std::string PerCent(std::int64_t old_amount, std::int64_t new_amount) {
  if (old_amount == 0) return "";
  const double ratio = (static_cast<double>(new_amount) - static_cast<double>(old_amount)) /
                       std::fabs(static_cast<double>(old_amount)) * 100.0;
  char text[32];
  std::snprintf(text, sizeof text, "%+.1f%%", ratio);
  return text;
}

std::string DiffText(const std::vector<EntryChange>& changes) {
  std::string out;
  int changed = 0, added = 0, removed = 0;
  for (const EntryChange& c : changes) {
    out += Quoted(c.key) + "\n    ";
    if (c.in_old && c.in_new) {
      ++changed;
      const std::string per_cent = PerCent(c.old_amount, c.new_amount);
      out += Yen(c.old_amount) + " → " + Yen(c.new_amount) + "  増減 " +
             (c.new_amount >= c.old_amount ? "+" : "") + Yen(Minus(c.new_amount, c.old_amount)) +
             (per_cent.empty() ? "" : "（" + per_cent + "）");
    } else if (c.in_new) {
      ++added;
      out += "新しいレポートにだけあります: " + Yen(c.new_amount);
    } else {
      ++removed;
      out += "古いレポートにだけあります: " + Yen(c.old_amount);
    }
    out += "\n";
  }
  out += "結果: 金額が変わった項目 " + std::to_string(changed) + " 件、新しい項目 " +
         std::to_string(added) + " 件、なくなった項目 " + std::to_string(removed) + " 件\n";
  return out;
}

} // namespace stmtlink::report

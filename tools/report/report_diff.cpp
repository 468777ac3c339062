#include "tools/report/report_diff.h"

#include <cmath>
#include <cstdio>
#include <algorithm>
#include <map>

#include "tools/report/findings.h"
#include "tools/report/notes_form.h"
#include "tools/report/previous_year.h"
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

std::vector<EntryChange> CompareStatements(const Node& older, const Node& newer) {
  std::map<std::string, std::int64_t> old_by_key, new_by_key;
  for (const StatementEntry& entry : StatementEntries(older)) old_by_key[entry.key] = entry.amount;
  for (const StatementEntry& entry : StatementEntries(newer)) new_by_key[entry.key] = entry.amount;
  std::vector<EntryChange> changes;
  for (const StatementEntry& entry : StatementEntries(WithItemsOf(newer, older))) {
    const auto o = old_by_key.find(entry.key), n = new_by_key.find(entry.key);
    EntryChange change;
    change.key = entry.key;
    change.in_old = o != old_by_key.end();
    change.in_new = n != new_by_key.end();
    change.old_amount = change.in_old ? o->second : 0;
    change.new_amount = change.in_new ? n->second : 0;
    if (!change.in_old && !change.in_new) continue; // a zero total only the merging made
    if (!change.in_old || !change.in_new || change.old_amount != change.new_amount) changes.push_back(change);
  }
  return changes;
}

namespace {

std::map<std::string, const LedgerAccountTotals*> ByAccount(const std::vector<LedgerAccountTotals>& ledger,
                                                            std::vector<std::string>* order) {
  std::map<std::string, const LedgerAccountTotals*> by;
  std::map<std::string, int> seen;
  for (const LedgerAccountTotals& account : ledger) {
    const int n = ++seen[account.account];
    const std::string key = n == 1 ? account.account : account.account + " #" + std::to_string(n);
    by[key] = &account;
    if (order) order->push_back(key);
  }
  return by;
}

bool SameTotals(const LedgerAccountTotals& a, const LedgerAccountTotals& b) {
  return a.opening == b.opening && a.debits == b.debits && a.credits == b.credits && a.closing == b.closing;
}

} // namespace

std::vector<LedgerChange> CompareLedgers(const std::vector<LedgerAccountTotals>& older,
                                         const std::vector<LedgerAccountTotals>& newer) {
  std::vector<std::string> old_order, new_order;
  const auto old_by = ByAccount(older, &old_order);
  const auto new_by = ByAccount(newer, &new_order);
  std::vector<LedgerChange> changes;
  for (const std::string& key : new_order) {
    const auto o = old_by.find(key);
    if (o == old_by.end()) changes.push_back({key, false, true, {}, *new_by.at(key)});
    else if (!SameTotals(*o->second, *new_by.at(key))) changes.push_back({key, true, true, *o->second, *new_by.at(key)});
  }
  for (const std::string& key : old_order)
    if (!new_by.count(key)) changes.push_back({key, true, false, *old_by.at(key), {}});
  return changes;
}

std::vector<NoteChange> CompareNotes(const Node& older, const Node& newer) {
  auto notes_of = [](const Node& root) {
    const Node* data = root.Child("DATA");
    std::map<std::string, std::vector<std::string>> texts;
    std::vector<std::string> order;
    for (const NoteSection& section : NotesForm(data ? data->Child("ListNotesNonConsolidated") : nullptr)) {
      // The heading without its number, which moves when a note comes or goes.
      const std::size_t dot = section.heading.find("．");
      const std::string heading = dot == std::string::npos ? section.heading : section.heading.substr(dot + 3);
      order.push_back(heading);
      for (const NoteLine& line : section.lines) texts[heading].push_back(line.text);
    }
    return std::make_pair(order, texts);
  };
  const auto [old_order, old_texts] = notes_of(older);
  auto [order, new_texts] = notes_of(newer);
  for (const std::string& heading : old_order)
    if (!new_texts.count(heading)) order.push_back(heading);
  std::vector<NoteChange> changes;
  for (const std::string& heading : order) {
    const auto o = old_texts.find(heading);
    const auto n = new_texts.find(heading);
    const std::vector<std::string> none;
    const std::vector<std::string>& before = o == old_texts.end() ? none : o->second;
    const std::vector<std::string>& after = n == new_texts.end() ? none : n->second;
    if (before == after) continue;
    NoteChange change{heading, {}, {}};
    for (const std::string& line : before)
      if (std::find(after.begin(), after.end(), line) == after.end()) change.removed.push_back(line);
    for (const std::string& line : after)
      if (std::find(before.begin(), before.end(), line) == before.end()) change.added.push_back(line);
    if (change.removed.empty() && change.added.empty()) change.added.push_back("（行の順序が変わりました）");
    changes.push_back(std::move(change));
  }
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

std::string LedgerDiffText(const std::vector<LedgerChange>& changes) {
  std::string out;
  for (const LedgerChange& c : changes) {
    out += Quoted("総勘定元帳 / " + c.account) + "\n";
    if (!c.in_old) {
      out += "    新しいレポートにだけあります: 期末残高 " + Yen(c.new_totals.closing) + "\n";
      continue;
    }
    if (!c.in_new) {
      out += "    古いレポートにだけあります: 期末残高 " + Yen(c.old_totals.closing) + "\n";
      continue;
    }
    const std::pair<const char*, std::pair<std::int64_t, std::int64_t>> figures[] = {
        {"前期繰越", {c.old_totals.opening, c.new_totals.opening}},
        {"借方合計", {c.old_totals.debits, c.new_totals.debits}},
        {"貸方合計", {c.old_totals.credits, c.new_totals.credits}},
        {"期末残高", {c.old_totals.closing, c.new_totals.closing}}};
    for (const auto& [name, pair] : figures)
      if (pair.first != pair.second)
        out += std::string("    ") + name + " " + Yen(pair.first) + " → " + Yen(pair.second) + "  増減 " +
               (pair.second >= pair.first ? "+" : "") + Yen(Minus(pair.second, pair.first)) + "\n";
  }
  out += "総勘定元帳: 違いのある勘定 " + std::to_string(changes.size()) + " 件\n";
  return out;
}

std::string NotesDiffText(const std::vector<NoteChange>& changes) {
  std::string out;
  for (const NoteChange& c : changes) {
    out += Quoted("個別注記表 / " + c.heading) + "\n";
    for (const std::string& line : c.removed) out += "    - " + Quoted(line) + "\n";
    for (const std::string& line : c.added) out += "    + " + Quoted(line) + "\n";
  }
  out += "個別注記表: 文が変わった注記 " + std::to_string(changes.size()) + " 件\n";
  return out;
}

} // namespace stmtlink::report

#include "tools/report/previous_year.h"

#include <chrono>

#include "tools/report/era_date.h"

namespace stmtlink::report {
namespace {

void ZeroFigures(Node* node) {
  if (node->amount) node->amount = 0;
  for (Node& child : node->children) ZeroFigures(&child);
}

bool SameElement(const Node& a, const Node& b) {
  if (a.name != b.name) return false;
  if (a.name == "Item") return a.label.value_or("") == b.label.value_or("");
  if (a.name == "ChangesNetAssetsItem") return a.ChildText("AccountList") == b.ChildText("AccountList");
  return true;
}

// Adds to into what from has and into lacks, each after the element that
// comes before it in from (at the front when none does).
void AddMissing(Node* into, const Node& from) {
  std::size_t after = 0; // where the next missing element goes
  for (const Node& theirs : from.children) {
    std::size_t found = into->children.size();
    for (std::size_t i = 0; i < into->children.size(); ++i)
      if (SameElement(into->children[i], theirs)) {
        found = i;
        break;
      }
    if (found < into->children.size()) {
      if (theirs.name != "Item" && theirs.name != "ChangesNetAssetsItem") AddMissing(&into->children[found], theirs);
      after = found + 1;
      continue;
    }
    Node added = theirs;
    ZeroFigures(&added);
    if (added.name == "ChangesNetAssetsItem") // a zero balance, no movement
      std::erase_if(added.children, [](const Node& n) { return n.name == "ChangesItemsDuringPeriod"; });
    into->children.insert(into->children.begin() + static_cast<long>(after), std::move(added));
    ++after;
  }
}

int DayBefore(int yyyymmdd) {
  using namespace std::chrono;
  const year_month_day day{year{yyyymmdd / 10000}, month{static_cast<unsigned>(yyyymmdd / 100 % 100)},
                           std::chrono::day{static_cast<unsigned>(yyyymmdd % 100)}};
  if (!day.ok()) return 0;
  const year_month_day before{sys_days{day} - days{1}};
  return static_cast<int>(before.year()) * 10000 + static_cast<int>(static_cast<unsigned>(before.month())) * 100 +
         static_cast<int>(static_cast<unsigned>(before.day()));
}

} // namespace

Node WithItemsOf(const Node& root, const Node& other) {
  Node merged = root;
  Node* data = nullptr;
  for (Node& child : merged.children)
    if (child.name == "DATA") data = &child;
  const Node* their_data = other.Child("DATA");
  if (data == nullptr || their_data == nullptr) return merged;
  for (const char* statement : {"BalanceSheet", "IncomeStatement", "ScheduleCostGoodsManufactured",
                                "StatementChangesNetAssets"}) {
    const Node* theirs = their_data->Child(statement);
    if (theirs == nullptr) continue;
    Node* ours = nullptr;
    for (Node& child : data->children)
      if (child.name == statement) ours = &child;
    if (ours != nullptr) AddMissing(ours, *theirs);
  }
  return merged;
}

std::string PreviousRefusal(const Node& now, const Node& last) {
  const std::string company = HeaderOf(now).company, previous = HeaderOf(last).company;
  if (company == previous) return "";
  return "前期のレポートは別の会社のものです（当期「" + company + "」、前期「" + previous + "」）。";
}

std::string PreviousPeriodRemark(const Node& now, const Node& last) {
  const ReportHeader header = HeaderOf(now), previous = HeaderOf(last);
  if (previous.period_to != 0 && previous.period_to == DayBefore(header.period_from)) return "";
  return "前期として示したレポートの事業年度（" + EraPeriod(previous.period_from, previous.period_to) + "）は、当期の開始日（" + EraDate(header.period_from) +
         "）の前日に終わっていません。";
}

} // namespace stmtlink::report

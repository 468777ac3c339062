#include "tools/report/statement_entries.h"

#include <map>

#include "tools/report/statement_terms.h"

namespace stmtlink::report {
namespace {

class Collector {
 public:
  void Add(const std::string& key, std::int64_t amount) {
    const int seen = ++seen_[key];
    entries.push_back({seen == 1 ? key : key + " #" + std::to_string(seen), amount});
  }

  // A section and everything under it.
  void Section(const Node& node, const std::string& prefix) {
    const std::string name = SectionName(node.name);
    const std::string here = prefix + " / " + name;
    if (node.has_amount_attribute)
      Add(here + " / " + (node.label && !node.label->empty() ? *node.label : name),
          node.amount.value_or(0));
    for (const Node& child : node.children) {
      if (child.name == "Item") Add(here + " / " + child.label.value_or(""), child.amount.value_or(0));
      else Section(child, here);
    }
  }

  std::vector<StatementEntry> entries;

 private:
  std::map<std::string, int> seen_;
};

} // namespace

std::vector<StatementEntry> StatementEntries(const Node& root) {
  Collector collector;
  const Node* data = root.Child("DATA");
  if (data == nullptr) return {};
  for (const Node& statement : data->children) {
    const std::string title = SectionName(statement.name);
    if (statement.name == "BalanceSheet" || statement.name == "IncomeStatement" ||
        statement.name == "ScheduleCostGoodsManufactured") {
      for (const Node& section : statement.children) collector.Section(section, title);
    } else if (statement.name == "StatementChangesNetAssets") {
      for (const Node* item : statement.Children("ChangesNetAssetsItem")) {
        const std::string here = title + " / " + item->ChildText("AccountList");
        auto add = [&](const Node* node, const char* what) {
          collector.Add(here + " / " + what, node ? node->amount.value_or(0) : 0);
        };
        add(item->Child("BalanceEndPreviousPeriod"), "前期末残高");
        const Node* changes = item->Child("ChangesItemsDuringPeriod");
        add(changes ? changes->Child("TotalChangesItemsDuringPeriod") : nullptr, "当期変動額合計");
        if (changes)
          for (const Node* change : changes->Children("ChangesItem"))
            add(change->Child("Amount"), change->ChildText("Reason").c_str());
        add(item->Child("BalanceEndCurrentPeriod"), "当期末残高");
      }
    }
  }
  return collector.entries;
}

} // namespace stmtlink::report

#include "tools/report/report_tree.h"

#include <cstdlib>

namespace stmtlink::report {

const Node* Node::Child(std::string_view child_name) const {
  for (const Node& child : children)
    if (child.name == child_name) return &child;
  return nullptr;
}

std::vector<const Node*> Node::Children(std::string_view child_name) const {
  std::vector<const Node*> out;
  for (const Node& child : children)
    if (child.name == child_name) out.push_back(&child);
  return out;
}

std::string Node::ChildText(std::string_view child_name) const {
  const Node* child = Child(child_name);
  return child ? child->text : std::string();
}

bool ParseAmount(std::string_view text, std::int64_t* value) {
  bool negative = false;
  if (!text.empty() && text.front() == '-') {
    negative = true;
    text.remove_prefix(1);
  }
  if (text.empty() || text.size() > 18) return false;
  std::int64_t v = 0;
  for (char c : text) {
    if (c < '0' || c > '9') return false;
    v = v * 10 + (c - '0');
  }
  *value = negative ? -v : v;
  return true;
}

bool IsAmountElement(std::string_view name) {
  return name == "Item" || name == "BalanceEndPreviousPeriod" ||
         name == "TotalChangesItemsDuringPeriod" || name == "Amount" ||
         name == "BalanceEndCurrentPeriod" || name == "HJ00780S0030" || name == "HJ00780S0040" ||
         name == "HJ00780S0110" || name == "HJ00780S0120";
}

namespace {

int DateOf(const std::string& text) {
  if (text.size() != 8) return 0;
  for (char c : text)
    if (c < '0' || c > '9') return 0;
  const int value = std::atoi(text.c_str());
  const int month = value / 100 % 100, day = value % 100;
  if (month < 1 || month > 12 || day < 1 || day > 31) return 0;
  return value;
}

} // namespace

ReportHeader HeaderOf(const Node& root) {
  ReportHeader header;
  const Node* basic = root.Child("BASIC");
  if (basic == nullptr) return header;
  header.company = basic->ChildText("KOMONSAKINAME");
  header.period_from = DateOf(basic->ChildText("JIGYOUNENDOFROM"));
  header.period_to = DateOf(basic->ChildText("JIGYOUNENDOTO"));
  return header;
}

} // namespace stmtlink::report

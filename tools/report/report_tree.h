// The report as the tool keeps it: every element outside the general
// ledger, with its texts in UTF-8 and its amounts read as whole yen. The
// ledger, which can be a gigabyte, is never kept: its blocks and rows pass
// through a LedgerSink (report_reader.h) one at a time.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace stmtlink::report {

struct Node {
  std::string name;
  long line = 0;                // line of the start tag
  std::optional<std::string> label;  // the Label attribute, when present
  bool has_amount_attribute = false; // Amount="..." present (empty: zero)
  std::optional<std::int64_t> amount; // the Amount attribute, or the content of an amount element
  std::string text;             // the element's own text
  std::vector<Node> children;

  // The first child of that name, or nullptr.
  const Node* Child(std::string_view child_name) const;
  // Every child of that name, in order.
  std::vector<const Node*> Children(std::string_view child_name) const;
  // The text of the first child of that name ("" when there is none).
  std::string ChildText(std::string_view child_name) const;
};

// Reads a whole-yen amount as the report writes it: an optional minus sign
// and 1 to 18 digits. False for anything else (spaces, separators, "+").
bool ParseAmount(std::string_view text, std::int64_t* value);

// Whether an element's content is an amount (Item, the equity statement's
// figures, the ledger's balances and movements).
bool IsAmountElement(std::string_view name);

// The report's company name and period, from BASIC.
struct ReportHeader {
  std::string company;
  int period_from = 0; // yyyymmdd, 0 when missing or not a date
  int period_to = 0;
};
ReportHeader HeaderOf(const Node& root);

} // namespace stmtlink::report

// The general ledger's part of the schema (the HJ00780S element), read from
// the schema document and checked by the reader itself: the ledger is
// nearly all of a large report, and libxml2's schema validation of its
// millions of small elements costs as much again as parsing them. The rules
// are those the schema states (element names in their sequence, how often
// each may come, text of a simple type and its pattern, no attributes), and
// the findings are worded as libxml2's validator words them. A ledger part
// written with any other schema construct is not taken over: the schema
// then validates the ledger as it does the rest.
#pragma once

#include <memory>
#include <string>
#include <string_view>
#include <vector>

struct _xmlNode;
struct _xmlRegexp;

namespace stmtlink::report {

struct LedgerRule {
  std::string name;
  long min = 1, max = 1; // max -1: unbounded
  bool simple = false;
  std::vector<LedgerRule> children; // complex: its sequence
  // Simple: the pattern its text must match (empty: any text).
  std::string pattern;
  enum class Form { kAnyText, kAmount, kDigits, kRegexp } form = Form::kAnyText;
  std::shared_ptr<_xmlRegexp> regexp; // kRegexp
};

class LedgerForm {
 public:
  static constexpr const char* kElement = "HJ00780S";

  // The rules of the top-level element kElement declared in the schema
  // document whose root is schema; nullptr when it is missing or uses a
  // construct these rules do not cover.
  // *element: the declaration, for the caller to take its place.
  static std::unique_ptr<LedgerForm> FromSchema(_xmlNode* schema, _xmlNode** element);

  const LedgerRule& root() const { return root_; }
  // Whether text is a valid value of a simple rule.
  static bool Accepts(const LedgerRule& rule, const std::string& text);

 private:
  LedgerRule root_;
};

// Checks the ledger's elements as the reader meets them.
class LedgerFormCheck {
 public:
  explicit LedgerFormCheck(const LedgerForm& form) : form_(form) {}

  bool active() const { return !open_.empty(); }
  // The ledger element itself, then every element inside it (namespace_uri
  // nullptr for none). While checking(), the caller names the element's
  // attributes to Attribute().
  // Findings go to report(message), the element at hand still open.
  template <typename Report>
  void Start(const char* name, const char* namespace_uri, Report&& report);
  template <typename Report>
  void Attribute(const char* element, const char* attribute, Report&& report);
  // Text directly inside the innermost open element.
  template <typename Report>
  void Text(const char* element, std::string_view text, Report&& report);
  // The innermost element ends; value: its text when it has a simple rule.
  template <typename Report>
  void End(const char* name, const std::string& value, Report&& report);
  // Whether the innermost element is checked here (its attributes are then
  // asked for); the ledger element's own attributes are the schema's.
  bool checking() const { return open_.size() > 1 && open_.back().rule != nullptr; }

 private:
  struct Open {
    const LedgerRule* rule; // nullptr: not checked (inside a stray element)
    std::size_t at = 0;     // the child rule reached and its count
    long count = 0;
    bool bad = false;       // a stray child seen: the rest goes unchecked
  };
  static std::string Expected(const Open& open);
  static std::string Named(const char* name, const char* namespace_uri);

  const LedgerForm& form_;
  std::vector<Open> open_;
};

template <typename Report>
void LedgerFormCheck::Start(const char* name, const char* namespace_uri, Report&& report) {
  if (open_.empty()) {
    open_.push_back({&form_.root()});
    return;
  }
  Open& parent = open_.back();
  if (parent.rule == nullptr || parent.bad) {
    open_.push_back({nullptr});
    return;
  }
  const LedgerRule& p = *parent.rule;
  if (p.simple) {
    report("Element '" + p.name +
           "': Element content is not allowed, because the type definition is simple.");
    parent.bad = true;
    open_.push_back({nullptr});
    return;
  }
  if (namespace_uri == nullptr) {
    std::size_t i = parent.at;
    long count = parent.count;
    for (; i < p.children.size(); ++i, count = 0) {
      const LedgerRule& c = p.children[i];
      if (c.name == name && (c.max < 0 || count < c.max)) {
        parent.at = i;
        parent.count = count + 1;
        open_.push_back({&c});
        return;
      }
      if (count < c.min) break;
    }
  }
  const std::string expected = Expected(parent);
  report("Element '" + Named(name, namespace_uri) + "': This element is not expected." +
         expected);
  parent.bad = true;
  open_.push_back({nullptr});
}

template <typename Report>
void LedgerFormCheck::Attribute(const char* element, const char* attribute, Report&& report) {
  report("Element '" + std::string(element) + "', attribute '" + attribute +
         "': The attribute '" + attribute + "' is not allowed.");
}

template <typename Report>
void LedgerFormCheck::Text(const char* element, std::string_view text, Report&& report) {
  // The ledger element's own text is the schema's to judge, as are its attributes.
  if (open_.size() < 2 || open_.back().rule == nullptr || open_.back().rule->simple) return;
  for (char c : text)
    if (c != ' ' && c != '\t' && c != '\r' && c != '\n') {
      report("Element '" + std::string(element) +
             "': Character content other than whitespace is not allowed because the content "
             "type is 'element-only'.");
      return;
    }
}

template <typename Report>
void LedgerFormCheck::End(const char* name, const std::string& value, Report&& report) {
  if (open_.empty()) return;
  const Open open = open_.back();
  if (open.rule != nullptr && !open.bad) {
    const LedgerRule& r = *open.rule;
    if (r.simple) {
      if (!LedgerForm::Accepts(r, value))
        report("Element '" + std::string(name) + "': [facet 'pattern'] The value '" + value +
               "' is not accepted by the pattern '" + r.pattern + "'.");
    } else {
      bool complete = true;
      std::size_t i = open.at;
      for (long count = open.count; i < r.children.size(); ++i, count = 0)
        if (count < r.children[i].min) complete = false;
      if (!complete)
        report("Element '" + std::string(name) + "': Missing child element(s)." + Expected(open));
    }
  }
  open_.pop_back();
}

} // namespace stmtlink::report

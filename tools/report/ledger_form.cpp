#include "tools/report/ledger_form.h"

#include <libxml/tree.h>
#include <libxml/xmlregexp.h>

#include <cstring>

namespace stmtlink::report {
namespace {

constexpr const char* kXsd = "http://www.w3.org/2001/XMLSchema";

bool IsXsd(const xmlNode* node, const char* name) {
  return node->type == XML_ELEMENT_NODE && node->ns != nullptr &&
         std::strcmp(reinterpret_cast<const char*>(node->ns->href), kXsd) == 0 &&
         std::strcmp(reinterpret_cast<const char*>(node->name), name) == 0;
}

// The element children of a schema node, annotations left out; false when
// text other than white space stands between them.
bool Children(const xmlNode* node, std::vector<xmlNode*>* out) {
  out->clear();
  for (xmlNode* c = node->children; c != nullptr; c = c->next) {
    if (c->type == XML_COMMENT_NODE) continue;
    if (c->type == XML_TEXT_NODE) {
      if (!xmlIsBlankNode(c)) return false;
      continue;
    }
    if (c->type != XML_ELEMENT_NODE) return false;
    if (!IsXsd(c, "annotation")) out->push_back(c);
  }
  return true;
}

// The node's attributes, which must all be among allowed.
bool OnlyAttributes(const xmlNode* node, std::initializer_list<const char*> allowed) {
  for (const xmlAttr* a = node->properties; a != nullptr; a = a->next) {
    bool known = false;
    for (const char* name : allowed)
      known = known || (a->ns == nullptr && std::strcmp(reinterpret_cast<const char*>(a->name), name) == 0);
    if (!known) return false;
  }
  return true;
}

std::string Attribute(const xmlNode* node, const char* name, bool* present = nullptr) {
  xmlChar* value = xmlGetNoNsProp(node, reinterpret_cast<const xmlChar*>(name));
  if (present) *present = value != nullptr;
  std::string text = value ? reinterpret_cast<const char*>(value) : "";
  xmlFree(value);
  return text;
}

bool Occurs(const std::string& text, long* out, bool unbounded_allowed) {
  if (unbounded_allowed && text == "unbounded") {
    *out = -1;
    return true;
  }
  if (text.empty() || text.size() > 9 || text.find_first_not_of("0123456789") != std::string::npos)
    return false;
  *out = std::stol(text);
  return true;
}

// A type by its name: xs:string, or a simple type of the schema restricting
// it by one pattern.
bool SimpleType(const xmlNode* schema, const xmlNode* at, const std::string& type,
                LedgerRule* rule) {
  const std::size_t colon = type.find(':');
  const std::string prefix = colon == std::string::npos ? "" : type.substr(0, colon);
  const std::string local = colon == std::string::npos ? type : type.substr(colon + 1);
  const xmlNs* ns = xmlSearchNs(at->doc, const_cast<xmlNode*>(at),
                                prefix.empty() ? nullptr : reinterpret_cast<const xmlChar*>(prefix.c_str()));
  const bool in_xsd = ns != nullptr && std::strcmp(reinterpret_cast<const char*>(ns->href), kXsd) == 0;
  rule->simple = true;
  if (in_xsd) {
    rule->form = LedgerRule::Form::kAnyText;
    return local == "string";
  }
  if (ns != nullptr) return false; // the schema has no target namespace
  std::vector<xmlNode*> top, parts;
  if (!Children(schema, &top)) return false;
  for (const xmlNode* t : top) {
    if (!IsXsd(t, "simpleType") || Attribute(t, "name") != local) continue;
    if (!OnlyAttributes(t, {"name"}) || !Children(t, &parts) || parts.size() != 1 ||
        !IsXsd(parts[0], "restriction") || !OnlyAttributes(parts[0], {"base"}))
      return false;
    LedgerRule base;
    if (!SimpleType(schema, parts[0], Attribute(parts[0], "base"), &base) ||
        base.form != LedgerRule::Form::kAnyText)
      return false;
    const xmlNode* restriction = parts[0];
    if (!Children(restriction, &parts) || parts.size() != 1 || !IsXsd(parts[0], "pattern") ||
        !OnlyAttributes(parts[0], {"value"}))
      return false;
    rule->pattern = Attribute(parts[0], "value");
    if (rule->pattern == "-?(0|[1-9][0-9]{0,17})") {
      rule->form = LedgerRule::Form::kAmount;
    } else if (rule->pattern == "[0-9]{1,18}") {
      rule->form = LedgerRule::Form::kDigits;
    } else {
      xmlRegexpPtr re = xmlRegexpCompile(reinterpret_cast<const xmlChar*>(rule->pattern.c_str()));
      if (re == nullptr) return false;
      rule->regexp.reset(re, xmlRegFreeRegexp);
      rule->form = LedgerRule::Form::kRegexp;
    }
    return true;
  }
  return false;
}

bool ElementRule(const xmlNode* schema, const xmlNode* element, bool top, LedgerRule* rule) {
  if (!(top ? OnlyAttributes(element, {"name"})
            : OnlyAttributes(element, {"name", "type", "minOccurs", "maxOccurs"})))
    return false;
  bool named = false, typed = false, has_min = false, has_max = false;
  rule->name = Attribute(element, "name", &named);
  const std::string type = Attribute(element, "type", &typed);
  const std::string min = Attribute(element, "minOccurs", &has_min);
  const std::string max = Attribute(element, "maxOccurs", &has_max);
  if (!named || rule->name.empty() || (has_min && !Occurs(min, &rule->min, false)) ||
      (has_max && !Occurs(max, &rule->max, true)) || (rule->max >= 0 && rule->max < rule->min))
    return false;
  std::vector<xmlNode*> parts;
  if (!Children(element, &parts)) return false;
  if (typed) return parts.empty() && SimpleType(schema, element, type, rule);
  if (parts.size() != 1 || !IsXsd(parts[0], "complexType") || !OnlyAttributes(parts[0], {}))
    return false;
  const xmlNode* complex = parts[0];
  if (!Children(complex, &parts) || parts.size() != 1 || !IsXsd(parts[0], "sequence") ||
      !OnlyAttributes(parts[0], {}))
    return false;
  const xmlNode* sequence = parts[0];
  if (!Children(sequence, &parts)) return false;
  for (const xmlNode* child : parts) {
    if (!IsXsd(child, "element")) return false;
    rule->children.emplace_back();
    if (!ElementRule(schema, child, false, &rule->children.back())) return false;
  }
  return true;
}

bool Digits(const char* p, std::size_t n, std::size_t most) {
  if (n == 0 || n > most) return false;
  for (std::size_t i = 0; i < n; ++i)
    if (p[i] < '0' || p[i] > '9') return false;
  return true;
}

} // namespace

std::unique_ptr<LedgerForm> LedgerForm::FromSchema(xmlNode* schema, xmlNode** element) {
  *element = nullptr;
  std::vector<xmlNode*> top;
  if (schema == nullptr || !IsXsd(schema, "schema") ||
      xmlHasProp(schema, reinterpret_cast<const xmlChar*>("targetNamespace")) ||
      !Children(schema, &top))
    return nullptr;
  for (xmlNode* node : top) {
    if (!IsXsd(node, "element") || Attribute(node, "name") != kElement) continue;
    auto form = std::make_unique<LedgerForm>();
    if (!ElementRule(schema, node, true, &form->root_) || form->root_.simple) return nullptr;
    *element = node;
    return form;
  }
  return nullptr;
}

bool LedgerForm::Accepts(const LedgerRule& rule, const std::string& text) {
  switch (rule.form) {
    case LedgerRule::Form::kAnyText: return true;
    case LedgerRule::Form::kAmount: {
      const char* p = text.data();
      std::size_t n = text.size();
      if (n > 0 && *p == '-') ++p, --n;
      return (n == 1 && *p == '0') || (n > 0 && *p >= '1' && *p <= '9' && Digits(p, n, 18));
    }
    case LedgerRule::Form::kDigits: return Digits(text.data(), text.size(), 18);
    case LedgerRule::Form::kRegexp:
      return xmlRegexpExec(rule.regexp.get(), reinterpret_cast<const xmlChar*>(text.c_str())) == 1;
  }
  return false;
}

std::string LedgerFormCheck::Expected(const Open& open) {
  std::vector<const std::string*> names;
  const std::vector<LedgerRule>& children = open.rule->children;
  long count = open.count;
  for (std::size_t i = open.at; i < children.size(); ++i, count = 0) {
    if (children[i].max < 0 || count < children[i].max) names.push_back(&children[i].name);
    if (count < children[i].min) break;
  }
  if (names.empty()) return "";
  std::string text = names.size() == 1 ? " Expected is ( " : " Expected is one of ( ";
  for (std::size_t i = 0; i < names.size(); ++i) text += (i ? ", " : "") + *names[i];
  return text + " ).";
}

std::string LedgerFormCheck::Named(const char* name, const char* namespace_uri) {
  return namespace_uri ? "{" + std::string(namespace_uri) + "}" + name : std::string(name);
}

} // namespace stmtlink::report

#include "tools/report/report_schema.h"

#include <libxml/parser.h>
#include <libxml/xmlschemas.h>

namespace stmtlink::report {
namespace {

void Quiet(void*, const char*, ...) {}

const xmlChar* X(const char* text) { return reinterpret_cast<const xmlChar*>(text); }

// The declaration's content becomes "any elements, not validated".
void LeaveContentUnseen(xmlNode* element) {
  xmlNs* ns = element->ns;
  while (element->children != nullptr) {
    xmlNode* child = element->children;
    xmlUnlinkNode(child);
    xmlFreeNode(child);
  }
  xmlNode* complex = xmlNewChild(element, ns, X("complexType"), nullptr);
  xmlNode* sequence = xmlNewChild(complex, ns, X("sequence"), nullptr);
  xmlNode* any = xmlNewChild(sequence, ns, X("any"), nullptr);
  xmlNewProp(any, X("processContents"), X("skip"));
  xmlNewProp(any, X("minOccurs"), X("0"));
  xmlNewProp(any, X("maxOccurs"), X("unbounded"));
}

} // namespace

std::unique_ptr<ReportSchema> ReportSchema::Load(const std::string& path) {
  xmlSetGenericErrorFunc(nullptr, Quiet);
  std::unique_ptr<ReportSchema> out(new ReportSchema);
  out->doc_ = xmlReadFile(path.c_str(), nullptr, XML_PARSE_NONET | XML_PARSE_NOWARNING | XML_PARSE_NOERROR);
  if (out->doc_ == nullptr) return nullptr;
  xmlNode* ledger = nullptr;
  out->ledger_form_ = LedgerForm::FromSchema(xmlDocGetRootElement(out->doc_), &ledger);
  if (out->ledger_form_) LeaveContentUnseen(ledger);
  xmlSchemaParserCtxtPtr parser = xmlSchemaNewDocParserCtxt(out->doc_);
  if (parser == nullptr) return nullptr;
  xmlSchemaSetParserErrors(parser, Quiet, Quiet, nullptr);
  out->schema_ = xmlSchemaParse(parser);
  xmlSchemaFreeParserCtxt(parser);
  if (out->schema_ == nullptr) return nullptr;
  return out;
}

ReportSchema::~ReportSchema() {
  if (schema_ != nullptr) xmlSchemaFree(schema_);
  if (doc_ != nullptr) xmlFreeDoc(doc_);
}

} // namespace stmtlink::report

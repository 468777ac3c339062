#include "tools/report/report_schema.h"

#include <libxml/xmlschemas.h>

namespace stmtlink::report {
namespace {

void Quiet(void*, const char*, ...) {}

} // namespace

std::unique_ptr<ReportSchema> ReportSchema::Load(const std::string& path) {
  xmlSchemaParserCtxtPtr parser = xmlSchemaNewParserCtxt(path.c_str());
  if (parser == nullptr) return nullptr;
  xmlSchemaSetParserErrors(parser, Quiet, Quiet, nullptr);
  xmlSetGenericErrorFunc(nullptr, Quiet);
  xmlSchemaPtr schema = xmlSchemaParse(parser);
  xmlSchemaFreeParserCtxt(parser);
  if (schema == nullptr) return nullptr;
  return std::unique_ptr<ReportSchema>(new ReportSchema(schema));
}

ReportSchema::~ReportSchema() { xmlSchemaFree(schema_); }

} // namespace stmtlink::report

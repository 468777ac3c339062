// What libxml2 says about a report, in the tool's Japanese. The parser's
// faults are told by their error code and the names it hands with them;
// the schema's findings (libxml2's, and the ledger form check's, which
// speaks the same words) by the form of their English sentence. Nothing of
// libxml2's English reaches the tool's output.
#pragma once

#include <string>

namespace stmtlink::report {

// A fault that ends the parse: its code (xmlParserErrors), and the names
// libxml2 gives with it (str1, str2: element names for a mismatched end
// tag; int1: the line of the start tag). Empty names are left out.
struct ParserFault {
  int code = 0;
  std::string first, second;
  int number = 0;
};
std::string ParserFaultReason(const ParserFault& fault);

// A schema validation message in Japanese ("Element 'X': This element is
// not expected. Expected is ( Y )." -> "要素 X はここに置けません ..."). An
// unknown form is still named by its element, without the English.
std::string SchemaProblemReason(const std::string& english);

} // namespace stmtlink::report

// Checks e-Tax CSV files of the statements (HOT010 3.0) by the rules the
// export keeps: bytes of JIS X 0208 in Shift_JIS, CR LF, five fields and
// no quotes, rows 1-5 in their form, 行区分 1 or T, amounts of half-width
// digits with an optional minus and none on a heading, 階層番号 of 2 or
// more rising by at most one, codes of the NTA's table (or a table code
// with a branch number) each at most once. Findings are Japanese, one per
// fault with the file and line.
#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <string_view>

#include "tools/report/etax_codes.h"
#include "tools/report/findings.h"

namespace stmtlink::report {

// What a file holds beyond its faults: its head and the amount of each code.
struct EtaxFileContent {
  std::string company, from, to; // rows B, C1, C2 (UTF-8), as written
  std::map<std::string, std::int64_t> amounts;
  std::map<std::string, long> lines; // the line of each code
};

// Checks the bytes of the file named name (for the findings) as a file of
// that kind; the faults go to findings, what it holds to *content.
void CheckEtaxFile(std::string_view bytes, EtaxKind kind, const EtaxCodeTable& table, const std::string& name,
                   Findings* findings, EtaxFileContent* content);

} // namespace stmtlink::report

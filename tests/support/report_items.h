// The program's report for tests of the books tool: a batch run over the
// whole year, and its items by label.
#pragma once

#include <map>
#include <string>
#include <utility>
#include <vector>

namespace stmtlink::testing {

// The report of a batch run over months 4 to 3 of the home's books, as
// CP932 bytes; the run must succeed. conditions: more options.
std::string YearReport(const std::string& home, const std::vector<std::string>& conditions);

// Each labelled figure of a report (CP932): items by their text, totals by
// their Amount; in yen. The first of a repeated label is kept.
std::map<std::string, long long> ReportItems(const std::string& cp932);

// Expects each (UTF-8 label, yen) of want among the items, with that figure.
void ExpectItems(const std::map<std::string, long long>& items,
                 const std::vector<std::pair<const char8_t*, long long>>& want);

} // namespace stmtlink::testing

// One line of a comma-separated data file split into its fields: a field in
// double quotes may hold commas and doubled quotes (the NTA's code tables
// quote their English names). Used for the tool's own data files and a
// company's account map, never for the e-Tax files, which take no quotes.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace stmtlink::report {

// The fields of line (without its line end); false when a quote is left
// open or a closing quote is followed by anything but a comma.
bool SplitCsvFields(std::string_view line, std::vector<std::string>* fields);

// The lines of a text without their line ends (LF or CR LF).
std::vector<std::string_view> TextLines(std::string_view text);

} // namespace stmtlink::report

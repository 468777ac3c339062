// Reports for the reader's tests, written by the real programs: books from
// stmtlink-books (sample or import), then the standard edition in batch.
#pragma once

#include <string>
#include <vector>

#include "tests/support/temp_dir.h"
#include "tools/report/report_check.h"

namespace stmtlink::report::testing {

// Makes sample books (with the extra sample options) in a new home under
// dir and writes their report with the extra program options; returns the
// report's path, or "" after a failed step (with the reason in *why).
std::string SampleReport(const std::string& dir, const std::string& name,
                         const std::vector<std::string>& sample_options,
                         const std::vector<std::string>& run_options, std::string* why);

// The same from imported books: journal.csv (and chart.csv when given)
// written into the home, imported with the extra options; the report runs
// from month 4 to to_month, with the general ledger.
std::string ImportedReport(const std::string& dir, const std::string& name,
                           const std::string& journal_csv, const std::string& chart_csv,
                           const std::vector<std::string>& import_options, std::string* why,
                           const std::string& to_month = "3");

// Checks a report against the schema beside the built tool.
CheckOutcome Check(const std::string& path);

// The findings of one severity, and whether any names that text.
std::vector<Finding> Of(const CheckOutcome& outcome, Severity severity);
bool Names(const std::vector<Finding>& findings, const std::string& check, const std::string& text);

} // namespace stmtlink::report::testing

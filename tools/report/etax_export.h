// stmtlink-report etax: a report's balance sheet and income statement as
// e-Tax's CSV files (HOT010_3.0_BS.csv, HOT010_3.0_PL.csv) in a folder, and
// the statements e-Tax takes as PDF (the manufacturing schedule, the equity
// statement, the notes) as 決算書_その他.pdf beside them. Everything is
// built and checked in memory first; each file is written under a
// temporary name and all are put in place together only when every one is
// whole. A failure leaves the folder as it was.
#pragma once

#include <functional>
#include <ostream>
#include <string>

#include "tools/report/report_tree.h"

namespace stmtlink::report {

struct EtaxExportRequest {
  std::string report;   // REPORT.xml
  std::string folder;   // -o DIR (made when missing, its parent must exist)
  std::string map;      // --map MAP.csv, "" for none
  std::string company;  // --company: the name to write instead of the report's
};

// Lays out the statements' HTML (StatementsHtml in Qt's form) and writes
// the PDF at path; false when it cannot.
using EtaxPdfWriter = std::function<bool(const Node& root, const std::string& html, const std::string& path)>;

constexpr const char kEtaxPdfName[] = "決算書_その他.pdf";

// Runs the command: what was written (or why nothing was) to out and err.
// Returns 0, or 2 when nothing was written.
int EtaxExport(const EtaxExportRequest& request, const EtaxPdfWriter& write_pdf, std::ostream& out,
               std::ostream& err);

} // namespace stmtlink::report

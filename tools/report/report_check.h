// The whole check of one report file: the reading (form, encoding, line
// ends, schema), the statements' figures, the ledger and the warnings for
// the accountant. Its outcome is the tool's exit status: 0 clean (or only
// truncation differences), 1 warnings only, 2 errors or an unreadable file.
#pragma once

#include <string>

#include "tools/report/findings.h"
#include "tools/report/report_reader.h"

namespace stmtlink::report {

struct CheckOutcome {
  ReadResult read;     // the tree is kept for whoever shows the report
  Findings findings;   // empty when the file was refused
  long ledger_blocks = 0;
  long ledger_rows = 0;
  int exit_status = 2;
};

constexpr int kExitClean = 0;
constexpr int kExitWarnings = 1;
constexpr int kExitErrors = 2;

void CheckReport(const std::string& path, const std::string& schema_path, CheckOutcome* outcome);
// The same with a schema compiled beforehand.
void CheckReport(const std::string& path, const ReportSchema& schema, CheckOutcome* outcome);

// Why the file was refused, in Japanese.
std::string RefusalMessage(const ReadResult& read);

// The outcome as text for a terminal, and as JSON for scripts.
std::string CheckText(const std::string& path, const CheckOutcome& outcome);
std::string CheckJson(const std::string& path, const CheckOutcome& outcome);

} // namespace stmtlink::report

// Reads a finished report file in one streaming pass (libxml2's reader):
// checks that it is well-formed Shift_JIS XML with CR LF lines, validates
// it against the report's schema, and returns every element outside the
// general ledger as a tree. The ledger's blocks and rows go to a sink one
// at a time and are never kept. The file is only read.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "tools/report/report_tree.h"

namespace stmtlink::report {

// One account block of the general ledger, and one of its rows.
struct LedgerBlock {
  std::string account;
  std::string category;
  std::int64_t opening = 0;
  std::int64_t closing = 0;
  long line = 0;
};
struct LedgerRow {
  std::string entry_no, date, sub_account, counter_account, counter_sub_account, description;
  std::int64_t amount = 0;
  std::int64_t balance = 0;
  long line = 0;
};

class LedgerSink {
 public:
  virtual ~LedgerSink() = default;
  // Called at the first row of a block, or at its end when it has none.
  virtual void BeginBlock(const LedgerBlock& block) = 0;
  virtual void Row(const LedgerRow& row) = 0;
  virtual void EndBlock() = 0;
};

// Why a file could not be read as a report at all.
enum class Refusal {
  kNone,
  kCannotOpen,   // missing, not permitted, not a regular file (a FIFO, a folder), unreadable
  kNotReport,    // not XML, or a root other than REPORT
  kNotShiftJis,  // no Shift_JIS declaration, or bytes that are not code page 932
  kTruncated,    // the file ends inside the document
  kBroken,       // not well-formed: a broken element, a stray character
  kNotNumber,    // an amount that is not a number
  kNoSchema,     // the schema beside the tool cannot be read
};

// A place in the report: its line and element path.
struct Place {
  long line = 0;
  std::string path; // "/REPORT/DATA/BalanceSheet/Assets"
};

struct SchemaProblem {
  Place place;
  std::string message; // libxml2's words (English): SchemaProblemReason says them
};

struct ReadResult {
  Refusal refusal = Refusal::kNone;
  Place refusal_place;
  // Japanese: the system's reason or the parser's fault; or the bytes in
  // hexadecimal, or the text that is no amount (as read, uncut).
  std::string refusal_detail;
  Node root;                  // REPORT and everything but the ledger's content
  bool has_ledger = false;
  std::vector<SchemaProblem> schema_problems; // the first kMaxSchemaProblems
  long schema_problem_count = 0;
  long bad_line_ends = 0;
  long first_bad_line_end = 0;
  std::uint64_t bytes = 0;
};

constexpr long kMaxSchemaProblems = 50;

class ReportSchema;

struct ReadOptions {
  const ReportSchema* schema = nullptr; // the compiled schema; nullptr: schema_path
  std::string schema_path;       // empty (and no schema): no validation
  LedgerSink* ledger = nullptr;  // may be null: the ledger is read and checked for form only
};

// Reads the file at path. Returns false when it was refused (result->refusal).
bool ReadReport(const std::string& path, const ReadOptions& options, ReadResult* result);

// The schema shipped beside the program: <folder of the program>/stmtlink-report.xsd.
std::string DefaultSchemaPath();

} // namespace stmtlink::report

// Everything e-Tax's two CSV files of a report need, built in memory: the
// NTA's code tables and the standard chart's account table (shipped beside
// the tool), the rows of each statement and the files' bytes, checked by
// the same rules as etax-check before anything is written.
#pragma once

#include <array>
#include <string>

#include "tools/report/etax_account_map.h"
#include "tools/report/etax_codes.h"
#include "tools/report/etax_file.h"
#include "tools/report/etax_rows.h"
#include "tools/report/report_tree.h"

namespace stmtlink::report {

struct EtaxTables {
  EtaxCodeTable balance_sheet, income;
  AccountMap standard_accounts;
  // Reads the three data files beside the program (or in folder, when
  // given); false with *error naming the file.
  bool Load(std::string* error, const std::string& folder = "");
  const EtaxCodeTable& Of(EtaxKind kind) const { return kind == EtaxKind::kBalanceSheet ? balance_sheet : income; }
};

struct EtaxFiles {
  std::array<EtaxSheet, 2> sheets;  // the balance sheet, the income statement
  std::array<std::string, 2> bytes; // their files
};

// The rows of both statements of the report (root: REPORT); false with
// *refusal when a --map line does not fit or the report lacks a statement.
bool BuildEtaxSheets(const Node& root, const EtaxTables& tables, const AccountMap* company_map,
                     std::array<EtaxSheet, 2>* sheets, std::string* refusal);

// Both files' bytes, checked; company: the name to write ("" for the
// report's). False with *refusal (Japanese) for a character e-Tax cannot
// take, or when a built file breaks a rule (told with the finding).
bool BuildEtaxFiles(const Node& root, const EtaxTables& tables, const AccountMap* company_map,
                    const std::string& company, EtaxFiles* files, std::string* refusal);

} // namespace stmtlink::report

// One e-Tax CSV file of a statement (HOT010 3.0) as bytes: Shift_JIS
// (code page 932), CR LF after every line, five fields a row, no heading
// row and no quotes. Rows 1-5 name the kind, the company, the business
// year and the statement's title; the statement's rows follow with
// 勘定科目名, 金額, 行区分 (1 or T), 階層番号 and 勘定科目コード.
#pragma once

#include <string>

#include "tools/report/etax_rows.h"

namespace stmtlink::report {

// The business year's first and last day as rows C1 and C2 carry them.
// The NTA's record layout was not at hand when this was written; the form
// here (YYYY-MM-DD, as other programs write it) is unconfirmed and lives
// in this one function.
std::string EtaxDate(int yyyymmdd);

const char* EtaxFileName(EtaxKind kind);  // HOT010_3.0_BS.csv
const char* EtaxKindCode(EtaxKind kind);  // BS
const char* EtaxTitle(EtaxKind kind);     // 貸借対照表

struct EtaxHead {
  std::string company; // UTF-8
  int period_from = 0; // yyyymmdd
  int period_to = 0;
};

// The file's bytes; false with *refusal (Japanese) when a name holds a
// character e-Tax cannot take, naming the character and where it stands.
bool EtaxFileBytes(const EtaxSheet& sheet, const EtaxHead& head, std::string* bytes, std::string* refusal);

} // namespace stmtlink::report

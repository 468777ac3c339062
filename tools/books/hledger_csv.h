// The journal as plain-text accounting writes it with `hledger print -O csv`:
// one posting a record (txnidx, date, description, account, amount,
// commodity, ...). Postings with the same txnidx are one entry; an entry of
// two postings becomes one line with both sides, a longer one a line per
// posting. A positive amount is a debit, a negative one a credit, in yen
// (commodity empty, ¥, ￥, 円 or JPY).
//
// Account names reach the chart through a mapping file (--map) with the
// columns `account` (the hledger name, e.g. "assets:bank:東都銀行") and
// `code` (anything the journal's account columns take: 1120-1, 普通預金).
// A name the map lacks is looked up in the chart as it stands, then by its
// last component ("資産:現金" -> 現金).
#pragma once

#include <string>
#include <unordered_map>

#include "tools/books/account_finder.h"
#include "tools/books/csv_file.h"
#include "tools/books/journal_entries.h"
#include "tools/books/user_text.h"

namespace stmtlink {

// True when the header record is hledger's.
bool LooksLikeHledgerCsv(const CsvRecord& header);

// Reads the mapping file; every bad record is a problem.
bool ReadAccountMap(CsvFile& file, const AccountFinder& accounts, AccountMap* map,
                    ImportProblems* problems);

// Descriptions are cleaned as journal_csv's are; the lines whose line
// breaks or tabs became spaces go to *joined_descriptions (when not null).
void ReadHledgerCsv(CsvFile& file, const AccountFinder& accounts, const AccountMap& map,
                    EntrySink* sink, ImportProblems* problems,
                    ChangedLines* joined_descriptions = nullptr);

} // namespace stmtlink

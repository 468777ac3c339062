// The journal of generated books in the plain-text format of ledger-cli,
// so that the whole run can be compared with `ledger bal` over the same
// journal: one transaction per entry, each line's debit account with
// +(amount + tax) and its credit account with -(amount + tax), in yen with
// four decimals. Accounts are named by their stored codes ("A11100000").
#pragma once

#include <string>

namespace stmtlink::bench {

// Writes the journal of data set 1 of books into path unless path exists.
// False with *error set when the books cannot be read or the file written.
bool EnsureLedgerJournal(const std::string& books, const std::string& path, std::string* error);

// The ledger-cli program to compare with: $STMTLINK_LEDGER_CLI, else
// "ledger" found on the PATH; empty when there is none.
std::string LedgerCliProgram();

} // namespace stmtlink::bench

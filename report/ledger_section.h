// The general ledger ("HJ00780S", the receiver's form identifier): one
// account block (name, category, opening and closing balance) per account
// that has ledger lines, in the order of the statement lines, each followed
// by one row per ledger line. Without ledger lines nothing is written.
#pragma once

#include <cstdint>

#include "aggregate/account_line.h"
#include "aggregate/ledger_line.h"

namespace stmtlink {

class XmlWriter;

// The category name of an account-nature code: the first of 35 tests whose
// bits the code contains all of; "" when none does.
const char* NatureCategoryName(std::int32_t nature);

// Writes the section at depth 2. 1 on success (also when nothing is
// written), 0 on a failed write. Ledger lines whose account is not met in
// `lines` at or after the current account are left out.
int WriteLedgerSection(XmlWriter& xml, const AccountLineList& lines, const LedgerLineList& ledger);

} // namespace stmtlink

// The account-sum rows of one company data set, computed from the books:
// one row per main account (code a multiple of 10,000) in master order
// (seq, then code), with sub-accounts rolled into their main account.
//
// Slot 0 holds the opening balances, slots 1-14 the journal lines by their
// slot. The second amount set books each line's amount plus its tax to the
// accounts named; the first books the amount alone, the debit tax to the
// account of nature 0x80880810 and the credit tax to the account of nature
// 0x80484010 (the first main account of each, in master order).
//
// A row with members in total_member sums, slot by slot, the debit and
// credit sums of its members: the main accounts of line type 0 or 3 (other
// than itself) whose nature contains every bit of one of its masks, each
// counted once. Its own opening balance and journal lines, if any, are kept
// and the members' sums added to them, so a computed item (line type 3) can
// hold a balance of its own. A computed member contributes its computed
// sums; a cycle of computed rows is refused as inconsistent books.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "host/host_records.h"

namespace stmtlink {

class SubstituteHome;

enum class SumsStatus {
  kOk,
  kNoDataSet,   // no data set has the data ID
  kBooksError,  // the books cannot be read, or a sum does not fit 64 bits
};

// Reads the rows of the data set whose data_id is data_id (UTF-8) from the
// home's books and its reading of the journal into *rows (replaced). Names are CP932, cut to 30 bytes without splitting a
// double-byte character. Journal lines with a slot outside 1-14 and codes
// with no main account in the master are not part of any row.
SumsStatus ComputeAccountSums(SubstituteHome& home, const std::string& data_id,
                              std::vector<StKAMOKUSUMINFO>* rows, std::string* error);

} // namespace stmtlink

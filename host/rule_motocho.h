// The host's general-ledger cursor: the ledger rows of one account, named by
// the display settings, between their first and last dates.
//
// Use: AttachSetMgr, SetCurDataID, AttachOptLink; MoveReady; GetCount;
// SetMovePos(0); MoveFirst, then MoveNext until 5000; MoveFinish. Every call
// returns 0 for success or an error code (host_errors.h).
//
// Substitute: a ledger row is a journal line (slot 1-14, dated within the
// range) that names the account on either side: its main code when the
// settings name a main account, the exact code when they name a
// sub-account. The account that takes a consumption tax in the first amount
// set (the first main account of nature 0x80880810 for the debit tax, of
// 0x80484010 for the credit tax, as the account sums book it) also gets the
// lines that carry that tax. Rows come in date, entry identifier and line
// order. The side byte is 2 when the account stands on the debit side
// (named there or taking the debit tax), 1 on the credit side, 3 on both.
// The counterpart marker is (debit multiplicity << 4) | credit multiplicity
// of the line's entry: 0 no account on that side, 1 one code, 2 several.
// The lines of an entry are taken to share one date.
// Interim closing adjustments (slot 14) dated on the range's last day are
// rows only when the settings ask for the interim closing (0x30 = 1), so a
// range that ends with the sixth month leaves them to the interim position.
// The search and order conditions are only recorded.
// Besides "ClRuleMotocho::MoveNext", a failure injected as
// "ClRuleMotocho::MoveNext@N" hits only the Nth MoveNext since MoveReady.
#pragma once

#include <cstddef>
#include <vector>

#include "host/ledger_records.h"
#include "host/rule_base.h"

class ClRuleMotocho : public ClRuleBase {
 public:
  // Reads the rows. kHostErrorArgument without display settings,
  // kHostErrorNoDataSet when no data set has the current data ID,
  // kHostErrorBooks when the books cannot be read.
  long MoveReady(const StFINDINFO* find, const StSORTINFO* order,
                 const StMOTOCHOHYOJIINFO* display);
  // The number of rows; kHostErrorArgument before a successful MoveReady.
  long GetCount(const StFINDINFO* find, const StMOTOCHOHYOJIINFO* display, long* count);
  // The row that the next MoveNext reads (0 the first).
  long SetMovePos(long position);
  // The first row into *row (zero-filled first); 5000 when there is none.
  long MoveFirst(StMOTOCHOINFO* row);
  // The next row into *row (zero-filled first); 5000 after the last one.
  long MoveNext(StMOTOCHOINFO* row);
  // Ends the reading; the cursor needs a new MoveReady.
  long MoveFinish();

  const char* ClassName() const override { return "ClRuleMotocho"; }

 private:
  long ReadAt(std::size_t position, StMOTOCHOINFO* row);

  bool ready_ = false;
  std::vector<StMOTOCHOINFO> rows_;
  std::size_t position_ = 0;
  long reads_ = 0; // MoveNext calls since MoveReady
};

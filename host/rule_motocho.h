// The host's general-ledger cursor: the ledger rows of one account, named by
// the display settings, between their first and last dates.
//
// Use: AttachSetMgr, SetCurDataID, AttachOptLink; MoveReady; GetCount;
// SetMovePos(0); MoveFirst, then MoveNext until 5000; MoveFinish. Every call
// returns 0 for success or an error code (host_errors.h).
//
// Substitute: the rows are those of host/substitute/ledger_index.h (which says which
// journal lines are rows and their side byte) in the ledger order of
// host/substitute/journal_store.h (which gives the counterpart marker); the journal is
// read once per data set and shared by the accounts and ranges. The search
// conditions choose month positions (the program asks for "not 15", so the
// interim adjustments are never rows); a condition on another field is
// refused by MoveReady. Where a line leaves the side opposite the account
// empty and its entry has one account there, the row names that account.
// The tax accounts are the first main account of nature 0x80880810 (debit
// tax) and of 0x80484010 (credit tax), as the account sums book them.
// The order conditions and the display's interim flag are only recorded:
// the rows always come in the one order the program asks for.
// Besides "ClRuleMotocho::MoveNext", a failure injected as
// "ClRuleMotocho::MoveNext@N" hits only the Nth MoveNext since MoveReady.
#pragma once

#include <memory>

#include "host/ledger_records.h"
#include "host/rule_base.h"

class ClRuleMotocho : public ClRuleBase {
 public:
  ClRuleMotocho();
  ~ClRuleMotocho() override;

  // Reads the rows. kHostErrorArgument without display settings or for a
  // search condition it does not understand,
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
  struct Reading; // the rows made ready, where the implementation keeps them
  std::unique_ptr<Reading> reading_;
};

// The host's journal cursor: journal lines of the current data set.
//
// Use: AttachSetMgr, SetCurDataID, AttachOptLink; MoveReady; GetSwkCount;
// MoveFirst, then MoveNext until 5000; MoveFinish. Every call returns 0 for
// success or an error code (host_errors.h).
//
// Substitute: the lines come from the journal store (host/substitute/journal_store.h),
// read once per data set, in its ledger order. The one search condition it
// understands is the entry: field 6, operator 1
// (equal), a 16- or 32-bit value; a chain of such conditions must hold
// together. No chain (null) gives every line of the data set; a chain with
// any other condition is refused by MoveReady. The order conditions, the
// display settings and the cursor type are only recorded.
#pragma once

#include <memory>

#include "host/ledger_records.h"
#include "host/rule_base.h"

// The cursor type the program passes to MoveReady (its meaning is the host's).
constexpr int kJournalCursorType = 2;

class ClRuleShiwake : public ClRuleBase {
 public:
  ClRuleShiwake();
  ~ClRuleShiwake() override;

  // Reads the lines. kHostErrorArgument for a condition it does not
  // understand, kHostErrorNoDataSet when no data set has the current data
  // ID, kHostErrorBooks when the books cannot be read.
  long MoveReady(const StFINDINFO* find, const StSORTINFO* order, const StSWKDISPINFO* display,
                 int cursor_type);
  // The number of lines; kHostErrorArgument before a successful MoveReady.
  long GetSwkCount(const StFINDINFO* find, const StSWKDISPINFO* display, long* count);
  // The first line into *line (zero-filled first); 5000 when there is none.
  long MoveFirst(StSWKTINFO* line);
  // The next line into *line (zero-filled first); 5000 after the last one.
  long MoveNext(StSWKTINFO* line);
  // Ends the reading; the cursor needs a new MoveReady.
  long MoveFinish();

  const char* ClassName() const override { return "ClRuleShiwake"; }

 private:
  struct Reading; // the lines made ready, where the implementation keeps them
  std::unique_ptr<Reading> reading_;
};

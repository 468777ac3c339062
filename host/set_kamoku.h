// The account data set (kind 1): the account master of the current data
// set, searched by conditions. Substitute: the books' account table, in
// master order (seq, then code). The one condition it understands is the
// code: field 2, operator 1 (equal), a 16- or 32-bit value; a chain of such
// conditions must hold together. A chain with any other condition is
// refused by ReadyCursor, and no chain (null) gives every account.
#pragma once

#include <memory>

#include "host/ledger_records.h"
#include "host/set_base.h"

class ClSetKamoku : public ClSetBase {
 public:
  ClSetKamoku();
  ~ClSetKamoku() override;

  long GetCursor(long* cursor);
  // Finds the accounts that meet the conditions (a chain of StFINDINFO
  // entries linked by their link field, at most kFindInfoChainLength long).
  // kHostErrorNoDataSet when no data set has the current data ID.
  long ReadyCursor(long cursor, const StFINDINFO* find);
  // The next account found into *row (zero-filled first); 5000 after the
  // last one.
  long WalkFind(long cursor, StKAMOKUINFO* row);
  long ReleaseCursor(long cursor);

  const char* ClassName() const override { return "ClSetKamoku"; }
  void ResetForTesting() override;

 private:
  struct Cursors; // the open cursors, where the implementation keeps them
  std::unique_ptr<Cursors> cursors_;
};

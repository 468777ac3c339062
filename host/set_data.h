// The data list (kind 5): the company data sets held in the books.
// Substitute: one record per row of the books' data_set table, in data_no
// order; the selected data set is the one whose data_no is the second
// selection number of the current user (host.ini [User]).
#pragma once

#include "host/host_records.h"
#include "host/set_base.h"

class ClSetData : public ClSetBase {
 public:
  // A cursor over the data list; its handle goes to the other calls.
  long GetDatCursor(long* cursor);
  long ReadyDat(long cursor, int mode);
  // The next record into *out (zero-filled first); 5000 after the last one.
  long WalkDat(long cursor, StDATAINFO* out);
  long ReleaseDatCursor(long cursor);
  // The record of the user's selected data set; null when there is none.
  const StDATAINFO* GetSelectedInfo();

 private:
  StDATAINFO selected_{};
};

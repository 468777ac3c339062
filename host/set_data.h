// The data list (kind 5): the company data sets held in the books.
// Substitute: one record per row of the books' data_set table, in data_no
// order; the selected data set is the one whose data_no is the second
// selection number of the current user (host.ini [User]). The company name
// and the data ID are converted to CP932 and cut to their fields without
// splitting a double-byte character; the read mode of ReadyDat is ignored.
#pragma once

#include <memory>

#include "host/acc_period.h"
#include "host/host_records.h"
#include "host/set_base.h"

// The read mode the program passes to ReadyDat (its meaning is the host's).
constexpr int kDataListReadMode = 0;

class ClSetData : public ClSetBase {
 public:
  ClSetData();
  ~ClSetData() override;

  // A cursor over the data list; its handle goes to the other calls.
  long GetDatCursor(long* cursor);
  long ReadyDat(long cursor, int mode);
  // The next record into *out (zero-filled first); 5000 after the last one,
  // and again on every later call.
  long WalkDat(long cursor, StDATAINFO* out);
  long ReleaseDatCursor(long cursor);
  // The record of the user's selected data set; null when there is none.
  const StDATAINFO* GetSelectedInfo();
  // The accounting period of the selected data set (its first and last day,
  // the closing day its last day implies), kept by this object until the
  // next call; null when no data set is selected.
  ClAccPeriod* GetAccPeriod();

  const char* ClassName() const override { return "ClSetData"; }
  void ResetForTesting() override;

 private:
  struct Cursors; // the open cursors, where the implementation keeps them
  std::unique_ptr<Cursors> cursors_;
  StDATAINFO selected_{};
  ClAccPeriod period_;
};

// The consumption-tax settings (kind 4) of the data set named by
// SetCurDataID. Substitute: byte 5 is the data set's tax_included column.
#pragma once

#include "host/host_records.h"
#include "host/set_base.h"

class ClSetShohizei : public ClSetBase {
 public:
  // 0 and the record when the data set exists; an error code otherwise.
  // On failure *out is left as it was.
  long Get(StSHOHIZEIINFO* out);

  const char* ClassName() const override { return "ClSetShohizei"; }
};

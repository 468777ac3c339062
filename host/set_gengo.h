// The era table (data-set kind 13): one 24-byte row per era, in ascending
// order of the era's first day. Substitute: the books' era table.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>

#include "host/set_base.h"

#pragma pack(push, 1)
struct StGENGOINFO {
  std::int32_t eraNo;        // 0: the era's number in the table, from 1
  std::int32_t firstDay;     // 4: yyyymmdd
  char name[7];              // 8: era name (kanji), CP932
  char abbreviation[9];      // 15: era abbreviation, CP932
};
#pragma pack(pop)
static_assert(sizeof(StGENGOINFO) == 24);
static_assert(offsetof(StGENGOINFO, firstDay) == 4);
static_assert(offsetof(StGENGOINFO, name) == 8);
static_assert(offsetof(StGENGOINFO, abbreviation) == 15);

class ClSetGengo : public ClSetBase {
 public:
  ClSetGengo();
  ~ClSetGengo() override;

  long GetCursor(long* cursor);
  // Reads the era table for the cursor; walking starts at the first era.
  long Ready(long cursor);
  // The next era into *row (zero-filled first); 5000 after the last one.
  long Walk(long cursor, StGENGOINFO* row);
  long ReleaseCursor(long cursor);

  const char* ClassName() const override { return "ClSetGengo"; }
  void ResetForTesting() override;

 private:
  struct Cursors; // the open cursors, where the implementation keeps them
  std::unique_ptr<Cursors> cursors_;
};

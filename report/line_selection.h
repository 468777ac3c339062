// Selections of statement lines by the host's account-nature code. A report
// makes some sixty selections over the same lines, so they run over a
// compact index of the list (nature, line type, line) that stays in cache;
// each selection walks it once, in list order. The list is never changed.
#pragma once

#include <cstdint>
#include <vector>

#include "aggregate/account_line.h"

namespace stmtlink {

using LineSelection = std::vector<const AccountLine*>;

class LineIndex {
 public:
  // Indexes the lines as they are now; the index must not outlive them or
  // be used after the list changed. Throws std::bad_alloc when memory runs
  // out.
  explicit LineIndex(const AccountLineList& lines);

  // The first line whose nature is exactly `nature`, of any line type; null
  // when there is none.
  const AccountLine* FindLine(std::uint32_t nature) const;
  // The listed lines (types 0, an account, and 3, a computed item; total
  // rows of type 2 never appear as items) whose nature holds every bit of
  // `mask`. False only when memory runs out (*out is then empty).
  bool CollectByMask(std::uint32_t mask, LineSelection* out) const;
  // The listed lines whose nature is exactly `nature`. False only when
  // memory runs out.
  bool CollectByNature(std::uint32_t nature, LineSelection* out) const;

 private:
  struct Entry {
    std::uint32_t nature; // the host's bit set, unsigned
    bool listed;          // line type 0 or 3
    const AccountLine* line;
  };

  template <typename Keep>
  bool Collect(LineSelection* out, Keep keep) const;

  std::vector<Entry> entries_;
};

} // namespace stmtlink

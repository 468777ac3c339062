#include "report/line_selection.h"

#include <new>

#include "host/host_records.h"

namespace stmtlink {

LineIndex::LineIndex(const AccountLineList& lines) {
  entries_.reserve(lines.size());
  for (const auto& line : lines) {
    entries_.push_back({static_cast<std::uint32_t>(line->nature),
                        line->lineType == kLineTypeAccount || line->lineType == kLineTypeComputed,
                        line.get()});
  }
}

const AccountLine* LineIndex::FindLine(std::uint32_t nature) const {
  for (const Entry& entry : entries_) {
    if (entry.nature == nature) return entry.line;
  }
  return nullptr;
}

template <typename Keep>
bool LineIndex::Collect(LineSelection* out, Keep keep) const {
  out->clear();
  try {
    for (const Entry& entry : entries_) {
      if (entry.listed && keep(entry.nature)) out->push_back(entry.line);
    }
  } catch (const std::bad_alloc&) {
    out->clear();
    return false;
  }
  return true;
}

bool LineIndex::CollectByMask(std::uint32_t mask, LineSelection* out) const {
  return Collect(out, [mask](std::uint32_t bits) { return (bits & mask) == mask; });
}

bool LineIndex::CollectByNature(std::uint32_t nature, LineSelection* out) const {
  return Collect(out, [nature](std::uint32_t bits) { return bits == nature; });
}

} // namespace stmtlink

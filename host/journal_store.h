// The journal of one data set, read from the books once and kept for the
// ledger and journal cursors: the program opens the ledger of every account
// and the journal of some entries, and the host answers those from what it
// has read instead of asking the books again for every account and row.
//
// Lines come in the host's ledger order: date, month position (the
// year-end adjustment after the same day's ordinary lines), entry number,
// entry identifier, line number. An entry is every line with one entry
// identifier; its counterpart marker is (debit multiplicity << 4) | credit
// multiplicity, 0 no account on that side, 1 one code, 2 several.
// Descriptions are kept once each, converted to CP932.
#pragma once

#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "host/books_db.h"
#include "host/journal_lines.h"
#include "platform/large_pages.h"

namespace stmtlink {

class JournalStore {
 public:
  // The journal of the data set, from the cache when the books have not
  // changed since it was read. Null with *error set when the books cannot
  // be read.
  static std::shared_ptr<const JournalStore> Get(BooksDb& db, std::int64_t data_no,
                                                 std::string* error);

  std::uint32_t size() const { return static_cast<std::uint32_t>(lines_.size()); }
  const JournalLine& line(std::uint32_t index) const { return lines_[index]; }
  std::string_view Description(const JournalLine& line) const;

  // The lines dated first..last: [first index, end index).
  std::pair<std::uint32_t, std::uint32_t> DatedWithin(std::int64_t first, std::int64_t last) const;
  // The lines of the entry with this identifier, in ledger order.
  std::span<const std::uint32_t> EntryLines(std::int64_t entry_id) const;
  // The one account that the line's entry has on a side, 0 when it has
  // none or several.
  std::int64_t SingleCodeOfEntry(std::uint32_t index, bool debit_side) const;

 private:
  JournalStore() = default;
  bool Read(BooksDb& db, std::int64_t data_no, std::string* error);
  void MarkEntries();

  LargeVector<JournalLine> lines_;          // ledger order
  std::string texts_;                       // the descriptions, end to end
  std::vector<std::uint32_t> text_starts_;  // text n is [starts[n], starts[n + 1])
  LargeVector<std::uint32_t> by_entry_;     // line indices by entry, then ledger order
};

} // namespace stmtlink

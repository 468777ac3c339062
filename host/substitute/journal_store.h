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
// Descriptions are kept once each, converted to CP932. The lines come
// from the one reading of the journal that also checks and sums it.
#pragma once

#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <string_view>
#include <unordered_map>
#include <utility>
#include <vector>

#include "host/substitute/journal_lines.h"
#include "platform/large_pages.h"

namespace stmtlink {

class JournalStore {
 public:
  // The lines of one part of the journal's reading (journal_pass.h), in
  // reading order, with their descriptions numbered in the part's own
  // table; Finish puts their ledger-order keys in order.
  class Part {
   public:
    void Reserve(std::size_t lines) { lines_.reserve(lines); }
    // False with *error when the descriptions outgrow the text table.
    bool Add(const JournalLine& line, std::string_view utf8_description, std::string* error);
    std::size_t size() const { return lines_.size(); }
    // `second`: the part is the second of two (its keys are tagged so).
    bool Finish(bool second, std::string* error);

   private:
    friend class JournalStore;
    struct TextHash {
      using is_transparent = void;
      std::size_t operator()(std::string_view text) const { return std::hash<std::string_view>()(text); }
    };
    struct LedgerKey {
      std::uint64_t date_position_number;
      std::uint64_t id_line;
      std::uint32_t index;
      friend bool operator<(const LedgerKey& a, const LedgerKey& b) {
        if (a.date_position_number != b.date_position_number)
          return a.date_position_number < b.date_position_number;
        if (a.id_line != b.id_line) return a.id_line < b.id_line;
        return a.index < b.index;
      }
    };
    LargeVector<JournalLine> lines_;
    LargeVector<LedgerKey> keys_;           // the lines' places in ledger order, sorted
    std::string texts_;                     // CP932, end to end
    std::vector<std::uint32_t> starts_{0};  // text n is [starts[n], starts[n + 1])
    std::unordered_map<std::string, std::uint32_t, TextHash, std::equal_to<>> numbers_; // UTF-8
  };

  // The store of the lines of two finished parts, the first read before
  // the second; both are emptied. Null with *error when they are too many.
  static std::shared_ptr<const JournalStore> FromParts(Part* first, Part* second, std::string* error);

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
  void MarkEntries();

  LargeVector<JournalLine> lines_;          // ledger order
  std::string texts_;                       // the descriptions, end to end
  std::vector<std::uint32_t> text_starts_;  // text n is [starts[n], starts[n + 1])
  LargeVector<std::uint32_t> by_entry_;     // line indices by entry, then ledger order
};

} // namespace stmtlink

#include "host/substitute/journal_store.h"

#include <algorithm>
#include <limits>

#include "host/substitute/substitute_control.h"
#include "platform/text_codec.h"

namespace stmtlink {
namespace {

// The caller hears from a long sorting and marking this often.
constexpr std::size_t kStoreBusyEvery = std::size_t{1} << 15;
constexpr std::size_t kMaxTextBytes = std::numeric_limits<std::uint32_t>::max() / 2;
// A key's index names a line of the first part, or with this bit one of
// the second; so each part holds fewer lines than it.
constexpr std::uint32_t kSecondPart = 0x80000000u;
constexpr std::size_t kMaxPartLines = kSecondPart - 1;

std::uint64_t Offset32(std::int64_t value) {
  return static_cast<std::uint64_t>(
      std::clamp<std::int64_t>(value, std::numeric_limits<std::int32_t>::min(),
                               std::numeric_limits<std::int32_t>::max()) -
      std::numeric_limits<std::int32_t>::min());
}

std::uint8_t Multiplicity(std::int64_t first, bool several) {
  return several ? 2 : first != 0 ? 1 : 0;
}

} // namespace

bool JournalStore::Part::Add(const JournalLine& line, std::string_view utf8_description,
                             std::string* error) {
  auto known = numbers_.find(utf8_description);
  if (known == numbers_.end()) {
    if (texts_.size() > kMaxTextBytes) {
      *error = "the journal's descriptions do not fit the ledger's text table";
      return false;
    }
    texts_.append(ToCp932(utf8_description));
    const auto number = static_cast<std::uint32_t>(starts_.size() - 1);
    known = numbers_.emplace(std::string(utf8_description), number).first;
    starts_.push_back(static_cast<std::uint32_t>(texts_.size()));
  }
  lines_.push_back(line);
  lines_.back().description = known->second;
  return true;
}

// A line's place in ledger order as two numbers compared in turn: date and
// month position, then entry number, identifier and line number (each
// within 32 bits, as the records carry them), then the reading order.
bool JournalStore::Part::Finish(bool second, std::string* error) {
  numbers_ = decltype(numbers_)();
  if (lines_.size() > kMaxPartLines) {
    *error = "the journal has more lines than the ledger can index";
    return false;
  }
  const std::uint32_t tag = second ? kSecondPart : 0;
  keys_.resize(lines_.size());
  for (std::uint32_t i = 0; i < lines_.size(); ++i) {
    const JournalLine& line = lines_[i];
    const auto date = static_cast<std::uint64_t>(std::clamp<std::int64_t>(line.date, 0, 0x7FFFFFF));
    const auto position = static_cast<std::uint64_t>(MonthPositionOfSlot(line.slot));
    keys_[i] = LedgerKey{date << 37 | position << 32 | Offset32(line.entry_no),
                         Offset32(line.entry_id) << 32 | Offset32(line.line_no), i | tag};
  }
  std::sort(keys_.begin(), keys_.end());
  return true;
}

std::shared_ptr<const JournalStore> JournalStore::FromParts(Part* first, Part* second,
                                                            std::string* error) {
  Part* parts[2] = {first, second};
  if (first->lines_.size() + second->lines_.size() > std::numeric_limits<std::uint32_t>::max() / 2 ||
      first->texts_.size() + second->texts_.size() > kMaxTextBytes) {
    *error = "the journal has more lines than the ledger can index";
    return nullptr;
  }
  std::shared_ptr<JournalStore> store(new JournalStore());
  // The second part's texts follow the first's (a text in both is kept
  // twice; the look-ups never compare numbers).
  store->texts_ = std::move(first->texts_);
  store->text_starts_ = std::move(first->starts_);
  const auto offset = static_cast<std::uint32_t>(store->texts_.size());
  const auto renumber = static_cast<std::uint32_t>(store->text_starts_.size() - 1);
  store->texts_.append(second->texts_);
  for (std::size_t i = 1; i < second->starts_.size(); ++i)
    store->text_starts_.push_back(offset + second->starts_[i]);
  second->texts_ = std::string();
  store->texts_.shrink_to_fit();

  // The lines in ledger order: the parts' sorted keys merged, then every
  // line copied once to its place (the lines themselves are 88 bytes; the
  // keys 24). A line of the second part has its text number moved past the
  // first part's texts.
  const std::size_t count = first->lines_.size() + second->lines_.size();
  const bool large = count >= kStoreBusyEvery;
  LargeVector<Part::LedgerKey> keys(count);
  std::merge(first->keys_.begin(), first->keys_.end(), second->keys_.begin(), second->keys_.end(),
             keys.begin());
  for (Part* part : parts) part->keys_ = LargeVector<Part::LedgerKey>();
  if (large) HostBusy();
  store->lines_.reserve(count);
  for (const Part::LedgerKey& key : keys) {
    if (key.index & kSecondPart) {
      store->lines_.push_back(second->lines_[key.index & ~kSecondPart]);
      store->lines_.back().description += renumber;
    } else {
      store->lines_.push_back(first->lines_[key.index]);
    }
  }
  keys = LargeVector<Part::LedgerKey>();
  for (Part* part : parts) *part = Part();
  if (large) HostBusy();
  store->MarkEntries();
  if (large) HostBusy();
  return store;
}

void JournalStore::MarkEntries() {
  LargeVector<std::pair<std::int64_t, std::uint32_t>> by_entry(lines_.size());
  for (std::uint32_t i = 0; i < size(); ++i) by_entry[i] = {lines_[i].entry_id, i};
  std::sort(by_entry.begin(), by_entry.end());
  by_entry_.resize(by_entry.size());
  for (std::size_t i = 0; i < by_entry.size(); ++i) by_entry_[i] = by_entry[i].second;
  by_entry.clear();
  by_entry.shrink_to_fit();
  for (std::size_t begin = 0; begin < by_entry_.size();) {
    const std::int64_t id = lines_[by_entry_[begin]].entry_id;
    std::size_t end = begin;
    std::int64_t debit = 0, credit = 0;
    bool several_debits = false, several_credits = false;
    for (; end < by_entry_.size() && lines_[by_entry_[end]].entry_id == id; ++end) {
      const JournalLine& line = lines_[by_entry_[end]];
      if (line.debit_code != 0) {
        several_debits = several_debits || (debit != 0 && debit != line.debit_code);
        debit = line.debit_code;
      }
      if (line.credit_code != 0) {
        several_credits = several_credits || (credit != 0 && credit != line.credit_code);
        credit = line.credit_code;
      }
    }
    const auto marker = static_cast<std::uint8_t>(Multiplicity(debit, several_debits) << 4 |
                                                  Multiplicity(credit, several_credits));
    for (std::size_t i = begin; i < end; ++i) lines_[by_entry_[i]].marker = marker;
    begin = end;
  }
}

std::string_view JournalStore::Description(const JournalLine& line) const {
  const std::uint32_t start = text_starts_[line.description];
  return std::string_view(texts_).substr(start, text_starts_[line.description + 1] - start);
}

std::pair<std::uint32_t, std::uint32_t> JournalStore::DatedWithin(std::int64_t first,
                                                                  std::int64_t last) const {
  auto begin = std::lower_bound(lines_.begin(), lines_.end(), first,
                                [](const JournalLine& line, std::int64_t date) { return line.date < date; });
  auto end = std::upper_bound(begin, lines_.end(), last,
                              [](std::int64_t date, const JournalLine& line) { return date < line.date; });
  return {static_cast<std::uint32_t>(begin - lines_.begin()),
          static_cast<std::uint32_t>(end - lines_.begin())};
}

std::span<const std::uint32_t> JournalStore::EntryLines(std::int64_t entry_id) const {
  auto begin = std::lower_bound(
      by_entry_.begin(), by_entry_.end(), entry_id,
      [this](std::uint32_t line, std::int64_t id) { return lines_[line].entry_id < id; });
  auto end = std::upper_bound(
      begin, by_entry_.end(), entry_id,
      [this](std::int64_t id, std::uint32_t line) { return id < lines_[line].entry_id; });
  return std::span<const std::uint32_t>(by_entry_.data() + (begin - by_entry_.begin()),
                                        static_cast<std::size_t>(end - begin));
}

std::int64_t JournalStore::SingleCodeOfEntry(std::uint32_t index, bool debit_side) const {
  const std::uint8_t marker = lines_[index].marker;
  if ((debit_side ? marker >> 4 : marker & 0x0F) != 1) return 0;
  for (std::uint32_t i : EntryLines(lines_[index].entry_id)) {
    const std::int64_t code = debit_side ? lines_[i].debit_code : lines_[i].credit_code;
    if (code != 0) return code;
  }
  return 0;
}

} // namespace stmtlink

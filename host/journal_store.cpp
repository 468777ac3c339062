#include "host/journal_store.h"

#include <algorithm>
#include <limits>
#include <unordered_map>
#include <system_error>
#include <thread>

#include <sqlite3.h>

#include "host/books_cache.h"
#include "host/substitute_control.h"
#include "platform/text_codec.h"

namespace stmtlink {
namespace {

constexpr std::int64_t kLastSlot = 14;
// Below this many rowids one connection reads the journal alone.
constexpr std::int64_t kSplitFrom = 50000;
// The caller hears from a long reading this often (lines read, or lines
// sorted and marked), and not at all on a small journal.
constexpr std::size_t kBusyEvery = std::size_t{1} << 15;
constexpr std::size_t kMaxTextBytes = std::numeric_limits<std::uint32_t>::max() / 2;
// A key's index names a line of the first part, or with this bit one of
// the second; so each part holds fewer lines than it.
constexpr std::uint32_t kSecondPart = 0x80000000u;
constexpr std::size_t kMaxPartLines = kSecondPart - 1;

// Heterogeneous look-up: the UTF-8 text of a row is found without a copy.
struct TextHash {
  using is_transparent = void;
  std::size_t operator()(std::string_view text) const { return std::hash<std::string_view>()(text); }
};
using TextNumbers = std::unordered_map<std::string, std::uint32_t, TextHash, std::equal_to<>>;

std::uint64_t Offset32(std::int64_t value) {
  return static_cast<std::uint64_t>(
      std::clamp<std::int64_t>(value, std::numeric_limits<std::int32_t>::min(),
                               std::numeric_limits<std::int32_t>::max()) -
      std::numeric_limits<std::int32_t>::min());
}

// A line's place in ledger order as two numbers compared in turn: date and
// month position, then entry number, identifier and line number (each
// within 32 bits, as the records carry them), then the reading order.
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

LedgerKey KeyOf(const JournalLine& line, std::uint32_t index) {
  const auto date = static_cast<std::uint64_t>(std::clamp<std::int64_t>(line.date, 0, 0x7FFFFFF));
  const auto position = static_cast<std::uint64_t>(MonthPositionOfSlot(line.slot));
  return LedgerKey{date << 37 | position << 32 | Offset32(line.entry_no),
                   Offset32(line.entry_id) << 32 | Offset32(line.line_no), index};
}

std::uint8_t Multiplicity(std::int64_t first, bool several) {
  return several ? 2 : first != 0 ? 1 : 0;
}

} // namespace

std::shared_ptr<const JournalStore> JournalStore::Get(BooksDb& db, std::int64_t data_no,
                                                      std::string* error) {
  static BooksCache<JournalStore, std::int64_t> cache;
  return cache.Get(
      db, data_no,
      [&](std::string* load_error) {
        std::shared_ptr<JournalStore> store(new JournalStore());
        if (!store->Read(db, data_no, load_error)) store.reset();
        return store;
      },
      error);
}

namespace {

// One part of the journal, read on its own connection: its lines, their
// descriptions numbered in its own table.
struct JournalPart {
  LargeVector<JournalLine> lines;
  LargeVector<LedgerKey> keys;           // the lines' places in ledger order, sorted
  std::string texts;                    // CP932, end to end
  std::vector<std::uint32_t> starts{0}; // text n is [starts[n], starts[n + 1])
  std::string error;
  bool ok = false;
};

// The lines of the data set whose rowid is first..last, in storage order:
// SQLite's sort of a million rows costs several times the scan, so the
// store sorts them itself.
// `busy`: whether this reading runs on the caller's thread and may call
// HostBusy (the hook is the caller's, not thread-safe). `tag` is or-ed into
// the index of every key: kSecondPart for the second part.
void ReadPart(BooksDb& db, std::int64_t data_no, std::int64_t first, std::int64_t last,
              bool busy, std::uint32_t tag, JournalPart* part) {
  std::string* error = &part->error;
  BooksStatement q;
  if (!db.Prepare("SELECT entry_id, entry_no, line_no, date, slot, debit_code, debit_amount, "
                  "debit_tax, credit_code, credit_amount, credit_tax, description "
                  "FROM journal_line WHERE data_no = ?1 AND rowid BETWEEN ?2 AND ?3",
                  &q, error) ||
      !q.BindInt64(1, data_no, error) || !q.BindInt64(2, first, error) ||
      !q.BindInt64(3, last, error))
    return;
  if (last >= first) part->lines.reserve(static_cast<std::size_t>(std::min<std::int64_t>(last - first + 1, 1 << 26)));
  TextNumbers numbers;
  for (;;) {
    const BooksStatement::Step step = q.Next(error);
    if (step == BooksStatement::Step::kDone) break;
    if (step == BooksStatement::Step::kError) return;
    JournalLine line;
    line.entry_id = q.Int64(0);
    line.entry_no = q.Int64(1);
    line.line_no = q.Int64(2);
    line.date = q.Int64(3);
    const std::int64_t slot = q.Int64(4);
    line.slot = slot >= 1 && slot <= kLastSlot ? static_cast<std::uint8_t>(slot) : 0;
    line.debit_code = q.Int64(5);
    line.debit_amount = q.Int64(6);
    line.debit_tax = q.Int64(7);
    line.credit_code = q.Int64(8);
    line.credit_amount = q.Int64(9);
    line.credit_tax = q.Int64(10);
    const std::string_view utf8 = q.TextView(11);
    auto known = numbers.find(utf8);
    if (known == numbers.end()) {
      if (part->texts.size() > kMaxTextBytes) {
        *error = "the journal's descriptions do not fit the ledger's text table";
        return;
      }
      part->texts.append(ToCp932(utf8));
      const auto number = static_cast<std::uint32_t>(part->starts.size() - 1);
      known = numbers.emplace(std::string(utf8), number).first;
      part->starts.push_back(static_cast<std::uint32_t>(part->texts.size()));
    }
    line.description = known->second;
    part->lines.push_back(line);
    if (busy && part->lines.size() % kBusyEvery == 0) HostBusy();
  }
  // Each part sorts its own keys, on its own thread; the two are merged.
  if (part->lines.size() > kMaxPartLines) {
    *error = "the journal has more lines than the ledger can index";
    return;
  }
  part->keys.resize(part->lines.size());
  for (std::uint32_t i = 0; i < part->lines.size(); ++i)
    part->keys[i] = KeyOf(part->lines[i], i | tag);
  if (busy && part->lines.size() >= kBusyEvery) HostBusy();
  std::sort(part->keys.begin(), part->keys.end());
  part->ok = true;
}

} // namespace

bool JournalStore::Read(BooksDb& db, std::int64_t data_no, std::string* error) {
  BooksStatement bounds;
  if (!db.Prepare("SELECT min(rowid), max(rowid) FROM journal_line", &bounds, error) ||
      bounds.Next(error) != BooksStatement::Step::kRow)
    return false;
  const std::int64_t first = bounds.Int64(0), last = bounds.Int64(1);
  bounds = BooksStatement();

  // A large journal is read in two halves at once, the second on a
  // connection of its own: the first ledger cursor waits for the whole
  // reading (hearing from this thread's half through HostBusy). (The program
  // never writes the books; a writer between the two readings' starts could
  // give halves of two versions, which the next stamp change then drops.)
  JournalPart parts[2];
  const std::int64_t middle = first + (last - first) / 2;
  bool split = last - first >= kSplitFrom;
  std::shared_ptr<BooksDb> other;
  if (split) {
    const char* path = sqlite3_db_filename(db.handle(), "main");
    std::string ignored;
    split = path && *path && BooksDb::Open(path, BooksDb::Mode::kReadOnly, &other, &ignored);
  }
  if (split) {
    std::thread second;
    try {
      second = std::thread(ReadPart, std::ref(*other), data_no, middle + 1, last, false,
                           kSecondPart, &parts[1]);
    } catch (const std::system_error&) {
      // No thread: one after the other.
      ReadPart(*other, data_no, middle + 1, last, true, kSecondPart, &parts[1]);
    }
    ReadPart(db, data_no, first, middle, true, 0, &parts[0]);
    if (second.joinable()) second.join();
  } else {
    ReadPart(db, data_no, first, last, true, 0, &parts[0]);
    parts[1].ok = true;
  }
  for (const JournalPart& part : parts) {
    if (!part.ok) {
      *error = part.error;
      return false;
    }
  }
  if (parts[0].lines.size() + parts[1].lines.size() > std::numeric_limits<std::uint32_t>::max() / 2 ||
      parts[0].texts.size() + parts[1].texts.size() > kMaxTextBytes) {
    *error = "the journal has more lines than the ledger can index";
    return false;
  }

  // The second part's texts follow the first's (a text in both is kept
  // twice; the look-ups never compare numbers).
  texts_ = std::move(parts[0].texts);
  text_starts_ = std::move(parts[0].starts);
  const auto offset = static_cast<std::uint32_t>(texts_.size());
  const auto renumber = static_cast<std::uint32_t>(text_starts_.size() - 1);
  texts_.append(parts[1].texts);
  for (std::size_t i = 1; i < parts[1].starts.size(); ++i)
    text_starts_.push_back(offset + parts[1].starts[i]);
  parts[0].texts = parts[1].texts = std::string();
  texts_.shrink_to_fit();

  // The lines in ledger order: the parts' sorted keys merged, then every
  // line copied once to its place (the lines themselves are 88 bytes; the
  // keys 24). A line of the second part has its text number moved past the
  // first part's texts.
  const std::size_t count = parts[0].lines.size() + parts[1].lines.size();
  const bool large = count >= kBusyEvery;
  LargeVector<LedgerKey> keys(count);
  std::merge(parts[0].keys.begin(), parts[0].keys.end(), parts[1].keys.begin(),
             parts[1].keys.end(), keys.begin());
  parts[0].keys = parts[1].keys = LargeVector<LedgerKey>();
  if (large) HostBusy();
  lines_.reserve(count);
  for (const LedgerKey& key : keys) {
    if (key.index & kSecondPart) {
      lines_.push_back(parts[1].lines[key.index & ~kSecondPart]);
      lines_.back().description += renumber;
    } else {
      lines_.push_back(parts[0].lines[key.index]);
    }
  }
  keys = LargeVector<LedgerKey>();
  parts[0] = JournalPart();
  parts[1] = JournalPart();
  if (large) HostBusy();
  MarkEntries();
  if (large) HostBusy();
  return true;
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

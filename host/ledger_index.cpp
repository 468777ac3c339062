#include "host/ledger_index.h"

#include <algorithm>
#include <iterator>
#include <set>

#include "host/books_cache.h"

namespace stmtlink {
namespace {

constexpr std::int64_t kSlotInterim = 14;
constexpr std::uint8_t kSideCredit = 1;
constexpr std::uint8_t kSideDebit = 2;

std::int64_t MainOf(std::int64_t code) { return code / kAccountCodeUnit * kAccountCodeUnit; }

std::uint8_t Multiplicity(const std::set<std::int64_t>& codes) {
  return static_cast<std::uint8_t>(codes.size() > 2 ? 2 : codes.size());
}

} // namespace

std::shared_ptr<const LedgerIndex> LedgerIndex::Get(BooksDb& db, const LedgerRange& range,
                                                    std::string* error) {
  static BooksCache<LedgerIndex, LedgerRange> cache;
  return cache.Get(
      db, range,
      [&](std::string* load_error) {
        std::shared_ptr<LedgerIndex> index(new LedgerIndex(range));
        if (!index->Read(db, load_error)) index.reset();
        return index;
      },
      error);
}

bool LedgerIndex::Read(BooksDb& db, std::string* error) {
  BooksStatement q;
  const std::string sql = std::string("SELECT ") + kJournalLineColumns +
                          " FROM journal_line WHERE data_no = ?1 AND date BETWEEN ?2 AND ?3"
                          " ORDER BY date, entry_id, line_no";
  if (!db.Prepare(sql, &q, error) || !q.BindInt64(1, range_.data_no, error) ||
      !q.BindInt64(2, range_.first_date, error) || !q.BindInt64(3, range_.last_date, error))
    return false;
  for (;;) {
    const BooksStatement::Step step = q.Next(error);
    if (step == BooksStatement::Step::kDone) break;
    if (step == BooksStatement::Step::kError) return false;
    lines_.push_back(ReadJournalLine(q));
  }
  lines_.shrink_to_fit();
  markers_.assign(lines_.size(), 0);

  // An entry is a run of lines with one identifier and one date.
  std::size_t begin = 0;
  for (std::size_t i = 1; i <= lines_.size(); ++i) {
    if (i < lines_.size() && lines_[i].entry_id == lines_[begin].entry_id &&
        lines_[i].date == lines_[begin].date)
      continue;
    MarkEntry(begin, i);
    begin = i;
  }
  for (std::size_t i = 0; i < lines_.size(); ++i) IndexLine(static_cast<std::uint32_t>(i));
  return true;
}

void LedgerIndex::MarkEntry(std::size_t begin, std::size_t end) {
  std::set<std::int64_t> debits, credits;
  for (std::size_t i = begin; i < end; ++i) {
    if (lines_[i].debit_code != 0) debits.insert(lines_[i].debit_code);
    if (lines_[i].credit_code != 0) credits.insert(lines_[i].credit_code);
  }
  const auto marker =
      static_cast<std::uint8_t>(Multiplicity(debits) << 4 | Multiplicity(credits));
  std::fill(markers_.begin() + static_cast<std::ptrdiff_t>(begin),
            markers_.begin() + static_cast<std::ptrdiff_t>(end), marker);
}

void LedgerIndex::IndexLine(std::uint32_t index) {
  const JournalLine& line = lines_[index];
  if (line.slot < 1 || line.slot > kSlotInterim) return;
  if (line.slot == kSlotInterim && !range_.interim && line.date >= range_.last_date) return;
  const std::int64_t debit = line.debit_code, credit = line.credit_code;
  if (debit != 0) by_main_[MainOf(debit)].push_back(index);
  if (credit != 0 && (debit == 0 || MainOf(credit) != MainOf(debit)))
    by_main_[MainOf(credit)].push_back(index);
  if (debit % kAccountCodeUnit != 0) by_sub_[debit].push_back(index);
  if (credit % kAccountCodeUnit != 0 && credit != debit) by_sub_[credit].push_back(index);
  if (line.debit_tax != 0) debit_tax_.push_back(index);
  if (line.credit_tax != 0) credit_tax_.push_back(index);
}

std::uint8_t LedgerIndex::SideOf(const JournalLine& line, std::int64_t code) const {
  const bool by_main = code % kAccountCodeUnit == 0;
  auto names = [&](std::int64_t named) {
    if (named == 0) return false;
    return by_main ? MainOf(named) == code : named == code;
  };
  std::uint8_t side = 0;
  if (names(line.debit_code) || (code == range_.input_tax && line.debit_tax != 0))
    side |= kSideDebit;
  if (names(line.credit_code) || (code == range_.output_tax && line.credit_tax != 0))
    side |= kSideCredit;
  return side;
}

std::vector<LedgerRowRef> LedgerIndex::RowsOf(std::int64_t code) const {
  if (code == 0) return {};
  const auto& lists = code % kAccountCodeUnit == 0 ? by_main_ : by_sub_;
  LineList lines;
  if (auto it = lists.find(code); it != lists.end()) lines = it->second;
  // The tax lists interleave with the account's own lines: merge in order.
  auto merge = [&lines](const LineList& more) {
    LineList merged;
    merged.reserve(lines.size() + more.size());
    std::set_union(lines.begin(), lines.end(), more.begin(), more.end(),
                   std::back_inserter(merged));
    lines = std::move(merged);
  };
  if (code == range_.input_tax) merge(debit_tax_);
  if (code == range_.output_tax) merge(credit_tax_);

  std::vector<LedgerRowRef> rows;
  rows.reserve(lines.size());
  for (std::uint32_t index : lines) {
    const std::uint8_t side = SideOf(lines_[index], code);
    if (side != 0) rows.push_back(LedgerRowRef{index, side});
  }
  return rows;
}

} // namespace stmtlink

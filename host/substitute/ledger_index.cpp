#include "host/substitute/ledger_index.h"

#include <algorithm>
#include <iterator>

#include "host/ledger_records.h"
#include "host/substitute/substitute_control.h"

namespace stmtlink {
namespace {

// The host's numbers (host/ledger_records.h, host/host_records.h) under the
// short names this file reads best with.
constexpr std::uint8_t kSideCredit = kLedgerSideCredit;
constexpr std::uint8_t kSideDebit = kLedgerSideDebit;

std::int64_t MainOf(std::int64_t code) { return code / kAccountCodeUnit * kAccountCodeUnit; }

constexpr std::int32_t kFieldMonthPosition = kFindFieldMonthPosition;
constexpr std::int16_t kOpEqual = kFindOpEqual, kOpNotEqual = kFindOpNotEqual, kOpAtLeast = kFindOpAtLeast,
                       kOpAtMost = kFindOpAtMost;
constexpr std::int16_t kLinkAnd = kFindLinkAnd, kLinkOr = kFindLinkOr;

bool PositionsOfOne(const StFINDINFO& condition, std::uint32_t* positions) {
  if (condition.fieldId != kFieldMonthPosition) return false;
  const std::int32_t value = FindValue(condition);
  *positions = 0;
  for (std::int32_t p = 0; p < 32; ++p) {
    bool accepted;
    switch (condition.op) {
      case kOpEqual: accepted = p == value; break;
      case kOpNotEqual: accepted = p != value; break;
      case kOpAtLeast: accepted = p >= value; break;
      case kOpAtMost: accepted = p <= value; break;
      default: return false;
    }
    if (accepted) *positions |= 1u << p;
  }
  return true;
}

} // namespace

bool MonthPositionsOf(const StFINDINFO* find, std::uint32_t* positions) {
  *positions = ~0u;
  if (find == nullptr) return true;
  std::uint32_t any = 0, all = ~0u;
  for (int i = 0; i < kFindInfoChainLength; ++i) {
    std::uint32_t one = 0;
    if (!PositionsOfOne(find[i], &one)) return false;
    all &= one;
    const std::int16_t link = find[i].link;
    if (link == kLinkAnd && i + 1 < kFindInfoChainLength) continue;
    any |= all; // the end of an "and" group
    all = ~0u;
    if (link == 0 || i + 1 == kFindInfoChainLength) break;
    if (link != kLinkOr) return false;
  }
  *positions = any;
  return true;
}

std::shared_ptr<const LedgerIndex> LedgerIndex::Build(const LedgerRange& range,
                                                      std::shared_ptr<const JournalStore> journal) {
  std::shared_ptr<LedgerIndex> index(new LedgerIndex(range, std::move(journal)));
  index->IndexLines();
  return index;
}

void LedgerIndex::IndexLines() {
  const auto [begin, end] = journal_->DatedWithin(range_.first_date, range_.last_date);
  for (std::uint32_t i = begin; i < end; ++i) {
    // A long build lets the caller show that it is alive (substitute_control.h).
    if ((i - begin + 1) % (1u << 16) == 0) HostBusy();
    const int position = MonthPositionOfSlot(journal_->line(i).slot);
    if (position != 0 && (range_.positions >> position & 1u)) IndexLine(i);
  }
}

void LedgerIndex::IndexLine(std::uint32_t index) {
  const JournalLine& line = journal_->line(index);
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
    const std::uint8_t side = SideOf(journal_->line(index), code);
    if (side != 0) rows.push_back(LedgerRowRef{index, side});
  }
  return rows;
}

} // namespace stmtlink

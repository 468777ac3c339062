#include <algorithm>
#include <cstring>
#include <new>
#include <string_view>

#include "aggregate/ledger_line.h"

namespace stmtlink {
namespace {

// A field's text: up to its first zero, the whole field when it has none.
template <std::size_t N>
std::string_view FieldText(const char (&field)[N]) {
  return std::string_view(field, strnlen(field, N));
}

// Room for one more element, growing geometrically.
template <typename T>
void MakeRoom(std::vector<T>* v) {
  if (v->size() == v->capacity()) v->reserve(std::max<std::size_t>(64, v->capacity() * 2));
}

template <std::size_t N>
void SetField(char (&field)[N], std::string_view text) {
  std::memcpy(field, text.data(), std::min(text.size(), N));
}

} // namespace

std::uint64_t LedgerTexts::Hash(std::string_view text) noexcept {
  std::uint64_t h = 0x9E3779B97F4A7C15ull ^ text.size();
  const char* p = text.data();
  std::size_t n = text.size();
  for (; n >= 8; p += 8, n -= 8) {
    std::uint64_t word;
    std::memcpy(&word, p, 8);
    h = (h ^ word) * 0xFF51AFD7ED558CCDull;
    h ^= h >> 32;
  }
  std::uint64_t tail = 0;
  if (n != 0) std::memcpy(&tail, p, n);
  h = (h ^ tail) * 0xC4CEB9FE1A85EC53ull;
  return h ^ (h >> 29);
}

void LedgerTexts::Grow() {
  std::vector<Slot> bigger(slots_.size() * 2);
  const std::size_t mask = bigger.size() - 1;
  for (const Slot& slot : slots_) {
    if (slot.id == 0) continue;
    std::size_t at = slot.hash & mask;
    while (bigger[at].id != 0) at = (at + 1) & mask;
    bigger[at] = slot;
  }
  slots_.swap(bigger);
}

LedgerTexts::Id LedgerTexts::Intern(int field, std::string_view text) {
  if (text.empty()) return 0;
  if (text.size() > kMaxText) text = text.substr(0, kMaxText);
  if (Text(last_[field]) == text) return last_[field];
  const auto hash = static_cast<std::uint32_t>(Hash(text));
  const std::size_t mask = slots_.size() - 1;
  std::size_t at = hash & mask;
  for (; slots_[at].id != 0; at = (at + 1) & mask) {
    const Slot& slot = slots_[at];
    if (slot.hash == hash && Text(slot.id) == text) return last_[field] = slot.id;
  }
  // New: grow first (a failure must leave the tables in step), then add.
  if ((count_ + 1) * 2 > slots_.size()) {
    Grow();
    return Intern(field, text);
  }
  if (kChunk - chunk_used_ < text.size()) {
    chunks_.push_back(std::make_unique<char[]>(kChunk));
    chunk_used_ = 0;
  }
  char* place = chunks_.back().get() + chunk_used_;
  std::memcpy(place, text.data(), text.size());
  const Id id = static_cast<Id>(starts_.size());
  MakeRoom(&starts_);
  MakeRoom(&lengths_);
  chunk_used_ += text.size();
  starts_.push_back(place);
  lengths_.push_back(static_cast<std::uint8_t>(text.size()));
  slots_[at] = Slot{id, hash};
  ++count_;
  return last_[field] = id;
}

void LedgerTexts::Clear() { *this = LedgerTexts(); }

bool LedgerLineList::Append(const LedgerLine& line) {
  try {
    PackedLedgerLine packed;
    packed.code = line.code;
    packed.entryNo = line.entryNo;
    packed.texts[0] = texts_.Intern(0, FieldText(line.dateText));
    packed.texts[1] = texts_.Intern(1, FieldText(line.subAccountName));
    packed.texts[2] = texts_.Intern(2, FieldText(line.counterAccountName));
    packed.texts[3] = texts_.Intern(3, FieldText(line.counterSubAccountName));
    packed.texts[4] = texts_.Intern(4, FieldText(line.description));
    packed.amount = line.amount;
    packed.balance = line.balance;
    if (size_ % kBlockLines == 0) {
      LargeVector<PackedLedgerLine> block;
      block.reserve(kBlockLines); // the whole block at once: it never moves
      MakeRoom(&blocks_);
      blocks_.push_back(std::move(block));
    }
    blocks_.back().push_back(packed);
    ++size_;
  } catch (const std::bad_alloc&) {
    return false; // texts interned before the failure are kept, unused
  }
  return true;
}

void LedgerLineList::Clear() {
  blocks_.clear();
  blocks_.shrink_to_fit();
  size_ = 0;
  texts_.Clear();
}

LedgerLine LedgerLineList::Unpack(const PackedLedgerLine& packed) const {
  LedgerLine line;
  line.code = packed.code;
  line.entryNo = packed.entryNo;
  SetField(line.dateText, texts_.Text(packed.texts[0]));
  SetField(line.subAccountName, texts_.Text(packed.texts[1]));
  SetField(line.counterAccountName, texts_.Text(packed.texts[2]));
  SetField(line.counterSubAccountName, texts_.Text(packed.texts[3]));
  SetField(line.description, texts_.Text(packed.texts[4]));
  line.amount = packed.amount;
  line.balance = packed.balance;
  return line;
}

} // namespace stmtlink

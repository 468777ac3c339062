#include "report/ledger_row_text.h"

#include <algorithm>
#include <charconv>
#include <cstdint>
#include <cstring>

#include "report/report_text.h"
#include "report/xml_writer.h"

namespace stmtlink {
namespace {

constexpr int kRowDepth = 4;
// The made texts are numbered by 32-bit offsets.
constexpr std::size_t kMaxMadeBytes = UINT32_MAX / 2;
constexpr int kElementDepth = 5;
constexpr const char* kElementNames[8] = {"HJ00780S0050", "HJ00780S0060", "HJ00780S0070",
                                          "HJ00780S0080", "HJ00780S0090", "HJ00780S0100",
                                          "HJ00780S0110", "HJ00780S0120"};

std::string_view Number(std::int64_t value, char (&buffer)[24]) {
  const auto result = std::to_chars(buffer, buffer + sizeof(buffer), value);
  return std::string_view(buffer, static_cast<std::size_t>(result.ptr - buffer));
}

} // namespace

LedgerRowText::LedgerRowText() {
  XmlWriter::AppendOpenLine(&row_open_, "HJ00780S02", kRowDepth);
  XmlWriter::AppendCloseLine(&row_close_, "HJ00780S02", kRowDepth);
  for (int i = 0; i < 8; ++i) {
    // The line of an empty element, split where its value goes.
    std::string line;
    XmlWriter::AppendElementLine(&line, kElementNames[i], "", kElementDepth);
    const std::size_t value_at = line.find("></") + 1;
    elements_[i].open = line.substr(0, value_at);
    elements_[i].close = line.substr(value_at);
  }
}

std::string_view LedgerRowText::Text(const LedgerLineList::const_iterator& row,
                                     LedgerLineList::TextField field, bool label) {
  const LedgerTexts::Id id = row.packed().texts[field];
  if (bytes_.size() > kMaxMadeBytes) {
    // Not kept (a ledger with gigabytes of distinct texts): made each time.
    scratch_.clear();
    if (label) AppendCleanLabel(&scratch_, row.text(field));
    else scratch_.assign(row.text(field));
    uncached_.clear();
    XmlWriter::AppendEscaped(&uncached_, scratch_);
    return uncached_;
  }
  std::vector<Made>& made = made_[label ? 1 : 0];
  if (id >= made.size()) made.resize(static_cast<std::size_t>(id) + 1);
  Made& slot = made[id];
  if (!slot.made) {
    std::string_view text = row.text(field);
    if (label) {
      scratch_.clear();
      AppendCleanLabel(&scratch_, text);
      text = scratch_;
    }
    slot.start = static_cast<std::uint32_t>(bytes_.size());
    XmlWriter::AppendEscaped(&bytes_, text);
    slot.length = static_cast<std::uint32_t>(bytes_.size() - slot.start);
    slot.made = true;
  }
  return std::string_view(bytes_).substr(slot.start, slot.length);
}

// The row is written through a pointer into room that grows only when a
// row is longer than every row before it. Each text is written before the
// next is made: a made text is a view into storage that making another may
// move.
char* LedgerRowText::Put(char* at, std::string_view part) {
  std::memcpy(at, part.data(), part.size());
  return at + part.size();
}

char* LedgerRowText::Append(char* at, const Element& element, std::string_view value) {
  const auto used = static_cast<std::size_t>(at - text_.data());
  const std::size_t more = element.open.size() + value.size() + element.close.size() + row_close_.size();
  if (text_.size() - used < more) text_.resize(std::max(2 * text_.size(), used + more));
  return Put(Put(Put(text_.data() + used, element.open), value), element.close);
}

std::string_view LedgerRowText::Make(const LedgerLineList::const_iterator& row) {
  using Field = LedgerLineList::TextField;
  const PackedLedgerLine& line = row.packed();
  if (text_.size() < row_open_.size()) text_.resize(4096);
  char number[24];
  char* at = Put(text_.data(), row_open_);
  at = Append(at, elements_[0], Number(line.entryNo, number));
  at = Append(at, elements_[1], Text(row, Field::kDateText, false));
  at = Append(at, elements_[2], Text(row, Field::kSubAccountName, true));
  at = Append(at, elements_[3], Text(row, Field::kCounterAccountName, true));
  at = Append(at, elements_[4], Text(row, Field::kCounterSubAccountName, true));
  at = Append(at, elements_[5], Text(row, Field::kDescription, false));
  // Amounts in whole yen, truncated toward zero.
  at = Append(at, elements_[6], Number(line.amount / 10000, number));
  at = Append(at, elements_[7], Number(line.balance / 10000, number));
  at = Put(at, row_close_); // room for it is kept by every Append
  return std::string_view(text_.data(), static_cast<std::size_t>(at - text_.data()));
}

} // namespace stmtlink

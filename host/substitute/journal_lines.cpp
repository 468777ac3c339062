#include "host/substitute/journal_lines.h"

#include "host/host_errors.h"

#include <algorithm>
#include <limits>

#include "platform/mbcs.h"
#include "platform/text_codec.h"

namespace stmtlink {
namespace {

std::int32_t Clamp32(std::int64_t value) {
  return static_cast<std::int32_t>(std::clamp<std::int64_t>(
      value, std::numeric_limits<std::int32_t>::min(), std::numeric_limits<std::int32_t>::max()));
}

template <typename Record>
void Fill(const JournalLine& line, std::string_view description, Record* out) {
  out->entryId = Clamp32(line.entry_id);
  out->entryNo = Clamp32(line.entry_no);
  out->lineNo = Clamp32(line.line_no);
  out->date = Clamp32(line.date);
  out->debitCode = Clamp32(line.debit_code);
  out->debitAmount = line.debit_amount;
  out->debitTax = line.debit_tax;
  out->creditCode = Clamp32(line.credit_code);
  out->creditAmount = line.credit_amount;
  out->creditTax = line.credit_tax;
  MbcsCopy(out->description, sizeof(out->description), description);
}

} // namespace

int MonthPositionOfSlot(std::uint8_t slot) {
  if (slot == kSumSlotYearEnd) return kMonthPositionYearEnd;
  if (slot == kSumSlotInterim) return kMonthPositionInterim;
  return slot;
}

std::optional<std::int64_t> WantedValue(const StFINDINFO* find, std::int32_t field, bool* ok) {
  constexpr std::int16_t kOpEqual = kFindOpEqual;
  *ok = true;
  std::optional<std::int64_t> wanted;
  for (int i = 0; find && i < kFindInfoChainLength; ++i) {
    const StFINDINFO& condition = find[i];
    if (condition.fieldId != field || condition.op != kOpEqual) {
      *ok = false;
      return std::nullopt;
    }
    const std::int64_t value = FindValue(condition);
    wanted = wanted && *wanted != value ? -1 : value;
    if (condition.link == 0) break;
  }
  return wanted;
}

void FillJournalFields(const JournalLine& line, std::string_view description, StMOTOCHOINFO* out) {
  Fill(line, description, out);
}
void FillJournalFields(const JournalLine& line, std::string_view description, StSWKTINFO* out) {
  Fill(line, description, out);
}

} // namespace stmtlink

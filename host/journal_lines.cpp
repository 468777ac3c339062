#include "host/journal_lines.h"

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
void Fill(const JournalLine& line, Record* out) {
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
  MbcsCopy(out->description, sizeof(out->description), line.description);
}

} // namespace

const char kJournalLineColumns[] =
    "entry_id, entry_no, line_no, date, slot, debit_code, debit_amount, debit_tax, "
    "credit_code, credit_amount, credit_tax, description";

JournalLine ReadJournalLine(const BooksStatement& row) {
  JournalLine line;
  line.entry_id = row.Int64(0);
  line.entry_no = row.Int64(1);
  line.line_no = row.Int64(2);
  line.date = row.Int64(3);
  line.slot = row.Int64(4);
  line.debit_code = row.Int64(5);
  line.debit_amount = row.Int64(6);
  line.debit_tax = row.Int64(7);
  line.credit_code = row.Int64(8);
  line.credit_amount = row.Int64(9);
  line.credit_tax = row.Int64(10);
  line.description = ToCp932(row.Text(11));
  return line;
}

long FindDataNo(BooksDb& db, const std::string& data_id, std::int64_t* data_no, std::string* error) {
  BooksStatement q;
  if (!db.Prepare("SELECT data_no FROM data_set WHERE data_id = ?1", &q, error) ||
      !q.BindText(1, ToUtf8(data_id), error))
    return kHostErrorBooks;
  switch (q.Next(error)) {
    case BooksStatement::Step::kRow:
      *data_no = q.Int64(0);
      return 0;
    case BooksStatement::Step::kDone:
      return kHostErrorNoDataSet;
    case BooksStatement::Step::kError:
      break;
  }
  return kHostErrorBooks;
}

std::optional<std::int64_t> WantedValue(const StFINDINFO* find, std::int32_t field, bool* ok) {
  constexpr std::int16_t kOpEqual = 1;
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

void FillJournalFields(const JournalLine& line, StMOTOCHOINFO* out) { Fill(line, out); }
void FillJournalFields(const JournalLine& line, StSWKTINFO* out) { Fill(line, out); }

} // namespace stmtlink

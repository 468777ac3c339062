#include "host/substitute/data_info_row.h"

#include <algorithm>
#include <cstdint>
#include <limits>

#include "platform/mbcs.h"
#include "platform/text_codec.h"

namespace stmtlink {
namespace {

template <typename T>
T Clamp(std::int64_t value) {
  return static_cast<T>(std::clamp<std::int64_t>(value, std::numeric_limits<T>::min(),
                                                 std::numeric_limits<T>::max()));
}

} // namespace

const char kDataInfoColumns[] =
    "data_no, data_id, company_name, period_start, period_end, keeps_mfg_schedule, "
    "interim_closing, introduction_month, company_law";

void FillDataInfo(const BooksStatement& row, StDATAINFO* out) {
  out->dataNo = Clamp<std::int32_t>(row.Int64(0));
  // The books are UTF-8; a character with no CP932 form reads as '?', so a
  // record is never lost for one odd character.
  MbcsCopy(out->dataId, sizeof(out->dataId), ToCp932(row.Text(1)));
  MbcsCopy(out->companyNameText, sizeof(out->companyNameText), ToCp932(row.Text(2)));
  out->periodStart = Clamp<std::int32_t>(row.Int64(3));
  out->periodEnd = Clamp<std::int32_t>(row.Int64(4));
  out->keepsMfgSchedule = Clamp<std::int32_t>(row.Int64(5));
  out->interimClosing = Clamp<std::int32_t>(row.Int64(6));
  out->introductionMonth = Clamp<std::int16_t>(row.Int64(7));
  out->companyLaw = Clamp<std::uint8_t>(row.Int64(8));
}

} // namespace stmtlink

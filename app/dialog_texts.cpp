#include "app/dialog_texts.h"

#include <cstdio>
#include <cstring>

#include "platform/mbcs.h"

namespace stmtlink {

std::string DialogCompanyName(const StDATAINFO& data) {
  // The record's name field need not be terminated: read at most its size.
  std::size_t length = strnlen(data.companyNameText, sizeof(data.companyNameText));
  std::string text = " ";
  text.append(data.companyNameText, length);
  return MbcsTruncate(text, kDialogCompanyNameBuffer - 1);
}

std::string DialogPeriodText(const StDATAINFO& data) {
  const int start = data.periodStart;
  const int end = data.periodEnd;
  char text[64] = {};
  std::snprintf(text, sizeof(text), " %04d/%02d/%02d～%04d/%02d/%02d", start / 10000,
                start % 10000 / 100, start % 100, end / 10000, end % 10000 / 100, end % 100);
  return text;
}

} // namespace stmtlink

// The two display texts that the run gives the conditions dialog from the
// selected data set record.
#pragma once

#include <string>

#include "host/host_records.h"

namespace stmtlink {

// The dialog's company name buffer holds 51 bytes.
constexpr std::size_t kDialogCompanyNameBuffer = 51;

// " " followed by the company name, cut to fit the dialog's buffer
// (50 bytes of text) without splitting a double-byte character.
std::string DialogCompanyName(const StDATAINFO& data);
// " yyyy/mm/dd～yyyy/mm/dd" of the period's first and last day.
std::string DialogPeriodText(const StDATAINFO& data);

} // namespace stmtlink

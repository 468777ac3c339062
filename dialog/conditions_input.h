// The conditions dialog driven without a user: the values given for the
// months, equity kind, ledger option and output path, as the input a user
// would give its controls, then one press of Execute. Values left out leave
// their control as the dialog's initialisation set it.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "platform/dialog_port.h"

namespace stmtlink {

struct ConditionsChoices {
  std::optional<int> from_month;
  std::optional<int> to_month;
  std::optional<int> equity_kind; // 1 or 2
  std::optional<int> ledger;      // 0 or 1
  std::optional<std::string> output_path; // CP932
};

// The values alone, as typed before the user sees the dialog (the console
// and the desktop leave Execute to the user).
std::vector<ControlInput> ConditionsDialogValues(const ConditionsChoices& choices);
// The values, then one press of Execute (batch).
std::vector<ControlInput> ConditionsDialogInput(const ConditionsChoices& choices);

} // namespace stmtlink

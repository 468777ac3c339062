#include "dialog/conditions_input.h"

#include "res/common/conditions_template.h"

namespace stmtlink {

std::vector<ControlInput> ConditionsDialogValues(const ConditionsChoices& choices) {
  using Action = ControlInput::Action;
  std::vector<ControlInput> input;
  if (choices.from_month)
    input.push_back({IDC_FROM_MONTH, Action::kType, std::to_string(*choices.from_month), 0});
  if (choices.to_month)
    input.push_back({IDC_TO_MONTH, Action::kType, std::to_string(*choices.to_month), 0});
  if (choices.equity_kind)
    input.push_back({*choices.equity_kind == 2 ? IDC_MEMBERS : IDC_SHAREHOLDERS, Action::kClick, {}, 0});
  if (choices.ledger) input.push_back({IDC_LEDGER, Action::kSetCheck, {}, *choices.ledger != 0 ? 1 : 0});
  if (choices.output_path) input.push_back({IDC_OUTPUT_PATH, Action::kType, *choices.output_path, 0});
  return input;
}

std::vector<ControlInput> ConditionsDialogInput(const ConditionsChoices& choices) {
  std::vector<ControlInput> input = ConditionsDialogValues(choices);
  input.push_back({IDC_EXECUTE, ControlInput::Action::kClick, {}, 0});
  return input;
}

} // namespace stmtlink

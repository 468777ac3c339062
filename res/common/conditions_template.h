// Dialog resource 130, the conditions dialog: its controls in tab order at
// their dialog-unit geometry, and the IDs the program addresses them by.
#pragma once

#include "platform/dialog_port.h"

namespace stmtlink {

constexpr int IDC_COMPANY_NAME = 1006;  // static: " 会社名"
constexpr int IDC_PERIOD_TEXT = 1008;   // static: the accounting period
constexpr int IDC_FROM_MONTH = 1016;    // edit: from month
constexpr int IDC_TO_MONTH = 1000;      // edit: to month
constexpr int IDC_SHAREHOLDERS = 1019;  // radio: equity kind 1
constexpr int IDC_MEMBERS = 1020;       // radio: equity kind 2
constexpr int IDC_OUTPUT_GROUP = 1014;  // group box "出力先(&O)"
constexpr int IDC_OUTPUT_PATH = 1015;   // edit: output file
constexpr int IDC_BROWSE = 1001;        // button "参照(&D)..."
constexpr int IDC_EXECUTE = 1002;       // button "実行(F12)"
constexpr int IDC_CANCEL_BUTTON = 1003; // button "キャンセル(Esc)"
constexpr int IDC_LEDGER = 1021;        // check box: general ledger

const DialogTemplate& ConditionsDialogTemplate();

} // namespace stmtlink

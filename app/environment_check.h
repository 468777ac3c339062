// The receiver's level check. The receiver's definition file ZephonDef.ini
// lies in the program's folder (the current folder at start-up); its
// [ProgramLevel] HJ21 is the installed receiver's level, and this program
// works with level 2 only.
#pragma once

#include <string>

#include "platform/win_types.h"

namespace stmtlink {

enum class EnvironmentState {
  kNotInstalled = -1, // no definition file, or an empty level
  kCompatible = 0,
  kReceiverTooOld = 1, // level below 2: the receiver must be updated
  kReceiverTooNew = 2, // level above 2: this program must be updated
};

// The definition file's Windows path: the current folder, a separator unless
// the folder already ends in one, then "ZephonDef.ini".
std::string DefinitionFilePath();
// Reads the definition file of the current folder and classifies it.
EnvironmentState ReadEnvironmentState();
// The message for a state other than kCompatible (CP932), else null.
const char* EnvironmentMessage(EnvironmentState state);
// 1 compatible, 0 not; with show_messages a mismatch is shown through the
// link connection's DispMsg owned by `owner`, caption "決算書".
int CheckEnvironment(HWND owner, int show_messages);

} // namespace stmtlink

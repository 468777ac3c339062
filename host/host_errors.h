// Result codes of the host substitute. The host's calls return 0 for success
// and a code otherwise; a cursor past its last row gives 5000. The codes
// below are the substitute's own failures (the host's meaning of other codes
// is its business); every one of them counts as fatal for ClMsgMgr.
#pragma once

namespace stmtlink {

constexpr long kHostOk = 0;
constexpr long kHostEndOfRows = 5000;
// The books (books.db) could not be opened or read.
constexpr long kHostErrorBooks = 9001;
// A null output, an unknown cursor or a cursor that was not made ready.
constexpr long kHostErrorArgument = 9002;
// No data set with the current data ID.
constexpr long kHostErrorNoDataSet = 9003;

} // namespace stmtlink

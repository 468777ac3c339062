// The host substitute's extras (host/host_extras.h) over the current host
// home: the busy hook of its long calls (substitute_control.h), the check of
// the books file and the one reading of the journal (books_check.h).
#pragma once

#include <functional>
#include <string>

#include "host/host_extras.h"

namespace stmtlink {

class SubstituteExtras final : public HostExtras {
 public:
  void SetBusyHook(std::function<void()> hook) override;
  bool CheckBooks(std::string* cause) override;
  bool ReadJournal(const std::string& data_id, bool keep_ledger_lines, std::string* cause) override;
};

} // namespace stmtlink

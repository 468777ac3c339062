#include "host/substitute/substitute_extras.h"

#include <utility>

#include "host/substitute/books_check.h"
#include "host/substitute/substitute_control.h"

namespace stmtlink {

void SubstituteExtras::SetBusyHook(std::function<void()> hook) { SetHostBusyHook(std::move(hook)); }

bool SubstituteExtras::CheckBooks(std::string* cause) { return CheckCurrentBooksFile(cause); }

bool SubstituteExtras::ReadJournal(const std::string& data_id, bool keep_ledger_lines, std::string* cause) {
  return CheckCurrentJournal(data_id, keep_ledger_lines, cause);
}

} // namespace stmtlink

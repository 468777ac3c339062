// The calling thread's last error, as Windows keeps one per thread.
#include "platform/win_api.h"

namespace {

thread_local DWORD last_error = ERROR_SUCCESS;

} // namespace

DWORD GetLastError() { return last_error; }

void SetLastError(DWORD error) { last_error = error; }

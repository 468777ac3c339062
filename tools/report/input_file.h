// Opening a file the tool reads. Only a regular file is read: a FIFO would
// keep the tool waiting for a writer, a device (/dev/zero) would never end
// and a folder is no report, so each is refused at once with its reason.
#pragma once

#include <string>

namespace stmtlink::report {

// Opens path for reading; returns the descriptor (the caller closes it),
// or -1 with *reason (Japanese) when it is missing, not permitted or not a
// regular file. Opening never waits: a FIFO is looked at without blocking.
int OpenRegularFile(const std::string& path, std::string* reason);

// Whether path names a regular file that can be opened for reading; *reason
// as OpenRegularFile. For files handed to a library by name (the schema).
bool IsReadableRegularFile(const std::string& path, std::string* reason);

} // namespace stmtlink::report

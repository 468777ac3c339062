// The reasons the system gives for a file that cannot be read or written,
// in the tool's Japanese: the tool says nothing in English, so errno and
// the replacement's own reasons are put in words here, never through
// strerror.
#pragma once

#include <string>

#include "platform/replacing_file.h"

namespace stmtlink::report {

enum class FileUse { kReading, kWriting };

// Why a file could not be opened, read or written, from errno.
std::string FileReason(int error_number, FileUse use);

// Why an output file could not be started (ReplacingFile::Open or
// PrepareReplacement); target: the output's path, looked at again for the
// folder's state when no temporary could be made.
std::string ReplacementReason(ReplacingFile::OpenError error, const std::string& target);

// The reason for a path that names something other than a regular file:
// a folder, a FIFO, a device.
std::string NotRegularReason(unsigned mode);

} // namespace stmtlink::report

// The host.ini of a sample home (UTF-8) and the drive C folders it names.
#pragma once

#include <string>
#include <vector>

#include "tools/books/sample_books.h"

namespace stmtlink {

std::string SampleHostIniText(const SampleOptions& options);
// The application folders of host.ini as paths under <home>/drive_c.
std::vector<std::string> SampleAppFolders(const SampleOptions& options);

} // namespace stmtlink

// The import and export commands of stmtlink-books: their options and runs.
#pragma once

#include <string>
#include <vector>

namespace stmtlink {

// args: the arguments after the command's name. Exit status: 0 done,
// 1 failed, 2 refused (bad command line, bad input, books present).
int RunImportCommand(const std::vector<std::string>& args, const std::string& default_home);
int RunExportCommand(const std::vector<std::string>& args, const std::string& default_home);

// The commands' part of the help text (UTF-8), in English and in Japanese.
extern const char* const kTransferUsage;
extern const char* const kTransferUsageJapanese;

} // namespace stmtlink

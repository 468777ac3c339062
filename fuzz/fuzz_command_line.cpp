// The command line: the program's own options (arguments split at NUL
// bytes) and the host's "window,message,function[,output path]".
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "app/link_app.h"
#include "app/program_options.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string input(reinterpret_cast<const char*>(data), size);
  std::vector<std::string> args;
  for (std::size_t start = 0;;) {
    const std::size_t end = input.find('\0', start);
    args.push_back(input.substr(start, end - start));
    if (end == std::string::npos) break;
    start = end + 1;
  }
  stmtlink::ProgramOptions options;
  std::string error;
  if (stmtlink::ParseProgramOptions(args, &options, &error)) {
    // A parse that succeeds leaves every given number in its range.
    if (options.from_month && (*options.from_month < 1 || *options.from_month > 12)) __builtin_trap();
    if (options.ledger && *options.ledger != 0 && *options.ledger != 1) __builtin_trap();
  } else if (error.empty()) {
    __builtin_trap(); // every refusal says why
  }

  stmtlink::LinkApp app;
  if (app.ParseCommandLine(input) == 1 && input.find(',') == std::string::npos) __builtin_trap();
  return 0;
}

// Small helpers the benchmarks share: a monotonic clock, the median, and a
// child program run with its wall time and peak resident memory.
#pragma once

#include <string>
#include <vector>

namespace stmtlink::bench {

// Seconds on the monotonic clock.
double Now();
double Median(std::vector<double> values);

struct ChildRun {
  double seconds = 0; // wall time from fork to exit
  long peak_kib = 0;  // the child's peak resident set
  int exit_status = -1;
};

// Runs program with args (stdout and stderr to /dev/null) and waits for it.
// False when it cannot be started or does not exit normally.
bool RunChild(const std::string& program, const std::vector<std::string>& args, ChildRun* run);

} // namespace stmtlink::bench

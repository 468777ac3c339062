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
  double seconds = 0;     // wall time from fork to exit
  double cpu_seconds = 0; // the child's user and system time
  long peak_kib = 0;  // the child's peak resident set
  long page_faults = 0; // minor and major: first touches of fresh pages cost on this VM
  int exit_status = -1;
};

// A fresh folder under /tmp named prefix-XXXXXX; empty when none can be made.
std::string MakeTemporaryFolder(const std::string& prefix);

// Writes sample books of that size into home unless it has books already
// (then they are kept as they are), saying how long generating took. False
// with *error set when they cannot be written. balanced_compound_percent:
// the generator's share of later lines of balanced 0x22 entries.
bool EnsureSampleBooks(const std::string& home, unsigned long accounts, unsigned long lines,
                       std::string* error, unsigned balanced_compound_percent = 0);

// Runs program with args (stdout and stderr to /dev/null) and waits for it.
// False when it cannot be started or does not exit normally.
bool RunChild(const std::string& program, const std::vector<std::string>& args, ChildRun* run);

} // namespace stmtlink::bench

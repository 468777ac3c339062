// The whole run with the general ledger on, as a user starts it, over
// generated books of one size of chart and growing journals: the median wall
// time and peak resident memory of each size, and how the time grows with
// the journal.
//
//   stmtlink_bench_ledger_run [--accounts 1000] [--lines 100000,1000000]
//                             [--runs 3] [--dir DIR]
//
// Each run is the program itself (batch front end, months 4 to 3, ledger on)
// in a fresh process; generating the books does not count. Without --dir
// the books and reports go to a temporary folder that is removed at the
// end; with it the books are made there when missing and kept.
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "bench/bench_support.h"

namespace {

using namespace stmtlink;

[[noreturn]] void Fail(const std::string& what) {
  std::fprintf(stderr, "stmtlink_bench_ledger_run: %s\n", what.c_str());
  std::exit(1);
}

std::vector<unsigned long> ParseSizes(const std::string& text) {
  std::vector<unsigned long> sizes;
  std::size_t start = 0;
  while (start <= text.size()) {
    const std::size_t comma = text.find(',', start);
    const std::string part = text.substr(start, comma - start);
    char* end = nullptr;
    const unsigned long value = std::strtoul(part.c_str(), &end, 10);
    if (part.empty() || *end != '\0' || value == 0) Fail("bad --lines value: " + text);
    sizes.push_back(value);
    if (comma == std::string::npos) break;
    start = comma + 1;
  }
  return sizes;
}

// The Windows path of a Linux path under drive Z: (the root).
std::string OnDriveZ(const std::string& path) {
  std::string windows = "Z:";
  for (char c : path) windows.push_back(c == '/' ? '\\' : c);
  return windows;
}

struct SizeResult {
  unsigned long lines = 0;
  double median_seconds = 0;
  double median_peak_mib = 0;
  double report_mib = 0;
};

SizeResult MeasureSize(const std::string& program, const std::string& dir, unsigned long accounts,
                       unsigned long lines, int runs) {
  const std::string home = dir + "/books-" + std::to_string(lines);
  std::string error;
  if (!bench::EnsureSampleBooks(home, accounts, lines, &error)) Fail(error);
  const std::string report = dir + "/report-" + std::to_string(lines) + ".xml";
  const std::vector<std::string> args = {"--ui",     "batch", "--home",   home,
                                         "--from",   "4",     "--to",     "3",
                                         "--ledger", "1",     "--output", OnDriveZ(report),
                                         "--answer", "yes"};
  std::vector<double> seconds, peaks;
  for (int i = 0; i < runs; ++i) {
    bench::ChildRun run;
    if (!bench::RunChild(program, args, &run) || run.exit_status != 0)
      Fail("the run over " + home + " failed (exit status " + std::to_string(run.exit_status) +
           ")");
    seconds.push_back(run.seconds);
    peaks.push_back(static_cast<double>(run.peak_kib) / 1024.0);
    std::printf("  %lu lines, run %d: %.2f s, %.0f MiB\n", lines, i + 1, run.seconds,
                peaks.back());
    std::fflush(stdout);
  }
  SizeResult result;
  result.lines = lines;
  result.median_seconds = bench::Median(seconds);
  result.median_peak_mib = bench::Median(peaks);
  result.report_mib = static_cast<double>(std::filesystem::file_size(report)) / (1024.0 * 1024.0);
  return result;
}

} // namespace

int main(int argc, char** argv) {
  std::string dir;
  std::string sizes_text = "100000,1000000";
  unsigned long accounts = 1000;
  int runs = 3;
  for (int i = 1; i < argc; ++i) {
    const std::string arg = argv[i];
    const char* value = i + 1 < argc ? argv[i + 1] : nullptr;
    if (!value) Fail("missing value for " + arg);
    if (arg == "--dir") dir = value;
    else if (arg == "--accounts") accounts = std::strtoul(value, nullptr, 10);
    else if (arg == "--lines") sizes_text = value;
    else if (arg == "--runs") runs = std::max(1, std::atoi(value));
    else Fail("unknown option " + arg);
    ++i;
  }
  const std::vector<unsigned long> sizes = ParseSizes(sizes_text);

  const bool temporary = dir.empty();
  if (temporary && (dir = bench::MakeTemporaryFolder("stmtlink-ledger-bench")).empty())
    Fail("mkdtemp");
  std::vector<SizeResult> results;
  for (unsigned long lines : sizes)
    results.push_back(MeasureSize(STMTLINK_PROGRAM, dir, accounts, lines, runs));

  std::printf("\nwhole run, general ledger on, %lu accounts, %d runs each\n", accounts, runs);
  std::printf("%14s %12s %16s %13s\n", "journal lines", "median (s)", "peak RSS (MiB)",
              "report (MiB)");
  for (const SizeResult& r : results)
    std::printf("%14lu %12.2f %16.0f %13.0f\n", r.lines, r.median_seconds, r.median_peak_mib,
                r.report_mib);
  for (std::size_t i = 1; i < results.size(); ++i) {
    const double lines_ratio =
        static_cast<double>(results[i].lines) / static_cast<double>(results[0].lines);
    const double time_ratio = results[i].median_seconds / results[0].median_seconds;
    std::printf("%lu -> %lu lines (x%.1f): time x%.2f, per line x%.2f (linear: 1.00)\n",
                results[0].lines, results[i].lines, lines_ratio, time_ratio,
                time_ratio / lines_ratio);
  }
  if (temporary) std::filesystem::remove_all(dir);
  return 0;
}

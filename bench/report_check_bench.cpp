// stmtlink-report check on a report with a large general ledger, paired
// with `xmllint --stream --noout` on the same file: rounds alternate the
// two so that a noisy machine slows both alike; prints the medians, the
// median of the per-round ratios and the check's peak resident memory
// against the targets (at most 1.5 x xmllint, under 64 MiB), and the ratio
// of their processor times, which other load on the machine moves less.
//
//   stmtlink_bench_report_check [--lines 1000000] [--runs 5] [--dir DIR]
//
// The report comes from sample books of that journal size (1,000 accounts)
// run through the standard edition with the ledger on; without --dir it is
// made in a temporary folder and removed, with --dir it is made there when
// missing and kept.
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "bench/bench_support.h"

namespace {

using namespace stmtlink;

constexpr double kMaxRatio = 1.5;
constexpr double kMaxPeakMib = 64;

[[noreturn]] void Fail(const std::string& what) {
  std::fprintf(stderr, "stmtlink_bench_report_check: %s\n", what.c_str());
  std::exit(1);
}

bench::ChildRun Run(const std::string& program, const std::vector<std::string>& args,
                    int expected_max_status, const std::string& what) {
  bench::ChildRun run;
  if (!bench::RunChild(program, args, &run) || run.exit_status < 0 ||
      run.exit_status > expected_max_status)
    Fail(what + " failed (exit status " + std::to_string(run.exit_status) + ")");
  return run;
}

} // namespace

int main(int argc, char** argv) {
  unsigned long lines = 1000000;
  int runs = 5;
  std::string dir;
  for (int i = 1; i < argc; ++i) {
    const std::string arg = argv[i];
    if (arg == "--help" || arg == "-h") {
      std::printf("usage: stmtlink_bench_report_check [--lines N] [--runs N] [--dir DIR]\n"
                  "Writes a ledger report of N journal lines and times stmtlink-report check on it\n"
                  "beside xmllint --stream, in paired rounds.\n");
      return 0;
    }
    if (arg == "--lines" && i + 1 < argc) lines = std::strtoul(argv[++i], nullptr, 10);
    else if (arg == "--runs" && i + 1 < argc) runs = std::atoi(argv[++i]);
    else if (arg == "--dir" && i + 1 < argc) dir = argv[++i];
    else Fail("usage: stmtlink_bench_report_check [--lines N] [--runs N] [--dir DIR]");
  }
  if (lines == 0 || runs <= 0) Fail("--lines and --runs must be positive");
  const bool keep = !dir.empty();
  if (!keep) dir = bench::MakeTemporaryFolder("stmtlink-report-bench");
  if (dir.empty()) Fail("cannot make a temporary folder");

  const std::string home = dir + "/books-" + std::to_string(lines);
  const std::string report = home + "/drive_c/report.xml";
  std::string error;
  if (!std::filesystem::exists(report)) {
    if (!bench::EnsureSampleBooks(home, 1000, lines, &error)) Fail(error);
    Run(STMTLINK_PROGRAM,
        {"--ui", "batch", "--home", home, "--from", "4", "--to", "3", "--ledger", "1",
         "--output", "C:\\report.xml", "--answer", "yes"},
        0, "writing the report");
  }
  const double mib = static_cast<double>(std::filesystem::file_size(report)) / (1024.0 * 1024.0);
  std::printf("report: %s (%.0f MiB)\n", report.c_str(), mib);

  std::vector<double> check_s, lint_s, ratios, cpu_ratios, peaks;
  for (int i = 0; i < runs; ++i) {
    // The check exits 1 on the sample books' warnings; 2 would be a failure.
    const bench::ChildRun check = Run(STMTLINK_REPORT_TOOL, {"check", report}, 1, "the check");
    const bench::ChildRun lint = Run("/usr/bin/xmllint", {"--stream", "--noout", report}, 0, "xmllint");
    check_s.push_back(check.seconds);
    lint_s.push_back(lint.seconds);
    ratios.push_back(check.seconds / lint.seconds);
    cpu_ratios.push_back(check.cpu_seconds / lint.cpu_seconds);
    peaks.push_back(static_cast<double>(check.peak_kib) / 1024.0);
    std::printf("  round %d: check %.2f s (cpu %.2f s, %.0f MiB), xmllint --stream %.2f s "
                "(cpu %.2f s), ratio %.2f (cpu %.2f)\n",
                i + 1, check.seconds, check.cpu_seconds, peaks.back(), lint.seconds,
                lint.cpu_seconds, ratios.back(), cpu_ratios.back());
    std::fflush(stdout);
  }
  const double ratio = bench::Median(ratios), peak = bench::Median(peaks);
  std::printf("\nmedians: check %.2f s, xmllint --stream %.2f s, ratio %.2f (target <= %.1f: %s), "
              "peak %.0f MiB (target < %.0f: %s)\n",
              bench::Median(check_s), bench::Median(lint_s), ratio, kMaxRatio,
              ratio <= kMaxRatio ? "met" : "MISSED", peak, kMaxPeakMib,
              peak < kMaxPeakMib ? "met" : "MISSED");
  std::printf("median ratio of the processor times (less moved by other load): %.2f\n",
              bench::Median(cpu_ratios));
  if (!keep) std::filesystem::remove_all(dir);
  return 0;
}

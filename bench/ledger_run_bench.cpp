// The whole run with the general ledger on, as a user starts it, over
// generated books of one size of chart and growing journals, paired with
// yardsticks on the same data: the floor of the work (ledger_floor.cpp: a
// plain pass over the journal with the sums and the sort, and a plain write
// of the report's size), ledger-cli's `bal` over the same journal
// (exported in its format) and a copy of the finished report with cp; and
// the run without the ledger beside the plain pass without the sort. The
// runs are interleaved (program, ledger-cli, copy, again and again) so that
// a noisy machine slows all three alike; the medians, the medians of the
// per-round ratios, the peak resident memory and how the time per journal
// line grows from the smallest size are printed, with the targets.
//
//   stmtlink_bench_ledger_run [--accounts 1000] [--lines 100000,1000000]
//                             [--runs 5] [--balanced-compound 1] [--dir DIR]
//
// Two kinds of books are measured: the sample books, and the same with
// about P per cent of the lines being later lines of balanced 0x22 entries
// (--balanced-compound P; 0 leaves them out), whose counter accounts the
// ledger finds by reading their entries. Each run of the program is a fresh
// process (batch front end, months 4 to 3, ledger on); generating the books
// and exporting the journal do not count. Without --dir everything goes to a
// temporary folder that is removed at the end; with it the books and the
// exported journals are made there when missing and kept.
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#include "bench/bench_support.h"
#include "bench/ledger_export.h"

namespace {

using namespace stmtlink;

// The targets the run is held to.
constexpr double kMaxRatioToLedgerCli = 0.5;
constexpr double kMaxRatioToCopy = 10;
constexpr double kMaxPeakMib = 500;
constexpr double kMaxGrowthPerLine = 1.25; // 1.00 is linear; the rest is noise
constexpr double kMaxRatioToFloor = 1.5;   // the run with the ledger against its floor
constexpr double kMaxBareToPass = 1.25;    // the run without it against the plain pass

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
  double run_seconds = 0;    // medians
  double peak_mib = 0;
  double faults = 0;
  double floor_seconds = 0;  // the floor: the plain pass with the sort, and the write
  double to_floor = 0;       // median of the per-round ratios
  double bare_seconds = 0;   // the run without the ledger
  double bare_faults = 0;
  double pass_seconds = 0;   // the plain pass without the sort
  double bare_to_pass = 0;
  double report_mib = 0;
  double ledger_seconds = 0; // 0: ledger-cli not measured
  double copy_seconds = 0;
  double to_ledger = 0;      // medians of the per-round ratios
  double to_copy = 0;
};

bench::ChildRun Run(const std::string& program, const std::vector<std::string>& args,
                    const std::string& what) {
  bench::ChildRun run;
  if (!bench::RunChild(program, args, &run) || run.exit_status != 0)
    Fail(what + " failed (exit status " + std::to_string(run.exit_status) + ")");
  return run;
}

SizeResult MeasureSize(const std::string& dir, unsigned long accounts, unsigned long lines,
                       unsigned percent, int runs, const std::string& ledger_cli) {
  const std::string name =
      "books-" + std::to_string(lines) + (percent ? "-c" + std::to_string(percent) : "");
  const std::string home = dir + "/" + name;
  std::string error;
  if (!bench::EnsureSampleBooks(home, accounts, lines, &error, percent)) Fail(error);
  const std::string journal = home + "/journal.ledger";
  if (!ledger_cli.empty() && !bench::EnsureLedgerJournal(home + "/books.db", journal, &error))
    Fail(error);
  const std::string report = dir + "/report-" + name + ".xml";
  const std::string copy = report + ".copy";
  const std::vector<std::string> args = {"--ui",     "batch", "--home",   home,
                                         "--from",   "4",     "--to",     "3",
                                         "--ledger", "1",     "--output", OnDriveZ(report),
                                         "--answer", "yes"};
  std::vector<std::string> bare_args = args;
  bare_args[9] = "0"; // --ledger 0, to a report of its own
  bare_args[11] = OnDriveZ(report + ".bare.xml");
  const std::string floor_file = dir + "/floor-" + name + ".xml";
  std::vector<double> seconds, peaks, ledger_seconds, copy_seconds, to_ledger, to_copy;
  std::vector<double> faults, floors, to_floor, bare, bare_faults, passes, bare_to_pass;
  for (int i = 0; i < runs; ++i) {
    const bench::ChildRun run = Run(STMTLINK_PROGRAM, args, "the run over " + home);
    seconds.push_back(run.seconds);
    peaks.push_back(static_cast<double>(run.peak_kib) / 1024.0);
    faults.push_back(static_cast<double>(run.page_faults));
    std::printf("  %s, round %d: run %.2f s, %.0f MiB, %ld faults", name.c_str(), i + 1,
                run.seconds, peaks.back(), run.page_faults);
    // The floor of the same work, right after it.
    const bench::ChildRun sorted =
        Run(STMTLINK_FLOOR, {"pass", home + "/books.db", "--sort"}, "the plain pass");
    const bench::ChildRun written =
        Run(STMTLINK_FLOOR, {"write", floor_file, std::to_string(std::filesystem::file_size(report))},
            "the plain write");
    floors.push_back(sorted.seconds + written.seconds);
    to_floor.push_back(run.seconds / floors.back());
    std::printf(", floor %.2f s (pass %.2f + write %.2f)", floors.back(), sorted.seconds,
                written.seconds);
    const bench::ChildRun without = Run(STMTLINK_PROGRAM, bare_args, "the run without the ledger");
    const bench::ChildRun pass = Run(STMTLINK_FLOOR, {"pass", home + "/books.db"}, "the plain pass");
    bare.push_back(without.seconds);
    bare_faults.push_back(static_cast<double>(without.page_faults));
    passes.push_back(pass.seconds);
    bare_to_pass.push_back(without.seconds / pass.seconds);
    std::printf(", without ledger %.2f s (%ld faults), pass %.2f s", without.seconds,
                without.page_faults, pass.seconds);
    if (!ledger_cli.empty()) {
      const bench::ChildRun bal = Run(ledger_cli, {"-f", journal, "bal"}, "ledger-cli bal");
      ledger_seconds.push_back(bal.seconds);
      to_ledger.push_back(run.seconds / bal.seconds);
      std::printf(", ledger bal %.2f s", bal.seconds);
    }
    const bench::ChildRun cp = Run("/bin/cp", {report, copy}, "copying the report");
    std::filesystem::remove(copy);
    copy_seconds.push_back(cp.seconds);
    to_copy.push_back(run.seconds / cp.seconds);
    std::printf(", copy %.2f s\n", cp.seconds);
    std::fflush(stdout);
  }
  SizeResult result;
  result.lines = lines;
  result.run_seconds = bench::Median(seconds);
  result.peak_mib = bench::Median(peaks);
  result.report_mib = static_cast<double>(std::filesystem::file_size(report)) / (1024.0 * 1024.0);
  result.ledger_seconds = bench::Median(ledger_seconds);
  result.copy_seconds = bench::Median(copy_seconds);
  result.to_ledger = bench::Median(to_ledger);
  result.to_copy = bench::Median(to_copy);
  result.faults = bench::Median(faults);
  result.floor_seconds = bench::Median(floors);
  result.to_floor = bench::Median(to_floor);
  result.bare_seconds = bench::Median(bare);
  result.bare_faults = bench::Median(bare_faults);
  result.pass_seconds = bench::Median(passes);
  result.bare_to_pass = bench::Median(bare_to_pass);
  std::filesystem::remove(floor_file);
  std::filesystem::remove(report + ".bare.xml");
  return result;
}

const char* Verdict(bool met) { return met ? "met" : "MISSED"; }

void Print(const std::string& title, const std::vector<SizeResult>& results, bool with_ledger) {
  std::printf("\n%s\n", title.c_str());
  std::printf("%13s %9s %9s %8s %11s %8s %10s %9s\n", "journal lines", "run (s)", "peak MiB",
              "report", "ledger (s)", "copy (s)", "run/ledger", "run/copy");
  for (const SizeResult& r : results) {
    std::printf("%13lu %9.2f %9.0f %8.0f ", r.lines, r.run_seconds, r.peak_mib, r.report_mib);
    if (with_ledger) std::printf("%11.2f ", r.ledger_seconds);
    else std::printf("%11s ", "-");
    std::printf("%8.2f ", r.copy_seconds);
    if (with_ledger) std::printf("%10.2f ", r.to_ledger);
    else std::printf("%10s ", "-");
    std::printf("%9.2f\n", r.to_copy);
  }
  std::printf("%13s %9s %9s %10s %9s %9s %9s %11s %9s\n", "journal lines", "run (s)", "faults",
              "floor (s)", "run/floor", "bare (s)", "faults", "pass (s)", "bare/pass");
  for (const SizeResult& r : results)
    std::printf("%13lu %9.2f %9.0f %10.2f %9.2f %9.2f %9.0f %11.2f %9.2f\n", r.lines, r.run_seconds,
                r.faults, r.floor_seconds, r.to_floor, r.bare_seconds, r.bare_faults, r.pass_seconds,
                r.bare_to_pass);
  const SizeResult& largest = results.back();
  std::printf("largest: run/floor %.2f (target <= %.2f: %s), without the ledger run/pass %.2f "
              "(target <= %.2f: %s)\n",
              largest.to_floor, kMaxRatioToFloor, Verdict(largest.to_floor <= kMaxRatioToFloor),
              largest.bare_to_pass, kMaxBareToPass, Verdict(largest.bare_to_pass <= kMaxBareToPass));
  if (with_ledger)
    std::printf("largest: run/ledger bal %.2f (target <= %.2f: %s)\n", largest.to_ledger,
                kMaxRatioToLedgerCli, Verdict(largest.to_ledger <= kMaxRatioToLedgerCli));
  std::printf("largest: run/copy %.2f (target <= %.0f: %s), peak %.0f MiB (target <= %.0f: %s)\n",
              largest.to_copy, kMaxRatioToCopy, Verdict(largest.to_copy <= kMaxRatioToCopy),
              largest.peak_mib, kMaxPeakMib, Verdict(largest.peak_mib <= kMaxPeakMib));
  for (std::size_t i = 1; i < results.size(); ++i) {
    const double lines_ratio =
        static_cast<double>(results[i].lines) / static_cast<double>(results[0].lines);
    const double per_line = results[i].run_seconds / results[0].run_seconds / lines_ratio;
    std::printf("%lu -> %lu lines (x%.1f): time per line x%.2f (linear 1.00; target <= %.2f: %s)\n",
                results[0].lines, results[i].lines, lines_ratio, per_line, kMaxGrowthPerLine,
                Verdict(per_line <= kMaxGrowthPerLine));
  }
}

} // namespace

constexpr const char* kUsage =
    "usage: stmtlink_bench_ledger_run [--accounts 1000] [--lines 100000,1000000] [--runs 5]\n"
    "                                 [--balanced-compound 1] [--dir DIR]\n"
    "Runs the program (batch, months 4 to 3, general ledger on) over generated books of each\n"
    "journal size beside the floor of its work (stmtlink_bench_ledger_floor), the run without\n"
    "the ledger beside the plain pass, ledger-cli's bal and a copy of the report, and prints\n"
    "the medians, the ratios and the page faults.\n";

int main(int argc, char** argv) {
  for (int i = 1; i < argc; ++i) {
    if (std::strcmp(argv[i], "--help") == 0 || std::strcmp(argv[i], "-h") == 0) {
      std::fputs(kUsage, stdout);
      return 0;
    }
  }
  std::string dir;
  std::string sizes_text = "100000,1000000";
  unsigned long accounts = 1000;
  unsigned percent = 1;
  int runs = 5;
  for (int i = 1; i < argc; ++i) {
    const std::string arg = argv[i];
    const char* value = i + 1 < argc ? argv[i + 1] : nullptr;
    if (!value) Fail("missing value for " + arg);
    if (arg == "--dir") dir = value;
    else if (arg == "--accounts") accounts = std::strtoul(value, nullptr, 10);
    else if (arg == "--lines") sizes_text = value;
    else if (arg == "--runs") runs = std::max(1, std::atoi(value));
    else if (arg == "--balanced-compound") percent = static_cast<unsigned>(std::min(50, std::max(0, std::atoi(value))));
    else Fail("unknown option " + arg);
    ++i;
  }
  const std::vector<unsigned long> sizes = ParseSizes(sizes_text);
  const std::string ledger_cli = bench::LedgerCliProgram();
  if (ledger_cli.empty()) std::printf("ledger-cli not found: its comparison is left out\n");

  const bool temporary = dir.empty();
  if (temporary && (dir = bench::MakeTemporaryFolder("stmtlink-ledger-bench")).empty())
    Fail("mkdtemp");
  std::vector<unsigned> kinds = {0};
  if (percent != 0) kinds.push_back(percent);
  for (unsigned kind : kinds) {
    std::vector<SizeResult> results;
    for (unsigned long lines : sizes)
      results.push_back(MeasureSize(dir, accounts, lines, kind, runs, ledger_cli));
    const std::string title =
        "whole run, general ledger on, " + std::to_string(accounts) + " accounts, " +
        std::to_string(runs) + " paired rounds, " +
        (kind ? "about " + std::to_string(kind) + "% later lines of balanced 0x22 entries"
              : "sample books");
    Print(title, results, !ledger_cli.empty());
  }
  if (temporary) std::filesystem::remove_all(dir);
  return 0;
}

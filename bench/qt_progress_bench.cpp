// The whole run with the Qt windows against the batch run on the same books:
// the standard edition aggregates a year with the general ledger and writes
// the report, once with --ui batch and once with --ui qt --unattended on
// Qt's offscreen platform (dialog, progress window with its coalesced
// repaints, message boxes), interleaved, several times. Prints the median
// wall and CPU time of each and the median of the pairs' wall ratios; the
// target is a ratio of at most 1.10. The default books (100,000 journal
// lines) give the progress window tens of thousands of updates; on tiny
// books Qt's fixed start-up (libraries, fonts, about 35 ms) dominates.
//
//   stmtlink_bench_qt_progress [--lines N] [--ledger 0|1] [--runs R] [--smoke]
//
// --smoke: tiny books, one run, no target (what ctest runs).
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#include "bench/bench_support.h"

namespace {

using stmtlink::bench::ChildRun;
using stmtlink::bench::Median;

constexpr double kTargetRatio = 1.10;

bool ParseInt(const char* text, int low, int* value) {
  char* end = nullptr;
  const long v = std::strtol(text, &end, 10);
  if (end == text || *end != '\0' || v < low || v > 100000000) return false;
  *value = static_cast<int>(v);
  return true;
}

} // namespace

constexpr const char* kUsage =
    "usage: stmtlink_bench_qt_progress [--lines 100000] [--ledger 0|1] [--runs 5] [--smoke]\n"
    "Runs StmtLinkStd in batch and with the Qt windows (offscreen, unattended) over the same\n"
    "sample books in interleaved pairs and prints the median times and their ratio.\n";

int main(int argc, char** argv) {
  for (int i = 1; i < argc; ++i) {
    if (std::strcmp(argv[i], "--help") == 0 || std::strcmp(argv[i], "-h") == 0) {
      std::fputs(kUsage, stdout);
      return 0;
    }
  }
  int lines = 100000;
  int ledger = 1;
  int runs = 5;
  bool smoke = false;
  for (int i = 1; i < argc; ++i) {
    const std::string arg = argv[i];
    const bool has_value = i + 1 < argc;
    if (arg == "--smoke") {
      smoke = true;
      lines = 200;
      runs = 1;
    } else if (arg == "--lines" && has_value && ParseInt(argv[i + 1], 1, &lines)) {
      ++i;
    } else if (arg == "--ledger" && has_value && ParseInt(argv[i + 1], 0, &ledger) && ledger <= 1) {
      ++i;
    } else if (arg == "--runs" && has_value && ParseInt(argv[i + 1], 1, &runs)) {
      ++i;
    } else {
      std::fputs(kUsage, stderr);
      return 2;
    }
  }

  const std::string bin = STMTLINK_BIN_DIR;
  const std::string home = stmtlink::bench::MakeTemporaryFolder("stmtlink-qt-bench");
  std::string error;
  if (home.empty() || !stmtlink::bench::EnsureSampleBooks(home, 0, static_cast<unsigned long>(lines),
                                                          &error)) {
    std::fprintf(stderr, "cannot create the sample books in %s: %s\n", home.c_str(), error.c_str());
    return 2;
  }
  // Both runs inherit it; the batch front end makes no windows.
  setenv("QT_QPA_PLATFORM", "offscreen", 1);
  const std::vector<std::string> common = {"--home", home, "--from", "4", "--to", "3", "--ledger",
                                           std::to_string(ledger), "--output", "C:\\out\\report.xml",
                                           "--answer", "yes"};
  auto run = [&](bool qt) {
    std::vector<std::string> args = {"--ui", qt ? "qt" : "batch"};
    if (qt) args.push_back("--unattended");
    args.insert(args.end(), common.begin(), common.end());
    ChildRun child;
    if (!stmtlink::bench::RunChild(bin + "/StmtLinkStd", args, &child) || child.exit_status != 0) {
      std::fprintf(stderr, "the %s run ended with status %d\n", qt ? "qt" : "batch",
                   child.exit_status);
      std::exit(2);
    }
    return child;
  };

  std::printf("books: sample, %d journal lines; general ledger %s; %d run(s) each\n", lines,
              ledger ? "on" : "off", runs);
  if (!smoke) {
    run(false); // warm the caches of both
    run(true);
  }
  // Interleaved pairs: a drift of the machine's speed touches both sides.
  std::vector<double> batch, qt, batch_cpu, qt_cpu, pair_ratios;
  for (int r = 0; r < runs; ++r) {
    const ChildRun b = run(false);
    const ChildRun q = run(true);
    batch.push_back(b.seconds);
    qt.push_back(q.seconds);
    batch_cpu.push_back(b.cpu_seconds);
    qt_cpu.push_back(q.cpu_seconds);
    pair_ratios.push_back(q.seconds / b.seconds);
  }
  std::filesystem::remove_all(home);

  const double ratio = Median(pair_ratios);
  std::printf("%-40s %10s %10s\n", "", "wall (s)", "CPU (s)");
  std::printf("%-40s %10.3f %10.3f\n", "batch (--ui batch)", Median(batch), Median(batch_cpu));
  std::printf("%-40s %10.3f %10.3f\n", "qt (--ui qt --unattended, offscreen)", Median(qt),
              Median(qt_cpu));
  std::printf("ratio qt / batch: median of the pairs' wall ratios %.3f, of the medians %.3f, "
              "CPU %.3f\n",
              ratio, Median(qt) / Median(batch), Median(qt_cpu) / Median(batch_cpu));
  std::printf("target: wall ratio <= %.2f: %s\n", kTargetRatio,
              smoke ? "not checked in a smoke run" : ratio <= kTargetRatio ? "met" : "NOT met");
  return smoke || ratio <= kTargetRatio ? 0 : 1;
}

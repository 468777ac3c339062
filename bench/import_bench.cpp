// The books import against SQLite's own CSV import: sample books of a
// journal size are exported once to CSV, then, in interleaved pairs,
// `stmtlink-books import` makes fresh books from the files and the sqlite3
// shell's `.import --csv` loads the same journal.csv into a fresh database.
// Prints the median times and the median of the pairs' ratios (target: the
// import takes at most 3 times as long).
//
//   stmtlink_bench_import [--lines 1000000] [--runs 3] [--dir DIR]
//
// Without --dir everything goes to a temporary folder removed at the end.
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#include "bench/bench_support.h"

namespace {

using namespace stmtlink;
namespace fs = std::filesystem;

[[noreturn]] void Fail(const std::string& what) {
  std::fprintf(stderr, "stmtlink_bench_import: %s\n", what.c_str());
  std::exit(1);
}

unsigned long Number(const char* text) {
  char* end = nullptr;
  const unsigned long value = std::strtoul(text, &end, 10);
  if (*end != '\0' || value == 0) Fail(std::string("not a positive number: ") + text);
  return value;
}

} // namespace

constexpr const char* kUsage =
    "usage: stmtlink_bench_import [--lines 1000000] [--runs 3] [--dir DIR]\n"
    "Exports sample books of that journal size, then, in interleaved pairs, imports them with\n"
    "stmtlink-books and loads the same journal.csv with the sqlite3 shell's .import --csv.\n";

int main(int argc, char** argv) {
  for (int i = 1; i < argc; ++i) {
    if (std::strcmp(argv[i], "--help") == 0 || std::strcmp(argv[i], "-h") == 0) {
      std::fputs(kUsage, stdout);
      return 0;
    }
  }
  unsigned long lines = 1000000, runs = 3;
  std::string dir;
  for (int i = 1; i < argc; ++i) {
    const std::string arg = argv[i];
    if (i + 1 >= argc) Fail("option without a value: " + arg);
    if (arg == "--lines")
      lines = Number(argv[++i]);
    else if (arg == "--runs")
      runs = Number(argv[++i]);
    else if (arg == "--dir")
      dir = argv[++i];
    else
      Fail("unknown option " + arg);
  }
  const bool temporary = dir.empty();
  if (temporary) dir = bench::MakeTemporaryFolder("stmtlink-bench-import");
  if (dir.empty()) Fail("cannot make a temporary folder");
  const std::string books_tool = STMTLINK_BOOKS_TOOL;
  const std::string csv = dir + "/csv";
  std::string error;
  if (!bench::EnsureSampleBooks(dir + "/sample", 0, lines, &error)) Fail(error);
  bench::ChildRun run;
  if (!fs::exists(csv + "/journal.csv") &&
      (!bench::RunChild(books_tool, {"export", "--home", dir + "/sample", "--out", csv}, &run) ||
       run.exit_status != 0))
    Fail("the export failed");

  std::vector<double> ours, sqlite, ratios, peak_mib;
  for (unsigned long r = 0; r < runs; ++r) {
    fs::remove_all(dir + "/imported");
    fs::remove(dir + "/sqlite.db");
    if (!bench::RunChild(books_tool, {"import", "--home", dir + "/imported", "--from", csv},
                         &run) ||
        run.exit_status != 0)
      Fail("the import failed");
    ours.push_back(run.seconds);
    peak_mib.push_back(run.peak_kib / 1024.0);
    if (!bench::RunChild("/usr/bin/sqlite3",
                         {dir + "/sqlite.db", ".import --csv " + csv + "/journal.csv journal"},
                         &run) ||
        run.exit_status != 0)
      Fail("sqlite3 .import failed (is the sqlite3 package installed?)");
    sqlite.push_back(run.seconds);
    ratios.push_back(ours.back() / sqlite.back());
    std::printf("run %lu: import %.2f s, sqlite3 .import %.2f s, ratio %.2f\n", r + 1, ours.back(),
                sqlite.back(), ratios.back());
  }
  const double ratio = bench::Median(ratios);
  std::printf(
      "%lu journal lines: import %.2f s (peak %.0f MiB), sqlite3 .import %.2f s (medians of "
      "%lu); ratio %.2f (target at most 3.00): %s\n",
      lines, bench::Median(ours), bench::Median(peak_mib), bench::Median(sqlite), runs, ratio,
      ratio <= 3.0 ? "met" : "NOT met");
  if (temporary) fs::remove_all(dir);
  return 0;
}

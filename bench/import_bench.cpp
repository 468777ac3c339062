// The books import against SQLite's own CSV import: sample books of a
// journal size are exported once to CSV, then, in interleaved pairs,
// `stmtlink-books import` makes fresh books from the files and the sqlite3
// shell's `.import --csv` loads the same journal.csv into a fresh database.
// Prints the median times and the median of the pairs' ratios (target: the
// import takes at most 1.5 times as long).
//
//   stmtlink_bench_import [--lines 1000000] [--runs 3] [--dir DIR] [--tax-categories]
//
// --tax-categories: both load a journal whose taxed sides also carry a tax
// category (課税仕入10%, 課税売上10%), which the import reads with
// --amounts tax-excluded: every taxed side's tax is computed and compared
// with the file's, which is kept, so the books are the same.
//
// Without --dir everything goes to a temporary folder removed at the end.
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
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

// journal.csv with two more columns: each side's tax category where the
// side has a tax. The first ten fields hold no commas; the description,
// last, may be quoted.
void WriteTaxedJournal(const std::string& from, const std::string& to) {
  std::ifstream in(from, std::ios::binary);
  std::ofstream out(to, std::ios::binary);
  std::string line;
  const std::string purchase = reinterpret_cast<const char*>(u8",課税仕入10%");
  const std::string sales = reinterpret_cast<const char*>(u8",課税売上10%");
  bool header = true;
  while (std::getline(in, line)) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (header) {
      out << line << ",debit_tax_category,credit_tax_category\r\n";
      header = false;
      continue;
    }
    std::size_t commas[10];
    std::size_t at = 0;
    for (int i = 0; i < 10; ++i) {
      at = line.find(',', at);
      if (at == std::string::npos) Fail("unexpected journal line: " + line);
      commas[i] = at++;
    }
    const bool debit_tax = commas[6] > commas[5] + 1, credit_tax = commas[9] > commas[8] + 1;
    out << line << (debit_tax ? purchase : std::string(",")) << (credit_tax ? sales : std::string(","))
        << "\r\n";
  }
  if (!out) Fail("cannot write " + to);
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
  bool taxed = false;
  for (int i = 1; i < argc; ++i) {
    const std::string arg = argv[i];
    if (arg == "--tax-categories") {
      taxed = true;
      continue;
    }
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

  std::string journal = csv + "/journal.csv";
  std::vector<std::string> import_args = {"import", "--home", dir + "/imported", "--from", csv};
  if (taxed) {
    journal = dir + "/journal-taxed.csv";
    WriteTaxedJournal(csv + "/journal.csv", journal);
    import_args.insert(import_args.end(), {"--journal", journal, "--amounts", "tax-excluded"});
  }
  std::vector<double> ours, sqlite, ratios, peak_mib;
  for (unsigned long r = 0; r < runs; ++r) {
    fs::remove_all(dir + "/imported");
    fs::remove(dir + "/sqlite.db");
    if (!bench::RunChild(books_tool, import_args, &run) ||
        run.exit_status != 0)
      Fail("the import failed");
    ours.push_back(run.seconds);
    peak_mib.push_back(run.peak_kib / 1024.0);
    if (!bench::RunChild("/usr/bin/sqlite3",
                         {dir + "/sqlite.db", ".import --csv " + journal + " journal"},
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
      "%lu%s); ratio %.2f (target at most 1.50): %s\n",
      lines, bench::Median(ours), bench::Median(peak_mib), bench::Median(sqlite), runs,
      taxed ? ", tax categories" : "", ratio, ratio <= 1.5 ? "met" : "NOT met");
  if (temporary) fs::remove_all(dir);
  return 0;
}

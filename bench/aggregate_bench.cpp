// Aggregation of generated books against the floor of a bare SQLite scan of
// the same journal lines: median wall time of several runs and the peak
// resident memory of each measurement (each runs in a fresh process, so
// generating the books does not count). The aggregation with the general
// ledger is measured too, with the longest time the progress window went
// without a pulse (the user sees a frozen window after about a second).
//
//   stmtlink_bench_aggregate [--home DIR] [--accounts N] [--lines N] [--runs N]
//
// Without --home the books go to a temporary folder that is removed at the
// end; with it they are made there when missing and kept.
#include <sys/resource.h>
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "aggregate/statement_aggregator.h"
#include "bench/bench_support.h"
#include "app/month_conditions.h"
#include "app/progress_dialog.h"
#include "aggregate/ledger_line.h"
#include "host/substitute/books_db.h"
#include "host/data_mgr.h"
#include "host/set_data.h"
#include "host/substitute/substitute_control.h"
#include "host/substitute/substitute_extras.h"
#include "platform/host_home.h"

namespace {

using namespace stmtlink;

using bench::Median;
using bench::Now;

[[noreturn]] void Fail(const std::string& what) {
  std::fprintf(stderr, "stmtlink_bench_aggregate: %s\n", what.c_str());
  std::exit(1);
}

// The floor: every journal line of the data set stepped through, with the
// columns the account sums need read.
double ScanOnce(const std::string& home, long long* rows) {
  std::shared_ptr<BooksDb> db;
  std::string error;
  const double start = Now();
  if (!BooksDb::Open(home + "/books.db", BooksDb::Mode::kReadOnly, &db, &error)) Fail(error);
  BooksStatement q;
  if (!db->Prepare("SELECT slot, debit_code, debit_amount, debit_tax, credit_code, credit_amount, "
                   "credit_tax FROM journal_line WHERE data_no = ?1",
                   &q, &error) ||
      !q.BindInt64(1, 1, &error))
    Fail(error);
  long long n = 0, checksum = 0;
  while (q.Next(&error) == BooksStatement::Step::kRow) {
    for (int c = 0; c < 7; ++c) checksum += q.Int64(c);
    ++n;
  }
  const double seconds = Now() - start;
  if (checksum == 42) std::fprintf(stderr, " "); // keeps the reads
  *rows = n;
  return seconds;
}

// A progress window that only notes the longest time between two pulses of
// its second bar (each pulse brings the window to the top).
class PauseClock : public ProgressWindowPort {
 public:
  void BringProgressToTop(HWND) override {
    const double now = Now();
    if (last_ > 0) longest_ = std::max(longest_, now - last_);
    last_ = now;
  }
  double longest() const { return longest_; }

 private:
  double last_ = 0;
  double longest_ = 0;
};

// The whole aggregation as the run makes it: cursor, rows, lines, progress;
// with the general ledger when with_ledger.
double AggregateOnce(const std::string& home, std::size_t* lines_made, bool with_ledger,
                     double* longest_pause) {
  SetHostHome(home);
  ResetHostSubstitute(); // a cold substitute: the books are opened again
  SetHostCallJournal(false); // as the program runs: no one reads the journal
  const double start = Now();
  auto* set = dynamic_cast<ClSetData*>(ClDataMgr::Inst()->GetSetObject(5, 1));
  const StDATAINFO* data = set ? set->GetSelectedInfo() : nullptr;
  if (!data) Fail("no selected data set in " + home);
  MonthConditions conditions;
  if (BuildMonthConditions(&conditions, data, 4, 3).failed()) Fail("the period's months could not be read");
  PauseClock window;
  ProgressDialog progress(0, &window);
  progress.Create();
  progress.ResetMainBar();
  AccountLineList lines;
  LedgerLineList ledger;
  StatementAggregator aggregator;
  aggregator.progressWindow = &progress;
  aggregator.lines = &lines;
  aggregator.ledgerLines = &ledger;
  aggregator.ledgerEnabled = with_ledger ? 1 : 0;
  SubstituteExtras extras;
  aggregator.hostExtras = &extras;
  // As the run does: the journal read once first (its lines checked, the
  // sums and, with the ledger, the lines kept for the host calls), the
  // window pulsing meanwhile.
  extras.SetBusyHook([&progress] { progress.PulseSecondBar(); });
  std::string refusal;
  const bool sound = extras.ReadJournal(std::string(data->dataId, strnlen(data->dataId, sizeof(data->dataId))),
                                        with_ledger, &refusal);
  extras.SetBusyHook(nullptr);
  if (!sound) Fail(refusal);
  if (const RunFailure failure = aggregator.aggregate(0, conditions.entries, data); failure.failed())
    Fail("aggregation failed: kind " + std::to_string(static_cast<int>(failure.kind())) + ", " +
         failure.call() + " " + std::to_string(failure.code()));
  const double seconds = Now() - start;
  *lines_made = lines.size() + ledger.size();
  *longest_pause = std::max(*longest_pause, window.longest());
  return seconds;
}

int RunChild(const std::string& what, const std::string& home, int runs) {
  std::vector<double> times;
  long long rows = 0;
  std::size_t lines = 0;
  double pause = 0;
  for (int i = 0; i < runs; ++i)
    times.push_back(what == "scan" ? ScanOnce(home, &rows)
                                   : AggregateOnce(home, &lines, what == "ledger", &pause));
  std::printf("%.6f %lld %zu %.6f\n", Median(times), rows, lines, pause);
  return 0;
}

struct Measured {
  double median = 0;
  long peak_kib = 0;
  long long rows = 0;
  std::size_t lines = 0;
  double longest_pause = 0; // between two progress pulses, over all runs
};

// Runs this program as a child for one measurement.
Measured Measure(const char* self, const std::string& what, const std::string& home, int runs) {
  int pipe_fds[2];
  if (pipe(pipe_fds) != 0) Fail("pipe");
  const pid_t pid = fork();
  if (pid < 0) Fail("fork");
  if (pid == 0) {
    dup2(pipe_fds[1], 1);
    close(pipe_fds[0]);
    close(pipe_fds[1]);
    const std::string runs_text = std::to_string(runs);
    execl(self, self, "--child", what.c_str(), "--home", home.c_str(), "--runs", runs_text.c_str(),
          static_cast<char*>(nullptr));
    _exit(127);
  }
  close(pipe_fds[1]);
  char buf[256] = {};
  std::size_t got = 0;
  ssize_t n;
  while (got < sizeof(buf) - 1 && (n = read(pipe_fds[0], buf + got, sizeof(buf) - 1 - got)) > 0)
    got += static_cast<std::size_t>(n);
  close(pipe_fds[0]);
  int status = 0;
  rusage usage{};
  if (wait4(pid, &status, 0, &usage) != pid || !WIFEXITED(status) || WEXITSTATUS(status) != 0)
    Fail(what + " measurement failed");
  Measured m;
  m.peak_kib = usage.ru_maxrss;
  if (std::sscanf(buf, "%lf %lld %zu %lf", &m.median, &m.rows, &m.lines, &m.longest_pause) != 4)
    Fail("unreadable measurement: " + std::string(buf));
  return m;
}

} // namespace

constexpr const char* kUsage =
    "usage: stmtlink_bench_aggregate [--accounts 1000] [--lines 1000000] [--runs 5] [--home DIR]\n"
    "Generates books of that size (in DIR when it has none yet, else in a temporary folder)\n"
    "and prints the median time and peak memory of the aggregation beside a bare SQLite scan.\n";

int main(int argc, char** argv) {
  for (int i = 1; i < argc; ++i) {
    if (std::strcmp(argv[i], "--help") == 0 || std::strcmp(argv[i], "-h") == 0) {
      std::fputs(kUsage, stdout);
      return 0;
    }
  }
  std::string home, child;
  unsigned long accounts = 1000, lines = 1000000;
  int runs = 5;
  for (int i = 1; i < argc; ++i) {
    const std::string arg = argv[i];
    const char* value = i + 1 < argc ? argv[i + 1] : nullptr;
    if (!value) Fail("missing value for " + arg);
    if (arg == "--home") home = value;
    else if (arg == "--child") child = value;
    else if (arg == "--accounts") accounts = std::strtoul(value, nullptr, 10);
    else if (arg == "--lines") lines = std::strtoul(value, nullptr, 10);
    else if (arg == "--runs") runs = std::max(1, std::atoi(value));
    else Fail("unknown option " + arg);
    ++i;
  }
  if (!child.empty()) return RunChild(child, home, runs);

  const bool temporary = home.empty();
  if (temporary && (home = bench::MakeTemporaryFolder("stmtlink-bench")).empty()) Fail("mkdtemp");
  std::string error;
  if (!bench::EnsureSampleBooks(home, accounts, lines, &error)) Fail(error);
  const Measured scan = Measure(argv[0], "scan", home, runs);
  const Measured agg = Measure(argv[0], "aggregate", home, runs);
  const Measured ledger = Measure(argv[0], "ledger", home, runs);
  std::printf("journal lines: %lld, account lines made: %zu, runs: %d\n", scan.rows, agg.lines,
              runs);
  std::printf("%-26s %12s %14s\n", "", "median (s)", "peak RSS (MiB)");
  std::printf("%-26s %12.3f %14.1f\n", "bare SQLite scan (floor)", scan.median,
              scan.peak_kib / 1024.0);
  std::printf("%-26s %12.3f %14.1f\n", "aggregation", agg.median, agg.peak_kib / 1024.0);
  std::printf("%-26s %12.3f %14.1f\n", "aggregation with ledger", ledger.median,
              ledger.peak_kib / 1024.0);
  std::printf("ratio aggregation / floor: %.2f (target <= 2)\n", agg.median / scan.median);
  std::printf("ledger rows made: %zu; longest pause between progress pulses: %.3f s "
              "(aggregation %.3f s; target <= 1 s)\n",
              ledger.lines - agg.lines, ledger.longest_pause, agg.longest_pause);
  if (temporary) std::filesystem::remove_all(home);
  return 0;
}

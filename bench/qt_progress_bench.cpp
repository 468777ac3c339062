// The whole run with the Qt windows against the batch run on the same books:
// the standard edition aggregates a year with the general ledger and writes
// the report, once with --ui batch and once with --ui qt --unattended on
// Qt's offscreen platform (dialog, progress window with its coalesced
// repaints, message boxes), interleaved, several times. Prints the median
// wall time of each and their ratio; the target is a ratio of at most 1.10.
//
//   stmtlink_bench_qt_progress [--lines N] [--ledger 0|1] [--runs R] [--smoke]
//
// --smoke: tiny books, one run, no target (what ctest runs).
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <filesystem>
#include <string>
#include <vector>

extern char** environ;

namespace {

constexpr double kTargetRatio = 1.10;

// Runs a program with its output discarded; its exit status, -1 when it did
// not exit normally.
int Spawn(const std::vector<std::string>& args, const std::vector<std::string>& extra_env) {
  std::vector<char*> argv;
  for (const std::string& a : args) argv.push_back(const_cast<char*>(a.c_str()));
  argv.push_back(nullptr);
  std::vector<std::string> env_strings;
  for (char** e = environ; *e != nullptr; ++e) env_strings.emplace_back(*e);
  for (const std::string& e : extra_env) env_strings.push_back(e);
  std::vector<char*> envp;
  for (std::string& e : env_strings) envp.push_back(e.data());
  envp.push_back(nullptr);
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
  posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
  pid_t pid = 0;
  const int failed = posix_spawn(&pid, argv[0], &actions, nullptr, argv.data(), envp.data());
  posix_spawn_file_actions_destroy(&actions);
  if (failed != 0) return -1;
  int status = 0;
  if (waitpid(pid, &status, 0) != pid || !WIFEXITED(status)) return -1;
  return WEXITSTATUS(status);
}

double Median(std::vector<double> values) {
  std::sort(values.begin(), values.end());
  const std::size_t n = values.size();
  return n % 2 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
}

bool ParseInt(const char* text, int low, int* value) {
  char* end = nullptr;
  const long v = std::strtol(text, &end, 10);
  if (end == text || *end != '\0' || v < low || v > 100000000) return false;
  *value = static_cast<int>(v);
  return true;
}

} // namespace

int main(int argc, char** argv) {
  int lines = 3000;
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
      std::fprintf(stderr, "usage: %s [--lines N] [--ledger 0|1] [--runs R] [--smoke]\n", argv[0]);
      return 2;
    }
  }

  const std::string bin = STMTLINK_BIN_DIR;
  char pattern[] = "/tmp/stmtlink-qt-bench-XXXXXX";
  if (mkdtemp(pattern) == nullptr) {
    std::perror("mkdtemp");
    return 2;
  }
  const std::string home = pattern;
  if (Spawn({bin + "/stmtlink-books", "sample", "--home", home, "--lines", std::to_string(lines)}, {}) != 0) {
    std::fprintf(stderr, "cannot create the sample books in %s\n", home.c_str());
    return 2;
  }
  const std::vector<std::string> common = {"--home", home, "--from", "4", "--to", "3", "--ledger",
                                           std::to_string(ledger), "--output", "C:\\out\\report.xml",
                                           "--answer", "yes"};
  auto run = [&](bool qt) {
    std::vector<std::string> args = {bin + "/StmtLinkStd", "--ui", qt ? "qt" : "batch"};
    if (qt) args.push_back("--unattended");
    args.insert(args.end(), common.begin(), common.end());
    const auto start = std::chrono::steady_clock::now();
    const int status = Spawn(args, {"QT_QPA_PLATFORM=offscreen"});
    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    if (status != 0) {
      std::fprintf(stderr, "the %s run ended with status %d\n", qt ? "qt" : "batch", status);
      std::exit(2);
    }
    return seconds;
  };

  std::printf("books: sample, %d journal lines; general ledger %s; %d run(s) each\n", lines,
              ledger ? "on" : "off", runs);
  if (!smoke) {
    run(false); // warm the caches of both
    run(true);
  }
  std::vector<double> batch, qt;
  for (int r = 0; r < runs; ++r) {
    batch.push_back(run(false));
    qt.push_back(run(true));
  }
  std::filesystem::remove_all(home);

  const double batch_median = Median(batch);
  const double qt_median = Median(qt);
  const double ratio = qt_median / batch_median;
  std::printf("batch (--ui batch):              median %.3f s\n", batch_median);
  std::printf("qt (--ui qt --unattended, offscreen): median %.3f s\n", qt_median);
  std::printf("ratio qt / batch: %.3f (target <= %.2f: %s)\n", ratio, kTargetRatio,
              smoke ? "not checked in a smoke run" : ratio <= kTargetRatio ? "met" : "NOT met");
  return smoke || ratio <= kTargetRatio ? 0 : 1;
}

#include "bench/bench_support.h"

#include <fcntl.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>

#include "tools/books/sample_books.h"

namespace stmtlink::bench {

double Now() {
  timespec t{};
  clock_gettime(CLOCK_MONOTONIC, &t);
  return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_nsec) / 1e9;
}

double Median(std::vector<double> values) {
  if (values.empty()) return 0;
  std::sort(values.begin(), values.end());
  const std::size_t n = values.size();
  return n % 2 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
}

std::string MakeTemporaryFolder(const std::string& prefix) {
  std::string pattern = "/tmp/" + prefix + "-XXXXXX";
  return mkdtemp(pattern.data()) ? pattern : std::string();
}

bool EnsureSampleBooks(const std::string& home, unsigned long accounts, unsigned long lines,
                       std::string* error, unsigned balanced_compound_percent) {
  if (std::filesystem::exists(home + "/books.db")) return true;
  SampleOptions options;
  options.home = home;
  options.accounts = static_cast<std::uint32_t>(accounts);
  options.lines = lines;
  options.balanced_compound_percent = balanced_compound_percent;
  const double start = Now();
  if (WriteSampleHome(options, error) != SampleStatus::kWritten) return false;
  std::printf("generated sample books (%lu journal lines or more) in %.1f s\n", lines,
              Now() - start);
  return true;
}

bool RunChild(const std::string& program, const std::vector<std::string>& args, ChildRun* run) {
  std::vector<char*> argv;
  argv.push_back(const_cast<char*>(program.c_str()));
  for (const std::string& arg : args) argv.push_back(const_cast<char*>(arg.c_str()));
  argv.push_back(nullptr);
  const double start = Now();
  const pid_t pid = fork();
  if (pid < 0) return false;
  if (pid == 0) {
    const int null_fd = open("/dev/null", O_WRONLY);
    if (null_fd >= 0) {
      dup2(null_fd, 1);
      dup2(null_fd, 2);
    }
    execv(program.c_str(), argv.data());
    _exit(127);
  }
  int status = 0;
  rusage usage{};
  if (wait4(pid, &status, 0, &usage) != pid) return false;
  run->seconds = Now() - start;
  run->peak_kib = usage.ru_maxrss;
  run->page_faults = usage.ru_minflt + usage.ru_majflt;
  auto seconds = [](const timeval& t) {
    return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_usec) / 1e6;
  };
  run->cpu_seconds = seconds(usage.ru_utime) + seconds(usage.ru_stime);
  run->exit_status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  return WIFEXITED(status);
}

} // namespace stmtlink::bench

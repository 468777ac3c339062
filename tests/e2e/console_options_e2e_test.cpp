// The console front end on a real pseudo-terminal, typed at as a person
// would: the options of the command line fill its form over the remembered
// conditions, and F12 writes the file that was asked for.
#include <gtest/gtest.h>
#include <poll.h>
#include <pty.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>

#include "tests/support/program_runner.h"
#include "tests/support/temp_dir.h"
#include "tests/support/utf8.h"

namespace stmtlink {
namespace {

using testing::BuiltProgram;
using testing::ProgramRun;
using testing::ReadTextFile;
using testing::RunProgram;
using testing::TempDir;
using testing::U8;

struct TerminalRun {
  int exit_status = -1;
  std::string screen; // everything the program wrote to the terminal
};

// Reads what the terminal shows for up to `ms`; false when the program
// closed it.
bool ReadScreen(int fd, int ms, std::string* screen) {
  pollfd p{fd, POLLIN, 0};
  while (::poll(&p, 1, ms) > 0) {
    char buffer[4096];
    const ssize_t n = ::read(fd, buffer, sizeof(buffer));
    if (n <= 0) return false;
    screen->append(buffer, static_cast<std::size_t>(n));
    ms = 50;
  }
  return true;
}

// Runs the program on a pseudo-terminal: waits for `ready` on the screen,
// types `keys`, then answers every later prompt with Enter until the
// program ends (bounded at 60 seconds).
TerminalRun RunOnTerminal(const std::vector<std::string>& args, const std::string& ready,
                          const std::string& keys) {
  TerminalRun run;
  int fd = -1;
  winsize size{40, 120, 0, 0};
  const pid_t pid = ::forkpty(&fd, nullptr, nullptr, &size);
  if (pid == 0) {
    std::vector<char*> argv;
    for (const std::string& a : args) argv.push_back(const_cast<char*>(a.c_str()));
    argv.push_back(nullptr);
    ::unsetenv("DISPLAY");
    ::unsetenv("WAYLAND_DISPLAY");
    ::execv(argv[0], argv.data());
    ::_exit(127);
  }
  if (pid < 0) return run;
  // <chrono> cannot be compiled with this project's Shift_JIS literals;
  // the polls bound the time instead (at least 200 ms each).
  bool typed = false;
  bool open = true;
  for (int round = 0; open && round < 300; ++round) {
    open = ReadScreen(fd, 200, &run.screen);
    if (!open) break;
    if (!typed && run.screen.find(ready) != std::string::npos) {
      typed = ::write(fd, keys.data(), keys.size()) == static_cast<ssize_t>(keys.size());
    } else if (typed) {
      open = ::write(fd, "\r", 1) == 1; // Enter for a message box
    }
  }
  if (open) ::kill(pid, SIGKILL);
  int status = 0;
  ::waitpid(pid, &status, 0);
  ::close(fd);
  if (WIFEXITED(status)) run.exit_status = WEXITSTATUS(status);
  return run;
}

TEST(ConsoleOptionsE2eTest, F12WritesTheFileAskedForWithTheMonthsAndOptionsAskedFor) {
  // A year of entries, so that the months and the ledger show in the report.
  TempDir home;
  ProgramRun sample = RunProgram(BuiltProgram("stmtlink-books"), {"sample", "--home", home.path(), "--entries", "60"});
  ASSERT_EQ(0, sample.exit_status) << sample.err;
  const std::string program = BuiltProgram("StmtLinkStd");
  auto batch = [&](std::vector<std::string> args) {
    args.insert(args.begin(), {"--ui", "batch", "--home", home.path()});
    return RunProgram(program, args);
  };
  const std::vector<std::string> asked = {"--from", "5", "--to", "3", "--ledger", "0"};
  std::vector<std::string> batch_args = asked;
  batch_args.insert(batch_args.end(), {"--output", "C:\\batch.xml"});
  ProgramRun by_batch = batch(batch_args);
  ASSERT_EQ(0, by_batch.exit_status) << by_batch.err;
  // The remembered conditions: other months, the ledger, another file.
  ProgramRun earlier = batch({"--from", "4", "--to", "2", "--ledger", "1", "--output", "C:\\remembered.xml"});
  ASSERT_EQ(0, earlier.exit_status) << earlier.err;
  const std::string remembered = ReadTextFile(home.File("drive_c/remembered.xml"));

  std::vector<std::string> args = {program, "--ui", "console", "--home", home.path()};
  args.insert(args.end(), asked.begin(), asked.end());
  args.insert(args.end(), {"--output", "C:\\tty.xml"});
  TerminalRun run = RunOnTerminal(args, U8(u8"番号"), "\x1b[24~");
  EXPECT_EQ(0, run.exit_status) << run.screen;
  EXPECT_NE(std::string::npos, run.screen.find("C:\\tty.xml")) << run.screen;
  // The values stand in the form, and the first focus where it was.
  EXPECT_NE(std::string::npos, run.screen.find(U8(u8">1[5] 月度(S) ～ 2[3]"))) << run.screen;
  const std::string asked_report = ReadTextFile(home.File("drive_c/batch.xml"));
  ASSERT_FALSE(asked_report.empty());
  EXPECT_EQ(ReadTextFile(home.File("drive_c/tty.xml")), asked_report);
  EXPECT_EQ(ReadTextFile(home.File("drive_c/remembered.xml")), remembered);
}

} // namespace
} // namespace stmtlink

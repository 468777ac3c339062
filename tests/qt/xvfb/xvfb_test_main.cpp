// The Qt tests on a real X server: a private Xvfb on a free display (it
// picks one and tells it through a pipe), and one application object on
// Qt's xcb platform for the whole program. Without Xvfb every test says so
// and is skipped; an Xvfb that does not start fails them.
#include <gtest/gtest.h>
#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QApplication>

#include <cstdlib>
#include <memory>
#include <sstream>

#include "tests/qt/xvfb/xvfb_display.h"
#include "ui/qt_support/qt_start_environment.h"

namespace stmtlink::testing {

XvfbState& Xvfb() {
  static XvfbState state;
  return state;
}

namespace {

std::string FindXvfb() {
  const char* path = std::getenv("PATH");
  std::istringstream folders(path != nullptr ? path : "/usr/bin:/bin");
  for (std::string folder; std::getline(folders, folder, ':');) {
    const std::string candidate = (folder.empty() ? "." : folder) + "/Xvfb";
    if (access(candidate.c_str(), X_OK) == 0) return candidate;
  }
  return std::string();
}

} // namespace

pid_t StartXvfb(const std::string& program, bool reset_when_idle, std::string* display, std::string* error) {
  int fds[2];
  if (pipe(fds) != 0) {
    *error = "no pipe for Xvfb";
    return -1;
  }
  const pid_t pid = fork();
  if (pid == 0) {
    close(fds[0]);
    const std::string fd = std::to_string(fds[1]);
    execl(program.c_str(), "Xvfb", "-displayfd", fd.c_str(), "-screen", "0", "1024x768x24", "-nolisten",
          "tcp", reset_when_idle ? static_cast<char*>(nullptr) : "-noreset", static_cast<char*>(nullptr));
    _exit(127);
  }
  close(fds[1]);
  // Xvfb writes the display number and a line feed once it takes clients.
  std::string number;
  pollfd waiting{fds[0], POLLIN, 0};
  char c = 0;
  while (pid > 0 && poll(&waiting, 1, 10000) == 1 && read(fds[0], &c, 1) == 1 && c != '\n') number.push_back(c);
  close(fds[0]);
  if (number.empty() || c != '\n') {
    *error = program + " did not report a display within 10 s";
    if (pid > 0) StopXvfb(pid);
    return -1;
  }
  *display = ":" + number;
  return pid;
}

void StopXvfb(pid_t server) {
  kill(server, SIGTERM);
  waitpid(server, nullptr, 0);
}

} // namespace stmtlink::testing

// Under LeakSanitizer: Qt's xcb platform asks libdbus for a session bus,
// which is not there, and libdbus keeps one buffer of that attempt for good.
extern "C" const char* __lsan_default_suppressions() { return "leak:libdbus-1.so\n"; }

int main(int argc, char** argv) {
  ::testing::InitGoogleTest(&argc, argv);
  if (::testing::GTEST_FLAG(list_tests)) return RUN_ALL_TESTS();

  stmtlink::testing::XvfbState& state = stmtlink::testing::Xvfb();
  state.program = stmtlink::testing::FindXvfb();
  std::string display;
  pid_t server = -1;
  std::unique_ptr<QApplication> app;
  state.missing = state.program.empty();
  if (!state.missing && (server = stmtlink::testing::StartXvfb(state.program, false, &display, &state.error)) > 0) {
    setenv("DISPLAY", display.c_str(), 1);
    setenv("QT_QPA_PLATFORM", "xcb", 1);
    unsetenv("WAYLAND_DISPLAY");
    // Under the C locale, started as the program starts Qt.
    setenv("LC_ALL", "C", 1);
    stmtlink::QtStartEnvironment start;
    start.BeforeQtStarts();
    app = std::make_unique<QApplication>(argc, argv);
    start.AfterQtStarted();
    state.running = true;
  }
  const int result = RUN_ALL_TESTS();
  app.reset();
  if (server > 0) stmtlink::testing::StopXvfb(server);
  return result;
}

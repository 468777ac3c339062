// What the tests of this program know about their X server (see
// xvfb_test_main.cpp). XVFB_OR_SKIP() opens every test: it skips, saying
// why, when Xvfb is not installed, and fails when it did not start.
#pragma once

#include <gtest/gtest.h>

#include <sys/types.h>

#include <string>

namespace stmtlink::testing {

struct XvfbState {
  std::string program;  // the Xvfb found on PATH
  bool missing = false; // no Xvfb on PATH
  bool running = false;
  std::string error;    // why it did not start
};
XvfbState& Xvfb();

// Another server (the tests' own does not reset): its process, and its
// display (":N") in *display; -1 with the reason in *error when it does not
// come up within 10 s. reset_when_idle: the server resets whenever its
// last client leaves, as Xvfb and a bare xinit do by default.
pid_t StartXvfb(const std::string& program, bool reset_when_idle, std::string* display, std::string* error);
void StopXvfb(pid_t server);

} // namespace stmtlink::testing

#define XVFB_OR_SKIP()                                                                           \
  do {                                                                                           \
    if (::stmtlink::testing::Xvfb().missing)                                                     \
      GTEST_SKIP() << "Xvfb is not installed (Debian package xvfb): the windows were not tried " \
                      "on a real X server";                                                      \
    ASSERT_TRUE(::stmtlink::testing::Xvfb().running) << ::stmtlink::testing::Xvfb().error;      \
  } while (0)

// What the tests of this program know about their X server (see
// xvfb_test_main.cpp). XVFB_OR_SKIP() opens every test: it skips, saying
// why, when Xvfb is not installed, and fails when it did not start.
#pragma once

#include <gtest/gtest.h>

#include <string>

namespace stmtlink::testing {

struct XvfbState {
  bool missing = false; // no Xvfb on PATH
  bool running = false;
  std::string error;    // why it did not start
};
XvfbState& Xvfb();

} // namespace stmtlink::testing

#define XVFB_OR_SKIP()                                                                           \
  do {                                                                                           \
    if (::stmtlink::testing::Xvfb().missing)                                                     \
      GTEST_SKIP() << "Xvfb is not installed (Debian package xvfb): the windows were not tried " \
                      "on a real X server";                                                      \
    ASSERT_TRUE(::stmtlink::testing::Xvfb().running) << ::stmtlink::testing::Xvfb().error;      \
  } while (0)

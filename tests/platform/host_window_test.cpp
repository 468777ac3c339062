#include "platform/host_window.h"

#include <gtest/gtest.h>

#include <string>

#include "platform/env.h"
#include "tests/support/fault_injection_env.h"
#include "tests/support/scratch_home.h"

namespace stmtlink {
namespace {

std::string ReadLog(const ScratchHome& home) {
  std::string log;
  Env::Real()->ReadFile(home.Path("host-window.log"), &log);
  return log;
}

TEST(HostWindowTest, AppendsOneLinePerOperation) {
  ScratchHome home;
  home.WriteFile("host-window.log", "earlier\n"); // kept: the log only grows
  EXPECT_EQ(FALSE, EnableWindow(4660, FALSE));
  EXPECT_EQ(TRUE, SetForegroundWindow(4660));
  EXPECT_EQ(TRUE, EnableWindow(4660, TRUE)); // it was disabled
  EXPECT_EQ(TRUE, PostMessage(4660, 1025, 7, 2));
  EXPECT_EQ(FALSE, EnableWindow(4660, TRUE));
  // A negative function number arrives sign-extended to 32 bits, the
  // outcome is a signed lParam.
  EXPECT_EQ(TRUE, PostMessage(4660, 1025, 0xFFFFFFFFu, -1));
  EXPECT_EQ("earlier\n"
            "EnableWindow 4660 FALSE\n"
            "SetForegroundWindow 4660\n"
            "EnableWindow 4660 TRUE\n"
            "PostMessage 4660 msg=1025 wParam=7 lParam=2\n"
            "EnableWindow 4660 TRUE\n"
            "PostMessage 4660 msg=1025 wParam=4294967295 lParam=-1\n",
            ReadLog(home));
}

TEST(HostWindowTest, AFailedWriteIsReported) {
  ScratchHome home;
  FaultInjectionEnv env;
  ScopedEnv use(&env);
  env.SetDiskSpace(10); // not enough for the line
  EXPECT_EQ(FALSE, PostMessage(1, 1025, 0, 0));
  env.Clear();
  env.Fail(FaultInjectionEnv::Op::kNewWritableFile);
  EXPECT_EQ(FALSE, SetForegroundWindow(1));
  env.Clear();
  EXPECT_EQ(TRUE, SetForegroundWindow(1));
  EXPECT_EQ("PostMessag" "SetForegroundWindow 1\n", ReadLog(home));
}

} // namespace
} // namespace stmtlink

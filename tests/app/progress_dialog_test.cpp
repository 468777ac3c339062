// The progress window's logic, observed through a recording port.
#include "app/progress_dialog.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/support/recording_progress_window.h"

namespace stmtlink {
namespace {

using testing::RecordingProgressWindow;

// The calls of one PulseSecondBar.
std::vector<std::string> Pulse() {
  std::vector<std::string> calls = {"Range(1017,0,5)", "Step(1017,1)", "Pos(1017,0)"};
  for (int i = 0; i < 6; ++i)
    calls.insert(calls.end(), {"Delta(1017,1)", "Top", "Foreground", "Update"});
  return calls;
}

class ProgressDialogTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(dialog.Create());
    port.calls.clear();
  }
  RecordingProgressWindow port;
  ProgressDialog dialog{0, &port};
};

TEST_F(ProgressDialogTest, ResetAndPulseMakeTheExactCalls) {
  dialog.ResetMainBar();
  EXPECT_EQ((std::vector<std::string>{"Range(1016,0,10000)", "Step(1016,1)", "Pos(1016,0)"}),
            port.calls);
  port.calls.clear();
  dialog.PulseSecondBar();
  EXPECT_EQ(Pulse(), port.calls);
  EXPECT_EQ(5, dialog.SecondBar().pos); // six steps, the bar stops full at 5
}

TEST_F(ProgressDialogTest, OneUnitOnAHundredIsCaptionStepPulseRepaint) {
  dialog.ResetMainBar();
  port.calls.clear();
  dialog.AdvanceMainBar(100, 100);
  std::vector<std::string> expected = {"Caption(集計中 1％)", "Delta(1016,1)"};
  for (const std::string& call : Pulse()) expected.push_back(call);
  expected.push_back("Update");
  EXPECT_EQ(expected, port.calls);
}

TEST_F(ProgressDialogTest, ZeroToThousandCaptionsEveryPercentAndMovesThousandAndOne) {
  dialog.ResetMainBar();
  dialog.AdvanceMainBar(0, 1000);
  // Every multiple of 100 sets the caption: 0 % to 10 %.
  std::vector<std::string> expected;
  for (int percent = 0; percent <= 10; ++percent)
    expected.push_back("集計中 " + std::to_string(percent) + "％");
  EXPECT_EQ(expected, port.captions);
  EXPECT_EQ(1001, dialog.MainBar().pos);
  EXPECT_EQ(1001, port.Count("Delta(1016,1)"));
  EXPECT_EQ(1001, port.Count("Range(1017,0,5)")); // one pulse a unit
  EXPECT_EQ(1001 * 6, port.Count("Foreground"));
}

TEST_F(ProgressDialogTest, SharedEndPointsAreSteppedTwice) {
  dialog.ResetMainBar();
  dialog.AdvanceMainBar(400, 500);
  dialog.AdvanceMainBar(500, 1500);
  std::vector<std::string> expected = {"集計中 4％", "集計中 5％"};
  for (int percent = 5; percent <= 15; ++percent)
    expected.push_back("集計中 " + std::to_string(percent) + "％");
  EXPECT_EQ(expected, port.captions);
  EXPECT_EQ(101 + 1001, dialog.MainBar().pos);
}

TEST_F(ProgressDialogTest, BackwardRangeDoesNothing) {
  dialog.ResetMainBar();
  port.calls.clear();
  dialog.AdvanceMainBar(5, 3);
  EXPECT_TRUE(port.calls.empty());
  EXPECT_EQ(0, dialog.MainBar().pos);
}

TEST_F(ProgressDialogTest, BarStaysFullPastTheEndWhileTheCaptionGoesOn) {
  dialog.ResetMainBar();
  dialog.AdvanceMainBar(0, 9990);
  dialog.AdvanceMainBar(9990, 10100);
  EXPECT_EQ(10000, dialog.MainBar().pos);
  EXPECT_EQ("集計中 101％", port.captions.back());
}

TEST_F(ProgressDialogTest, TheLastSixteenBitPositionEndsTheLoop) {
  dialog.ResetMainBar();
  dialog.AdvanceMainBar(32766, 32767);
  EXPECT_EQ(2, dialog.MainBar().pos);
}

TEST(ProgressDialogLifecycle, CreateParentShowCloseDestroy) {
  RecordingProgressWindow port;
  {
    ProgressDialog dialog(0, &port);
    ASSERT_TRUE(dialog.Create());
    EXPECT_EQ(port.window, dialog.GetSafeHwnd());
    dialog.SetParent(4660);
    dialog.ShowWindow(true);
    dialog.EndDialog(1);
    EXPECT_EQ(1, dialog.Result());
  }
  EXPECT_EQ((std::vector<std::string>{"Create", "Parent(4660)", "Show(1)", "Show(0)", "Destroy"}),
            port.calls);
}

TEST(ProgressDialogLifecycle, WithoutAWindowNothingIsDrawnButTheStateIsKept) {
  RecordingProgressWindow port;
  port.fail_create = true;
  ProgressDialog dialog(0, &port);
  EXPECT_FALSE(dialog.Create());
  dialog.ResetMainBar();
  dialog.AdvanceMainBar(0, 10);
  EXPECT_EQ((std::vector<std::string>{"Create"}), port.calls);
  EXPECT_EQ(11, dialog.MainBar().pos);
}

TEST(ProgressDialogLifecycle, TheDefaultPortDrawsNothingYetGivesAWindow) {
  ProgressWindowPort batch;
  ProgressDialog first(0, &batch), second(0, &batch);
  ASSERT_TRUE(first.Create());
  ASSERT_TRUE(second.Create());
  EXPECT_NE(0u, first.GetSafeHwnd());
  EXPECT_NE(first.GetSafeHwnd(), second.GetSafeHwnd());
}

} // namespace
} // namespace stmtlink

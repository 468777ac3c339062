// The run's failure: the sentence the messages are made of, and the first
// failure kept over its aftermath.
#include "AccUty/run_failure.h"

#include <gtest/gtest.h>

namespace stmtlink {
namespace {

TEST(RunFailureTest, TheSentenceNamesWhatTheCallAndItsCode) {
  EXPECT_EQ("総勘定元帳を読み込めませんでした（ClRuleMotocho::MoveNext がエラーコード 9001 を返しました）。",
            RunFailure::HostRead("ClRuleMotocho::MoveNext", 9001, "総勘定元帳").Text());
  // A call that hands out an object and handed out none has no code.
  EXPECT_EQ("会計期間を読み込めませんでした（ClSetData::GetAccPeriod が何も返しませんでした）。",
            RunFailure::HostRead("ClSetData::GetAccPeriod", 0, "会計期間").Text());
  EXPECT_EQ("注記を読み込めませんでした（ClSaveKessansho::GetDataType02 がエラーコード -7 を返しました）。",
            RunFailure::HostRead("ClSaveKessansho::GetDataType02", -7, "注記").Text());
  // Failures that name no host call add nothing to the step's message.
  for (RunFailure::Kind kind :
       {RunFailure::Kind::kOverflow, RunFailure::Kind::kNoMemory, RunFailure::Kind::kNoInput}) {
    const RunFailure failure = RunFailure::Of(kind);
    EXPECT_TRUE(failure.failed());
    EXPECT_EQ("", failure.Text());
  }
  EXPECT_TRUE(RunFailure().ok());
  EXPECT_EQ("", RunFailure().Text());
}

TEST(RunFailureTest, TheFirstFailureStays) {
  RunFailure run;
  EXPECT_FALSE(run.Note(RunFailure()));
  EXPECT_TRUE(run.ok());
  EXPECT_TRUE(run.Note(RunFailure::HostRead("ClSetKamoku::GetCursor", 55, "勘定科目")));
  // Later failures are the aftermath: reported to their step, not kept.
  EXPECT_TRUE(run.Note(RunFailure::Of(RunFailure::Kind::kOverflow)));
  EXPECT_FALSE(run.Note(RunFailure()));
  EXPECT_TRUE(HostReadOk(0, "ClSetKamoku::WalkFind", "勘定科目", &run));
  EXPECT_FALSE(HostReadOk(56, "ClSetKamoku::WalkFind", "勘定科目", &run));
  int* none = nullptr;
  EXPECT_FALSE(HostObjectOk(none, "ClDataMgr::GetSetObject", "勘定科目", &run));
  EXPECT_EQ(RunFailure::Kind::kHostRead, run.kind());
  EXPECT_EQ("ClSetKamoku::GetCursor", run.call());
  EXPECT_EQ(55, run.code());
  EXPECT_EQ("勘定科目", run.what());
}

} // namespace
} // namespace stmtlink

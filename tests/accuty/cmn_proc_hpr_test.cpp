// Era dates over the real era table, kept in books built by the test.
#include <gtest/gtest.h>

#include <cstring>

#include "AccUty/CmnProcHpr.h"
#include "host/msg_mgr.h"
#include "host/substitute/substitute_control.h"
#include "platform/host_home.h"
#include "tests/support/books_builder.h"
#include "tests/support/recording_front_end.h"
#include "tests/support/temp_dir.h"
#include "tests/support/utf8.h"

namespace stmtlink {
namespace {

class CmnProcHprTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(books_.ok());
    // The books hold UTF-8.
    ASSERT_TRUE(books_.Exec(testing::U8(
        u8"INSERT INTO era VALUES (18681023, '明治', 'M'), (19120730, '大正', 'T'),"
        u8" (19261225, '昭和', 'S'), (19890108, '平成', 'H'), (20190501, '令和', 'R')")));
    SetHostHome(home_.path());
    ResetHostSubstitute();
  }
  void TearDown() override { ResetHostSubstitute(); }

  testing::TempDir home_;
  testing::BooksBuilder books_{home_.path()};
  testing::RecordingFrontEnd front_end_;
};

TEST_F(CmnProcHprTest, EraBoundariesAndTheFirstYear) {
  CmnProcHpr helper;
  EXPECT_EQ("平成31年4月30日", helper.FormatDate(20190430, 0, 0));
  EXPECT_EQ("令和1年5月1日", helper.FormatDate(20190501, 0, 0));
  EXPECT_EQ("令和元年5月1日", helper.FormatDate(20190501, 5, 0));
  EXPECT_EQ("令和2年5月1日", helper.FormatDate(20200501, 5, 0));
  EXPECT_EQ("昭和64年1月7日", helper.FormatDate(19890107, 0, 0));
  EXPECT_EQ("平成元年1月8日", helper.FormatDate(19890108, 5, 1));
  EXPECT_EQ("明治1年10月23日", helper.FormatDate(18681023, 0, 0));
  // After the last era's first day: the last era, whatever the year.
  EXPECT_EQ("令和81年12月31日", helper.FormatDate(20991231, 0, 0));
}

TEST_F(CmnProcHprTest, FindEraGivesTheRowAndTheYear) {
  CmnProcHpr helper;
  StGENGOINFO era;
  std::int32_t year = 0;
  ASSERT_EQ(0, helper.FindEra(20200401, &era, &year));
  EXPECT_EQ(20190501, era.firstDay);
  EXPECT_STREQ("令和", era.name);
  EXPECT_STREQ("R", era.abbreviation);
  EXPECT_EQ(2, year);
  EXPECT_EQ(-1, helper.FindEra(18681022, &era, &year));
  EXPECT_EQ(0, era.firstDay); // zeroed
  EXPECT_EQ(-1, helper.FindEra(100000101, &era, nullptr)); // above 99991231
}

TEST_F(CmnProcHprTest, TheSixFormats) {
  CmnProcHpr helper;
  EXPECT_EQ("R.2/4/1", helper.FormatDate(20200401, 1, 0));
  EXPECT_EQ("R.02/04/01", helper.FormatDate(20200401, 1, 1));
  EXPECT_EQ("2020/4/1", helper.FormatDate(20200401, 2, 0));
  EXPECT_EQ("2020/04/01", helper.FormatDate(20200401, 2, 1));
  EXPECT_EQ("2020/4/1", helper.FormatDate(20200401, 3, 0));
  EXPECT_EQ("2020/04/01", helper.FormatDate(20200401, 3, 1));
  EXPECT_EQ("2020年4月1日", helper.FormatDate(20200401, 4, 0));
  EXPECT_EQ("", helper.FormatDate(20200401, 6, 0));
  EXPECT_EQ("", helper.FormatDate(20200401, -1, 0));
  // A date before the first era has no era text, but its plain forms.
  EXPECT_EQ("", helper.FormatDate(18000101, 0, 0));
  EXPECT_EQ("1800/1/1", helper.FormatDate(18000101, 2, 0));
  EXPECT_TRUE(front_end_.messages.empty());
}

TEST_F(CmnProcHprTest, EmptyEraTableFindsNothingQuietly) {
  ASSERT_TRUE(books_.Exec("DELETE FROM era"));
  ResetHostSubstitute();
  CmnProcHpr helper;
  EXPECT_EQ("", helper.FormatDate(20200401, 0, 0));
  EXPECT_TRUE(front_end_.messages.empty());
  EXPECT_TRUE(helper.ReadFailure().ok()); // no era is no failure
}

TEST_F(CmnProcHprTest, HostErrorsAreReportedAndRecordedWithTheirPlace) {
  struct Case {
    const char* call;
    int line;
  } cases[] = {{"ClSetGengo::GetCursor", 310}, {"ClSetGengo::Ready", 317}, {"ClSetGengo::Walk", 337}};
  for (const Case& c : cases) {
    ResetHostSubstitute();
    InjectHostFailure(c.call, 9001);
    front_end_.messages.clear();
    {
      CmnProcHpr helper;
      EXPECT_EQ("", helper.FormatDate(20200401, 0, 0)) << c.call;
      EXPECT_EQ(9001, ClMsgMgr::Inst()->LastErrorCode()) << c.call;
      EXPECT_EQ(c.line, ClMsgMgr::Inst()->LastErrorLine()) << c.call;
      EXPECT_STREQ("AccUty\\CmnProcHpr.cpp", ClMsgMgr::Inst()->LastErrorSource());
      // One failure, one message: the run's, which names the call; the
      // host's own box is not shown besides.
      EXPECT_TRUE(front_end_.messages.empty()) << c.call;
      EXPECT_EQ(std::string("元号を読み込めませんでした（") + c.call + " がエラーコード 9001 を返しました）。",
                helper.ReadFailure().Text());
    }
    // The helper's end clears the pending error.
    EXPECT_EQ(0, ClMsgMgr::Inst()->LastErrorCode());
  }
  // The message manager itself failing on the end of the eras' rows is
  // named, not the rows' end (5000, a normal answer).
  // The eighth judgement is the one of the end of the rows (after the
  // cursor, Ready and the five eras); the first judges GetCursor's 0.
  for (const char* check : {"ClMsgMgr::CheckFatalErrorWithMsg#8", "ClMsgMgr::CheckFatalErrorWithMsg#1"}) {
    ASSERT_TRUE(testing::WriteTextFile(home_.File("host.ini"), std::string("[Faults]\n") + check + "=9002\n"));
    ResetHostSubstitute();
    ClearHostFailures(); // counts the calls afresh
    CmnProcHpr helper;
    EXPECT_EQ("", helper.FormatDate(20200401, 0, 0));
    EXPECT_EQ("ClMsgMgr::CheckFatalErrorWithMsg", helper.ReadFailure().call()) << check;
    EXPECT_EQ(9002, helper.ReadFailure().code()) << check;
  }
}

} // namespace
} // namespace stmtlink

// Injected failures: from tests and from host.ini [Faults].
#include <gtest/gtest.h>

#include <algorithm>

#include "host/acc_connect.h"
#include "host/data_mgr.h"
#include "host/file_mgr.h"
#include "host/set_data.h"
#include "host/set_shohizei.h"
#include "host/substitute/substitute_control.h"
#include "tests/host/host_test_home.h"

namespace {

using stmtlink::testing::TestHome;

TEST(HostFailures, InjectedCodesAreReturnedInsteadOfTheAnswer) {
  TestHome home;
  home.WriteBooks(u8"INSERT INTO data_set (data_no, data_id, company_name, period_start, "
                  u8"period_end) VALUES (1, 'D1', 'A', 20250401, 20260331);");
  stmtlink::InjectHostFailure("ClAccConnect::ExpSysLink", 2);
  stmtlink::InjectHostFailure("ClSetData::WalkDat", 42);
  stmtlink::InjectHostFailure("ClSetShohizei::SetCurDataID", 43);
  EXPECT_EQ(0, ClAccConnect::Inst()->Initiate());
  EXPECT_EQ(2, ClAccConnect::Inst()->ExpSysLink());

  auto* data = static_cast<ClSetData*>(ClDataMgr::Inst()->GetSetObject(5, 1));
  long cursor = 0;
  ASSERT_EQ(0, data->GetDatCursor(&cursor));
  ASSERT_EQ(0, data->ReadyDat(cursor, 0));
  StDATAINFO record;
  EXPECT_EQ(42, data->WalkDat(cursor, &record));
  // A failure is named by the object's class: the data list's own
  // SetCurDataID is not touched.
  auto* tax = static_cast<ClSetShohizei*>(ClDataMgr::Inst()->GetSetObject(4, 1));
  EXPECT_EQ(43, tax->SetCurDataID("D1"));
  EXPECT_EQ(0, data->SetCurDataID("D1"));

  // Code 0 withdraws one; the walk goes on where it was.
  stmtlink::InjectHostFailure("ClSetData::WalkDat", 0);
  EXPECT_EQ(0, data->WalkDat(cursor, &record));
  EXPECT_EQ(1, record.dataNo);
  EXPECT_EQ(0, data->ReleaseDatCursor(cursor));
  // The failed calls are in the journal too.
  const auto& calls = stmtlink::HostCalls();
  EXPECT_NE(calls.end(), std::find(calls.begin(), calls.end(), "ClSetShohizei::SetCurDataID(D1)"));
}

TEST(HostFailures, HostIniFaultsApplyAndTestsComeFirst) {
  TestHome home;
  home.WriteHostIni(u8"[Faults]\nClAccConnect::Initiate=11\nClDataMgr::GetSetObject=12\n"
                    u8"ClFileMgr::GetAppFolderPath=13\n"
                    u8"CLRULEKAMOKU::GETSUMCOUNT=14\nClSetData::WalkDat=7x\n"
                    u8"ClRuleKamoku::GetSumCount=15\n"
                    u8"[Folders]\nAppFolder0=C:\\Export\n");
  EXPECT_EQ(11, ClAccConnect::Inst()->Initiate());
  EXPECT_EQ(12, stmtlink::HostFailureFor("ClDataMgr::GetSetObject"));
  // Names in any case, the first of a name wins, a value that is not a
  // whole number is none.
  EXPECT_EQ(14, stmtlink::HostFailureFor("ClRuleKamoku::GetSumCount"));
  EXPECT_EQ(0, stmtlink::HostFailureFor("ClSetData::WalkDat"));
  // Calls that hand out a pointer or a text give null or empty.
  EXPECT_EQ(nullptr, ClDataMgr::Inst()->GetSetObject(5, 1));
  EXPECT_EQ("", ClFileMgr::Inst()->GetAppFolderPath(0));

  stmtlink::InjectHostFailure("ClAccConnect::Initiate", 21);
  EXPECT_EQ(21, ClAccConnect::Inst()->Initiate());
  stmtlink::ClearHostFailures();
  EXPECT_EQ(11, ClAccConnect::Inst()->Initiate());
}

TEST(HostFailures, ResetForgetsInjectedFailuresAndReadsHostIniAgain) {
  TestHome home;
  home.WriteHostIni(u8"[Link]\nInitiate=5\n");
  stmtlink::InjectHostFailure("ClAccConnect::ExpSysLink", 9);
  EXPECT_EQ(5, ClAccConnect::Inst()->Initiate());
  home.WriteHostIni(u8"[Link]\nInitiate=6\n");
  EXPECT_EQ(5, ClAccConnect::Inst()->Initiate()); // read once, kept
  stmtlink::ResetHostSubstitute();
  EXPECT_EQ(6, ClAccConnect::Inst()->Initiate());
  EXPECT_EQ(0, ClAccConnect::Inst()->ExpSysLink());
  EXPECT_EQ(2u, stmtlink::HostCalls().size()); // the journal started again
}

TEST(HostFailures, ANewHostHomeIsReadWithoutAReset) {
  TestHome first;
  first.WriteHostIni(u8"[Link]\nInitiate=5\n");
  EXPECT_EQ(5, ClAccConnect::Inst()->Initiate());
  TestHome second; // makes itself current
  EXPECT_EQ(0, ClAccConnect::Inst()->Initiate());
}

TEST(HostFailures, QuietCallsListenAgainAfterEveryChangeOfTheHooks) {
  TestHome first;
  stmtlink::SetHostCallJournal(false);
  EXPECT_EQ(0, ClAccConnect::Inst()->Initiate());
  EXPECT_TRUE(stmtlink::HostCallsQuiet()); // nothing to record, nothing to fail
  stmtlink::InjectHostFailure("ClAccConnect::Initiate", 3);
  EXPECT_EQ(3, ClAccConnect::Inst()->Initiate());
  stmtlink::ClearHostFailures();
  EXPECT_EQ(0, ClAccConnect::Inst()->Initiate());
  {
    TestHome second; // a new home whose host.ini names a fault
    second.WriteHostIni(u8"[Faults]\nClAccConnect::Initiate=4\n");
    EXPECT_EQ(4, ClAccConnect::Inst()->Initiate());
  }
  stmtlink::SetHostCallJournal(true);
  EXPECT_FALSE(stmtlink::HostCallsQuiet());
  EXPECT_EQ(0, ClAccConnect::Inst()->Initiate());
  EXPECT_EQ(1u, stmtlink::HostCalls().size());
}

} // namespace

// The data list: its cursor, the selected data set and the cut of long
// company names.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "host/data_mgr.h"
#include "host/host_errors.h"
#include "host/set_data.h"
#include "host/substitute/substitute_home.h"
#include "host/sys_user.h"
#include "tests/host/host_test_home.h"

namespace {

using stmtlink::testing::TestHome;

ClSetData* DataList() { return static_cast<ClSetData*>(ClDataMgr::Inst()->GetSetObject(5, 1)); }

// Inserted out of order: the cursor must sort by data_no.
constexpr char8_t kTwoDataSets[] =
    u8"INSERT INTO data_set VALUES "
    u8"(2, 'D0000002', '有限会社　第二', 20240101, 20241231, 0, 1, 99, 0, 1),"
    u8"(1, 'D0000001', '株式会社　第一', 20250401, 20260331, 0, 0, 0, 1, 0);";

constexpr char8_t kSecondSelected[] =
    u8"[User]\nCurrentUserID=USER01\nSelectedNo1=0\nSelectedNo2=2\n";

TEST(HostSetData, CursorWalksTheDataSetsInNumberOrderThenStaysAtTheEnd) {
  TestHome home;
  home.WriteBooks(kTwoDataSets);
  ClSetData* data = DataList();
  ASSERT_NE(nullptr, data);
  long cursor = 0;
  ASSERT_EQ(0, data->GetDatCursor(&cursor));
  ASSERT_EQ(0, data->ReadyDat(cursor, 0));
  StDATAINFO record;
  std::vector<int> numbers;
  long rc;
  while ((rc = data->WalkDat(cursor, &record)) == 0) numbers.push_back(record.dataNo);
  EXPECT_EQ(stmtlink::kHostEndOfRows, rc);
  EXPECT_EQ((std::vector<int>{1, 2}), numbers);
  // Past the end the cursor does not start over.
  EXPECT_EQ(stmtlink::kHostEndOfRows, data->WalkDat(cursor, &record));
  EXPECT_EQ(0, record.dataNo);
  EXPECT_EQ(0, data->ReleaseDatCursor(cursor));
  EXPECT_EQ(stmtlink::kHostErrorArgument, data->WalkDat(cursor, &record));
}

TEST(HostSetData, SelectionOfTheSecondDataSetFindsIt) {
  TestHome home;
  home.WriteBooks(kTwoDataSets);
  home.WriteHostIni(kSecondSelected);

  // The way the program finds its record: the user's second selection
  // number against each record's number.
  ClSysUser* user = ClDataMgr::Inst()->GetSysUserObject();
  ASSERT_NE(nullptr, user);
  char user_id[65];
  ASSERT_EQ(0, user->GetCurUserID(user_id));
  EXPECT_STREQ("USER01", user_id);
  long first = -1, second = -1;
  ASSERT_EQ(0, user->GetSelectedNo(user_id, &first, &second));
  EXPECT_EQ(0, first);
  EXPECT_EQ(2, second);

  ClSetData* data = DataList();
  long cursor = 0;
  ASSERT_EQ(0, data->GetDatCursor(&cursor));
  ASSERT_EQ(0, data->ReadyDat(cursor, 0));
  StDATAINFO record;
  bool found = false;
  while (!found && data->WalkDat(cursor, &record) == 0) found = record.dataNo == second;
  EXPECT_EQ(0, data->ReleaseDatCursor(cursor));
  ASSERT_TRUE(found);
  EXPECT_STREQ("D0000002", record.dataId);
  EXPECT_STREQ("有限会社　第二", record.companyNameText);
  EXPECT_EQ(20240101, record.periodStart);
  EXPECT_EQ(20241231, record.periodEnd);
  EXPECT_EQ(1, record.interimClosing);
  EXPECT_EQ(99, record.introductionMonth);
  EXPECT_EQ(0, record.companyLaw);

  const StDATAINFO* selected = data->GetSelectedInfo();
  ASSERT_NE(nullptr, selected);
  EXPECT_EQ(0, std::memcmp(selected, &record, sizeof(record)));
}

TEST(HostSetData, NoSelectedDataSetGivesNull) {
  TestHome home;
  home.WriteBooks(kTwoDataSets);
  home.WriteHostIni(u8"[User]\nSelectedNo2=3\n");
  EXPECT_EQ(nullptr, DataList()->GetSelectedInfo());
}

TEST(HostSetData, LongCompanyNamesAreCutAtACharacterBoundary) {
  // 200 double-byte characters (400 bytes in CP932) do not fit the 260-byte
  // field: 129 characters (258 bytes) do. With one single-byte character in
  // front, 129 characters still fit and fill all 259 bytes.
  std::u8string kanji;
  for (int i = 0; i < 200; ++i) kanji += u8"漢";
  TestHome home;
  home.WriteBooks(u8"INSERT INTO data_set (data_no, data_id, company_name, period_start, "
                  u8"period_end) VALUES (1, 'D1', '" + kanji + u8"', 20250401, 20260331),"
                  u8"(2, 'D2', 'A" + kanji + u8"', 20250401, 20260331);");
  ClSetData* data = DataList();
  long cursor = 0;
  ASSERT_EQ(0, data->GetDatCursor(&cursor));
  ASSERT_EQ(0, data->ReadyDat(cursor, 0));

  std::string expected;
  for (int i = 0; i < 129; ++i) expected += "漢";
  StDATAINFO record;
  ASSERT_EQ(0, data->WalkDat(cursor, &record));
  EXPECT_EQ(258u, strnlen(record.companyNameText, sizeof(record.companyNameText)));
  EXPECT_EQ(expected, record.companyNameText);
  ASSERT_EQ(0, data->WalkDat(cursor, &record));
  EXPECT_EQ(259u, strnlen(record.companyNameText, sizeof(record.companyNameText)));
  EXPECT_EQ("A" + expected, record.companyNameText);
  // The fields after the name are intact.
  EXPECT_EQ(20250401, record.periodStart);
  EXPECT_EQ(0, data->ReleaseDatCursor(cursor));
}

TEST(HostSetData, MissingBooksAndUnknownCursorsAreErrorsNotCrashes) {
  TestHome home; // no books.db
  ClSetData* data = DataList();
  long cursor = 0;
  ASSERT_EQ(0, data->GetDatCursor(&cursor));
  EXPECT_EQ(stmtlink::kHostErrorBooks, data->ReadyDat(cursor, 0));
  StDATAINFO record;
  // Never readied, never made, or null output.
  EXPECT_EQ(stmtlink::kHostErrorArgument, data->WalkDat(cursor, &record));
  EXPECT_EQ(stmtlink::kHostErrorArgument, data->WalkDat(cursor + 100, &record));
  EXPECT_EQ(stmtlink::kHostErrorArgument, data->WalkDat(cursor, nullptr));
  EXPECT_EQ(stmtlink::kHostErrorArgument, data->ReleaseDatCursor(cursor + 100));
  EXPECT_EQ(stmtlink::kHostErrorArgument, data->GetDatCursor(nullptr));
  EXPECT_EQ(nullptr, data->GetSelectedInfo());
  EXPECT_EQ(0, data->ReleaseDatCursor(cursor));
}

TEST(HostSetData, ReadyCursorOutlivesTheClosingOfTheBooks) {
  TestHome home;
  home.WriteBooks(kTwoDataSets);
  ClSetData* data = DataList();
  long cursor = 0;
  ASSERT_EQ(0, data->GetDatCursor(&cursor));
  ASSERT_EQ(0, data->ReadyDat(cursor, 0));
  StDATAINFO record;
  ASSERT_EQ(0, data->WalkDat(cursor, &record));
  stmtlink::CloseCurrentHome(); // the cursor keeps its own connection
  ASSERT_EQ(0, data->WalkDat(cursor, &record));
  EXPECT_EQ(2, record.dataNo);
  EXPECT_EQ(stmtlink::kHostEndOfRows, data->WalkDat(cursor, &record));

  stmtlink::ResetHostSubstitute(); // forgets every cursor
  EXPECT_EQ(stmtlink::kHostErrorArgument, data->WalkDat(cursor, &record));
}

} // namespace

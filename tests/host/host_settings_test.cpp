// The user, the application folders and the consumption-tax settings.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "host/data_mgr.h"
#include "host/file_mgr.h"
#include "host/host_errors.h"
#include "host/set_base.h"
#include "host/set_shohizei.h"
#include "host/sys_user.h"
#include "tests/host/host_test_home.h"

namespace {

using stmtlink::testing::TestHome;

TEST(HostSysUser, LongUserIdIsCutToItsBufferAtACharacterBoundary) {
  TestHome home;
  // "A" and 40 double-byte characters: 81 bytes in CP932; 64 fit, but the
  // 64th byte would be the lead byte of a character, so 63 come out.
  std::u8string id = u8"A";
  for (int i = 0; i < 40; ++i) id += u8"利";
  home.WriteHostIni(u8"[User]\nCurrentUserID=" + id + u8"\n");
  char buffer[66];
  std::memset(buffer, 0x7F, sizeof(buffer));
  ASSERT_EQ(0, ClDataMgr::Inst()->GetSysUserObject()->GetCurUserID(buffer));
  std::string expected = "A";
  for (int i = 0; i < 31; ++i) expected += "利";
  EXPECT_EQ(expected, buffer);
  EXPECT_EQ(0x7F, buffer[65]); // nothing written past the 65 bytes
}

TEST(HostSysUser, MissingKeysReadAsEmptyAndZero) {
  TestHome home;
  char buffer[65] = "junk";
  ASSERT_EQ(0, ClDataMgr::Inst()->GetSysUserObject()->GetCurUserID(buffer));
  EXPECT_STREQ("", buffer);
  long first = -1, second = -1;
  ASSERT_EQ(0, ClDataMgr::Inst()->GetSysUserObject()->GetSelectedNo(buffer, &first, &second));
  EXPECT_EQ(0, first);
  EXPECT_EQ(0, second);
}

TEST(HostFileMgr, AppFoldersAreConvertedToCp932) {
  TestHome home;
  home.WriteHostIni(u8"[Folders]\nAppFolder0=C:\\会計\\出力\\\nAppFolder1=\"C:\\設定\"\n");
  EXPECT_EQ("C:\\会計\\出力\\", ClFileMgr::Inst()->GetAppFolderPath(0));
  EXPECT_EQ("C:\\設定", ClFileMgr::Inst()->GetAppFolderPath(1));
  EXPECT_EQ("", ClFileMgr::Inst()->GetAppFolderPath(2));
}

TEST(HostShohizei, ByteFiveFollowsTheCurrentDataSet) {
  TestHome home;
  home.WriteBooks(u8"INSERT INTO data_set (data_no, data_id, company_name, period_start, "
                  u8"period_end, tax_included) VALUES "
                  u8"(1, 'D1', 'A', 20250401, 20260331, 0), (2, 'D2', 'B', 20250401, 20260331, 1);");
  ClSetBase* object = ClDataMgr::Inst()->GetSetObject(4, 1);
  ASSERT_NE(nullptr, object);
  ASSERT_EQ(0, object->AttachSetMgr(ClDataMgr::Inst()->GetSetMgr()));
  auto* tax = static_cast<ClSetShohizei*>(object);

  StSHOHIZEIINFO record;
  ASSERT_EQ(0, tax->SetCurDataID("D2"));
  ASSERT_EQ(0, tax->Get(&record));
  EXPECT_EQ(1, record.taxIncluded);
  ASSERT_EQ(0, tax->SetCurDataID("D1"));
  ASSERT_EQ(0, tax->Get(&record));
  EXPECT_EQ(0, record.taxIncluded);

  // No such data set: an error, and the caller's record untouched.
  std::memset(&record, 0x5A, sizeof(record));
  ASSERT_EQ(0, tax->SetCurDataID("D9"));
  EXPECT_EQ(stmtlink::kHostErrorNoDataSet, tax->Get(&record));
  EXPECT_EQ(0x5A, record.taxIncluded);
  EXPECT_EQ(stmtlink::kHostErrorArgument, tax->Get(nullptr));
}

TEST(HostShohizei, NoBooksIsAnError) {
  TestHome home;
  auto* tax = static_cast<ClSetShohizei*>(ClDataMgr::Inst()->GetSetObject(4, 1));
  tax->SetCurDataID("D1");
  StSHOHIZEIINFO record{};
  EXPECT_EQ(stmtlink::kHostErrorBooks, tax->Get(&record));
}

TEST(HostSetMgr, KindsNotBuiltGiveNullAndObjectsStayTheSame) {
  TestHome home;
  EXPECT_EQ(nullptr, ClDataMgr::Inst()->GetSetObject(2, 1));
  ClSetBase* data = ClDataMgr::Inst()->GetSetObject(5, 1);
  EXPECT_STREQ("ClSetData", data->ClassName());
  data->SetCurDataID("D1");
  stmtlink::ResetHostSubstitute();
  // Same object after a reset (the program keeps the pointer), fresh state.
  EXPECT_EQ(data, ClDataMgr::Inst()->GetSetMgr()->GetSetObject(5, 0));
  EXPECT_EQ("", data->CurDataID());
}

} // namespace

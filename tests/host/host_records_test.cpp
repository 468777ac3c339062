// The record layouts that the program reads, pinned through the substitute:
// the fields are filled from the books and read back as raw bytes.
#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>

#include "host/data_mgr.h"
#include "host/host_records.h"
#include "host/set_data.h"
#include "host/set_shohizei.h"
#include "tests/host/host_test_home.h"

namespace {

using stmtlink::testing::TestHome;

std::int32_t Int32At(const unsigned char* bytes, std::size_t offset) {
  std::int32_t value;
  std::memcpy(&value, bytes + offset, sizeof(value));
  return value;
}

TEST(HostRecords, DataInfoFieldsSitAtTheHostOffsets) {
  TestHome home;
  home.WriteBooks(u8"INSERT INTO data_set VALUES "
                  u8"(7, 'D0000007', '株式会社テスト', 20240401, 20250331, 1, 1, 4, 1, 0);");
  auto* data = static_cast<ClSetData*>(ClDataMgr::Inst()->GetSetObject(5, 1));
  ASSERT_NE(nullptr, data);
  long cursor = 0;
  ASSERT_EQ(0, data->GetDatCursor(&cursor));
  ASSERT_EQ(0, data->ReadyDat(cursor, 0));
  // One byte more than the record, as the program keeps it, to see that the
  // substitute writes no further than the record.
  unsigned char bytes[sizeof(StDATAINFO) + 1];
  std::memset(bytes, 0xEE, sizeof(bytes));
  ASSERT_EQ(0, data->WalkDat(cursor, reinterpret_cast<StDATAINFO*>(bytes)));
  EXPECT_EQ(0, data->ReleaseDatCursor(cursor));

  EXPECT_STREQ("D0000007", reinterpret_cast<const char*>(bytes + 0));
  EXPECT_EQ(7, Int32At(bytes, 16));
  EXPECT_STREQ("株式会社テスト", reinterpret_cast<const char*>(bytes + 24));
  EXPECT_EQ(20240401, Int32At(bytes, 0x11C));
  EXPECT_EQ(20250331, Int32At(bytes, 0x120));
  EXPECT_EQ(1, Int32At(bytes, 0x12C));
  EXPECT_EQ(1, Int32At(bytes, 0x130));
  std::int16_t introduction;
  std::memcpy(&introduction, bytes + 0x146, sizeof(introduction));
  EXPECT_EQ(4, introduction);
  EXPECT_EQ(1, bytes[0x36C]);
  EXPECT_EQ(0xEE, bytes[sizeof(StDATAINFO)]);
}

TEST(HostRecords, TaxSettingsFlagIsByteFive) {
  TestHome home;
  home.WriteBooks(u8"INSERT INTO data_set (data_no, data_id, company_name, period_start, "
                  u8"period_end, tax_included) VALUES (1, 'D1', 'A', 20250401, 20260331, 1);");
  auto* tax = static_cast<ClSetShohizei*>(ClDataMgr::Inst()->GetSetObject(4, 1));
  ASSERT_NE(nullptr, tax);
  ASSERT_EQ(0, tax->SetCurDataID("D1"));
  unsigned char bytes[sizeof(StSHOHIZEIINFO)];
  std::memset(bytes, 0xEE, sizeof(bytes));
  ASSERT_EQ(0, tax->Get(reinterpret_cast<StSHOHIZEIINFO*>(bytes)));
  for (std::size_t i = 0; i < sizeof(bytes); ++i) EXPECT_EQ(i == 5 ? 1 : 0, bytes[i]) << i;
}

} // namespace

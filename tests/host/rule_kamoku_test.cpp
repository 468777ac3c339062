// The substitute's account-sum cursor: rows computed from hand-built books.
#include "host/rule_kamoku.h"

#include <gtest/gtest.h>

#include <cstring>
#include <map>
#include <string>

#include "host/host_errors.h"
#include "tests/host/host_test_home.h"

namespace stmtlink {
namespace {

using testing::TestHome;

// Natures: 0x80880000 current assets, 0x80880001 cash, 0x80880002 bank,
// 0x80880810 input tax, 0x80484010 output tax, 0x80280000 shareholders'
// equity, 0x80281048 retained earnings, 0x40888001 sales, 0x40884002
// purchases, 0x40888000 / 0x40884000 their categories.
const char8_t kKamokuBooks[] = u8R"(
INSERT INTO data_set (data_no, data_id, company_name, period_start, period_end)
  VALUES (1, 'D0000001', 'テスト', 20250401, 20260331), (2, 'D0000002', 'other', 20250401, 20260331);
INSERT INTO account (data_no, code, seq, formal_name, statement_name, nature, line_type, normal_side,
  ledger_excluded_a, ledger_excluded_b) VALUES
  (1, 10000000, 10, '流動資産合計', '', 2156396544, 2, 1, 0, 0),
  (1, 11100000, 20, 'あいうえおかきくけこさしすせそた', '', 2156396545, 0, 1, 1, 0),
  (1, 11200000, 30, '普通預金', '預金', 2156396546, 0, 1, 0, 1),
  (1, 11200001, 31, '東都銀行', '', 2156396546, 0, 1, 0, 0),
  (1, 11200002, 32, 'みなと信用金庫', '', 2156396546, 0, 1, 0, 0),
  (1, 11900000, 40, '仮払消費税', '', 2156398608, 0, 1, 0, 0),
  (1, 21900000, 50, '仮受消費税', '', 2152218640, 0, 2, 0, 0),
  (1, 30000000, 60, '株主資本合計', '', 2150105088, 2, 2, 0, 0),
  (1, 33400000, 70, '繰越利益剰余金', '', 2150109256, 3, 2, 0, 0),
  (1, 41100000, 80, '売上高', '', 1082687489, 0, 2, 0, 0),
  (1, 51200000, 90, '仕入高', '', 1082671106, 0, 1, 0, 0),
  (2, 99990000, 1, 'other company', '', 0, 0, 1, 0, 0);
INSERT INTO total_member (data_no, total_code, member_mask) VALUES
  (1, 10000000, 2156396544), (1, 30000000, 2150105088), (1, 30000000, 2150109256),
  (1, 33400000, 1082687488), (1, 33400000, 1082671104);
INSERT INTO opening_balance (data_no, code, debit, credit) VALUES
  (1, 11200001, 100, 0), (1, 11200002, 50, 0), (1, 33400000, 0, 500);
INSERT INTO journal_line (data_no, entry_id, entry_no, line_no, date, slot, debit_code, debit_amount,
  debit_tax, credit_code, credit_amount, credit_tax) VALUES
  (1, 1, 1, 1, 20250410, 1, 11200001, 1100, 0, 41100000, 1000, 100),
  (1, 2, 2, 1, 20250610, 3, 51200000, 200, 20, 11200002, 220, 0),
  (1, 3, 3, 1, 20260331, 13, 11100000, 7, 0, 0, 0, 0),
  (1, 4, 4, 1, 20260331, 15, 11100000, 999, 0, 0, 0, 0),
  (2, 1, 1, 1, 20250410, 1, 99990000, 5, 0, 0, 0, 0);
)";

class RuleKamokuTest : public ::testing::Test {
 protected:
  void SetUp() override { home.WriteBooks(kKamokuBooks); }

  // Every row of data set D0000001, by code.
  std::map<std::int32_t, StKAMOKUSUMINFO> ReadAll(std::vector<std::int32_t>* order = nullptr) {
    std::map<std::int32_t, StKAMOKUSUMINFO> rows;
    EXPECT_EQ(0, cursor.SetCurDataID("D0000001"));
    EXPECT_EQ(0, cursor.MoveReady(1, 0, 0, nullptr, nullptr, 0));
    long count = 0;
    EXPECT_EQ(0, cursor.GetSumCount(&count));
    EXPECT_EQ(0, cursor.SetMovePos(0));
    StKAMOKUSUMINFO row;
    while (cursor.MoveNext(&row) == 0) {
      rows[row.code] = row;
      if (order) order->push_back(row.code);
    }
    EXPECT_EQ(count, static_cast<long>(rows.size()));
    return rows;
  }

  TestHome home;
  ClRuleKamoku cursor;
};

TEST_F(RuleKamokuTest, OneRowPerMainAccountInMasterOrderWithItsFields) {
  std::vector<std::int32_t> order;
  auto rows = ReadAll(&order);
  EXPECT_EQ((std::vector<std::int32_t>{10000000, 11100000, 11200000, 11900000, 21900000, 30000000,
                                       33400000, 41100000, 51200000}),
            order);
  const StKAMOKUSUMINFO& bank = rows[11200000];
  EXPECT_STREQ("普通預金", bank.formalName);
  EXPECT_STREQ("預金", bank.statementName);
  EXPECT_EQ(static_cast<std::int32_t>(0x80880002u), bank.nature);
  EXPECT_EQ(1, bank.normalSide);
  EXPECT_EQ(0, bank.ledgerExcludedA);
  EXPECT_EQ(1, bank.ledgerExcludedB);
  EXPECT_EQ(1, rows[11100000].ledgerExcludedA);
  EXPECT_EQ(2, rows[10000000].lineType);
  EXPECT_EQ(2, rows[41100000].normalSide);
  // A 32-byte name is cut to 30 bytes at a character boundary.
  EXPECT_STREQ("あいうえおかきくけこさしすせそ", rows[11100000].formalName);
}

TEST_F(RuleKamokuTest, SlotsRollSubAccountsUpAndSplitTheTaxBetweenTheSets) {
  auto rows = ReadAll();
  const SumSlots bank = GetSumSlots(rows[11200000]);
  EXPECT_EQ(150, bank.debit1[0]); // both banks' openings
  EXPECT_EQ(150, bank.debit2[0]);
  EXPECT_EQ(1100, bank.debit1[1]);
  EXPECT_EQ(220, bank.credit2[3]);
  // Sales: the amount alone in the first set, with its tax in the second;
  // the first set books the tax to the output-tax account.
  EXPECT_EQ(1000, GetSumSlots(rows[41100000]).credit1[1]);
  EXPECT_EQ(1100, GetSumSlots(rows[41100000]).credit2[1]);
  EXPECT_EQ(100, GetSumSlots(rows[21900000]).credit1[1]);
  EXPECT_EQ(0, GetSumSlots(rows[21900000]).credit2[1]);
  EXPECT_EQ(200, GetSumSlots(rows[51200000]).debit1[3]);
  EXPECT_EQ(220, GetSumSlots(rows[51200000]).debit2[3]);
  EXPECT_EQ(20, GetSumSlots(rows[11900000]).debit1[3]);
  EXPECT_EQ(0, GetSumSlots(rows[11900000]).debit2[3]);
  // The year-end slot, and nothing from a slot that does not exist.
  EXPECT_EQ(7, GetSumSlots(rows[11100000]).debit1[13]);
  EXPECT_EQ(0, GetSumSlots(rows[11100000]).debit1[14]);

  // Read in two halves (rowids far apart), the sums stay the same.
  home.WriteBooks(u8"UPDATE journal_line SET rowid = rowid + 900000 WHERE rowid > 1;");
  auto halves = ReadAll();
  for (auto& [code, row] : rows) {
    const SumSlots whole = GetSumSlots(row), split = GetSumSlots(halves[code]);
    EXPECT_EQ(0, std::memcmp(&whole, &split, sizeof(whole))) << code;
  }
}

TEST_F(RuleKamokuTest, TotalsSumTheirMembersOnceAndComputedItemsKeepTheirOwnBalance) {
  auto rows = ReadAll();
  const SumSlots current = GetSumSlots(rows[10000000]); // cash, bank, input tax
  EXPECT_EQ(150, current.debit1[0]);
  EXPECT_EQ(1100, current.debit1[1]);
  EXPECT_EQ(20, current.debit1[3]);
  EXPECT_EQ(220, current.credit1[3]);
  EXPECT_EQ(7, current.debit1[13]);
  EXPECT_EQ(0, current.debit2[3]);
  // Retained earnings: its own opening and the sales and purchases.
  const SumSlots retained = GetSumSlots(rows[33400000]);
  EXPECT_EQ(500, retained.credit1[0]);
  EXPECT_EQ(1000, retained.credit1[1]);
  EXPECT_EQ(1100, retained.credit2[1]);
  EXPECT_EQ(200, retained.debit1[3]);
  // The equity total has retained earnings once, though both masks match.
  const SumSlots equity = GetSumSlots(rows[30000000]);
  EXPECT_EQ(0, std::memcmp(&equity, &retained, sizeof(equity)));
}

TEST_F(RuleKamokuTest, TotalsThatIncludeEachOtherAreRefused) {
  home.WriteBooks(u8"UPDATE account SET line_type = 3 WHERE code = 30000000;"
                  "INSERT INTO total_member VALUES (1, 33400000, 2150105088);");
  ResetHostSubstitute();
  ASSERT_EQ(0, cursor.SetCurDataID("D0000001"));
  EXPECT_EQ(kHostErrorBooks, cursor.MoveReady(1, 0, 0, nullptr, nullptr, 0));
  long count = 0;
  EXPECT_EQ(kHostErrorArgument, cursor.GetSumCount(&count));
}

TEST_F(RuleKamokuTest, SumsBeyondSixtyFourBitsAreAnError) {
  home.WriteBooks(u8"UPDATE opening_balance SET debit = 9000000000000000000 WHERE code = 11200001;"
                  "UPDATE opening_balance SET debit = 9000000000000000000 WHERE code = 11200002;");
  ResetHostSubstitute();
  ASSERT_EQ(0, cursor.SetCurDataID("D0000001"));
  EXPECT_EQ(kHostErrorBooks, cursor.MoveReady(1, 0, 0, nullptr, nullptr, 0));
}

TEST_F(RuleKamokuTest, CursorProtocol) {
  StKAMOKUSUMINFO row;
  long count = -1;
  // Not ready yet.
  EXPECT_EQ(kHostErrorArgument, cursor.GetSumCount(&count));
  EXPECT_EQ(kHostErrorArgument, cursor.MoveNext(&row));
  // An unknown data ID.
  ASSERT_EQ(0, cursor.SetCurDataID("D9999999"));
  EXPECT_EQ(kHostErrorNoDataSet, cursor.MoveReady(1, 0, 0, nullptr, nullptr, 0));
  EXPECT_EQ(kHostErrorArgument, cursor.GetSumCount(&count));
  // The other data set has its own rows.
  ASSERT_EQ(0, cursor.SetCurDataID("D0000002"));
  ASSERT_EQ(0, cursor.MoveReady(1, 0, 0, nullptr, nullptr, 0));
  ASSERT_EQ(0, cursor.GetSumCount(&count));
  EXPECT_EQ(1, count);
  EXPECT_EQ(kHostErrorArgument, cursor.SetMovePos(2));
  ASSERT_EQ(0, cursor.SetMovePos(0));
  ASSERT_EQ(0, cursor.MoveNext(&row));
  EXPECT_EQ(99990000, row.code);
  EXPECT_EQ(5, GetSumSlots(row).debit1[1]);
  EXPECT_EQ(kHostEndOfRows, cursor.MoveNext(&row));
  EXPECT_EQ(kHostEndOfRows, cursor.MoveNext(&row));
  EXPECT_EQ(kHostErrorArgument, cursor.MoveNext(nullptr));
  EXPECT_EQ(0, cursor.MoveFinish());
  EXPECT_EQ(kHostErrorArgument, cursor.MoveNext(&row));
}

TEST_F(RuleKamokuTest, InjectedFailures) {
  ASSERT_EQ(0, cursor.SetCurDataID("D0000001"));
  InjectHostFailure("ClRuleKamoku::MoveReady", 31);
  EXPECT_EQ(31, cursor.MoveReady(1, 0, 0, nullptr, nullptr, 0));
  ClearHostFailures();
  ASSERT_EQ(0, cursor.MoveReady(1, 0, 0, nullptr, nullptr, 0));
  InjectHostFailure("ClRuleKamoku::MoveNext@2", 32);
  StKAMOKUSUMINFO row;
  EXPECT_EQ(0, cursor.MoveNext(&row));
  EXPECT_EQ(32, cursor.MoveNext(&row));
  EXPECT_EQ(0, cursor.MoveNext(&row)); // only the second read fails
  InjectHostFailure("ClRuleKamoku::AttachOptLink", 33);
  EXPECT_EQ(33, cursor.AttachOptLink(nullptr));
}

} // namespace
} // namespace stmtlink

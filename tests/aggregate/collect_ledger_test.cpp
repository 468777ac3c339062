// The ledger collection on hand-built books: every counterpart case, the
// consumption-tax rules of both tax methods, suppressed and skipped lines.
#include <gtest/gtest.h>

#include <optional>
#include <string>

#include "aggregate/ledger_line.h"
#include "aggregate/statement_aggregator.h"
#include "app/month_conditions.h"
#include "tests/aggregate/aggregator_books.h"
#include "tests/host/host_test_home.h"

namespace stmtlink {
namespace {

constexpr std::int64_t kLedgerYen = 10000;

// Cash (with opening 1,000 yen), bank with a sub-account, receivable,
// sales, fee, the two tax accounts, an account outside the aggregation and
// one excluded from the ledger.
const char8_t kBooks[] = u8R"(
INSERT INTO data_set (data_no, data_id, company_name, period_start, period_end)
  VALUES (1, 'D0000001', '株式会社テスト', 20250401, 20260331);
INSERT INTO account (data_no, code, seq, formal_name, nature, line_type, normal_side, ledger_excluded_a) VALUES
  (1, 1110000, 1, '現金', 2156396545, 0, 1, 0),
  (1, 1120000, 2, '普通預金', 2156396545, 0, 1, 0),
  (1, 1120001, 3, '北斗銀行', 2156396545, 0, 1, 0),
  (1, 1140000, 4, '売掛金', 2156396545, 0, 1, 0),
  (1, 1180000, 5, '仮払消費税', 2156398608, 0, 1, 0),
  (1, 2180000, 6, '仮受消費税', 2152218640, 0, 2, 0),
  (1, 4110000, 7, '売上高', 1082687489, 0, 2, 0),
  (1, 6200000, 8, '支払手数料', 1082662912, 0, 1, 0),
  (1, 9900000, 9, '対象外', 134217728, 0, 1, 0),
  (1, 9800000, 10, '元帳除外', 1082662912, 0, 1, 1);
INSERT INTO opening_balance (data_no, code, debit, credit) VALUES (1, 1110000, 10000000, 0);
INSERT INTO journal_line (data_no, entry_id, entry_no, line_no, date, slot, debit_code, debit_amount,
  debit_tax, credit_code, credit_amount, credit_tax) VALUES
  -- 1: cash sale with tax
  (1, 1, 101, 1, 20250410, 1, 1110000, 1100000, 0, 4110000, 1000000, 100000),
  -- 2: 0x21: a receipt less a fee
  (1, 2, 102, 1, 20250415, 1, 1120001, 950000, 0, 1140000, 1000000, 0),
  (1, 2, 102, 2, 20250415, 1, 6200000, 50000, 0, 0, 0, 0),
  -- 3: 0x22, both lines balanced: looked up
  (1, 3, 103, 1, 20250420, 1, 1110000, 300000, 0, 4110000, 300000, 0),
  (1, 3, 103, 2, 20250420, 1, 6200000, 20000, 0, 1140000, 20000, 0),
  -- 4: 0x22, line 2 balanced but line 1 not: 諸口 after the scan
  (1, 4, 104, 1, 20250425, 1, 1110000, 1000000, 0, 4110000, 700000, 0),
  (1, 4, 104, 2, 20250425, 1, 6200000, 300000, 0, 1140000, 300000, 0),
  (1, 4, 104, 3, 20250425, 1, 0, 0, 0, 1140000, 300000, 0),
  -- 5: against an account outside the aggregation: no cash line
  (1, 5, 105, 1, 20250501, 2, 1110000, 50000, 0, 9900000, 50000, 0),
  -- 6: a zero movement
  (1, 6, 106, 1, 20250502, 2, 1110000, 0, 0, 4110000, 0, 0),
  -- 7: the excluded account
  (1, 7, 107, 1, 20250503, 2, 9800000, 10000, 0, 1110000, 10000, 0);
INSERT INTO era VALUES (20190501, '令和', 'R');
)";

class CollectLedgerTest : public ::testing::Test {
 protected:
  void SetUp() override {
    home_.WriteHostIni(u8"[User]\nCurrentUserID=USER01\nSelectedNo1=0\nSelectedNo2=1\n");
    home_.WriteBooks(kBooks);
    data_ = testing::SelectedData();
  }
  void Collect(int tax_method) {
    ASSERT_TRUE(testing::AggregateYearWithLedger(data_, tax_method, &lines_, &ledger_).ok());
  }
  // The line of that account and entry number; none when there is none.
  std::optional<LedgerLine> Find(std::int32_t code, std::int32_t entry) {
    for (const LedgerLine& line : ledger_)
      if (line.code == code && line.entryNo == entry) return line;
    return std::nullopt;
  }
  int LinesOf(std::int32_t code) {
    int n = 0;
    for (const LedgerLine& line : ledger_) n += line.code == code;
    return n;
  }

  testing::TestHome home_;
  StDATAINFO data_{};
  AccountLineList lines_;
  LedgerLineList ledger_;
};

TEST_F(CollectLedgerTest, CounterpartCasesAndRunningBalance) {
  Collect(0);
  // Cash: opening 1,000 yen, then entries 1, 3, 4 and 7; entry 5 is
  // suppressed by its counter account, entry 6 moves nothing.
  const std::optional<LedgerLine> sale = Find(1110000, 101);
  ASSERT_TRUE(sale);
  EXPECT_STREQ("売上高", sale->counterAccountName);
  EXPECT_STREQ("令和7年4月10日", sale->dateText);
  EXPECT_EQ(110 * kLedgerYen, sale->amount);
  EXPECT_EQ(1110 * kLedgerYen, sale->balance);
  EXPECT_FALSE(Find(1110000, 105));
  EXPECT_FALSE(Find(1110000, 106));
  EXPECT_EQ(4, LinesOf(1110000));

  // 0x21: the credit side sees several accounts, the debit side looks up.
  const std::optional<LedgerLine> receipt = Find(1140000, 102);
  ASSERT_TRUE(receipt);
  EXPECT_STREQ("諸口", receipt->counterAccountName);
  EXPECT_EQ(-100 * kLedgerYen, receipt->amount);
  const std::optional<LedgerLine> bank = Find(1120000, 102);
  ASSERT_TRUE(bank);
  EXPECT_STREQ("売掛金", bank->counterAccountName);
  EXPECT_STREQ("北斗銀行", bank->subAccountName);

  // 0x22: balanced lines look up; a balanced line after unbalanced ones
  // is 諸口.
  const std::optional<LedgerLine> fee3 = Find(6200000, 103);
  ASSERT_TRUE(fee3);
  EXPECT_STREQ("売掛金", fee3->counterAccountName);
  const std::optional<LedgerLine> fee4 = Find(6200000, 104);
  ASSERT_TRUE(fee4);
  EXPECT_STREQ("諸口", fee4->counterAccountName);
  EXPECT_STREQ("諸口", Find(1110000, 104)->counterAccountName); // its own amounts differ

  // The excluded account has no ledger; its counterpart still moves cash.
  EXPECT_EQ(0, LinesOf(9800000));
  ASSERT_TRUE(Find(1110000, 107));
  EXPECT_EQ(-1 * kLedgerYen, Find(1110000, 107)->amount);
}

TEST_F(CollectLedgerTest, TaxAccountsFollowTheTaxMethod) {
  Collect(0);
  // Tax excluded: the output-tax account collects the sale's tax.
  const std::optional<LedgerLine> tax = Find(2180000, 101);
  ASSERT_TRUE(tax);
  EXPECT_EQ(10 * kLedgerYen, tax->amount);
  EXPECT_EQ(100 * kLedgerYen, Find(4110000, 101)->amount);

  ledger_.Clear();
  lines_.Clear();
  Collect(1);
  // Tax included: the tax account shows only rows that name it, and the
  // sale carries its tax.
  EXPECT_EQ(0, LinesOf(2180000));
  EXPECT_EQ(110 * kLedgerYen, Find(4110000, 101)->amount);
}

} // namespace
} // namespace stmtlink

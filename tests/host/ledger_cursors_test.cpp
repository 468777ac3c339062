// The substitute's ledger and journal cursors, the account look-up and the
// accounting months, on hand-built books.
#include <gtest/gtest.h>

#include <cstring>
#include <optional>
#include <string>
#include <thread>
#include <tuple>
#include <vector>

#include "host/acc_period.h"
#include "host/data_mgr.h"
#include "host/host_errors.h"
#include "host/substitute/ledger_index.h"
#include "host/ledger_records.h"
#include "host/rule_motocho.h"
#include "host/rule_shiwake.h"
#include "host/set_data.h"
#include "host/set_kamoku.h"
#include "host/substitute/substitute_control.h"
#include "host/substitute/substitute_home.h"
#include "host/substitute/journal_pass.h"
#include "tests/host/host_test_home.h"
#include "tests/support/books_builder.h"
#include "tests/support/utf8.h"

namespace stmtlink {
namespace {

using testing::BooksBuilder;
using testing::TestHome;
using testing::U8;

// 11100000 cash, 11200000 bank with sub-account 11200001, 11900000 input tax,
// 21900000 output tax, 41100000 sales, 51200000 purchases, 52000000 travel.
// Entries: 8 (one line each side, dated first), 1 (0x11), 2 (two debits,
// 0x21), 3 (two credits, 0x12), 70000 (two and two, 0x22), 5 interim
// adjustment, 6 year-end adjustment, 10 between the tax accounts, 11 bank to
// bank; a line of slot 15 and another data set's line are no rows.
const char8_t kCursorBooks[] = u8R"(
INSERT INTO data_set (data_no, data_id, company_name, period_start, period_end)
  VALUES (1, 'D0000001', 'テスト', 20250401, 20260331), (2, 'D0000002', 'other', 20250401, 20260331);
INSERT INTO account (data_no, code, seq, formal_name, nature, normal_side) VALUES
  (1, 11100000, 10, '現金', 2156396545, 1),
  (1, 11200000, 20, '普通預金', 2156396546, 1),
  (1, 11200001, 21, '東都銀行', 2156396546, 1),
  (1, 11900000, 30, '仮払消費税', 2156398608, 1),
  (1, 21900000, 40, '仮受消費税', 2152218640, 2),
  (1, 41100000, 50, '売上高', 1082687489, 2),
  (1, 51200000, 60, '仕入高', 1082671106, 1),
  (1, 52000000, 70, '旅費交通費', 1082671107, 1),
  (2, 11100000, 10, 'other cash', 0, 1);
INSERT INTO journal_line (data_no, entry_id, entry_no, line_no, date, slot, debit_code,
  debit_amount, debit_tax, credit_code, credit_amount, credit_tax, description) VALUES
  (1, 1, 101, 1, 20250410, 1, 11200001, 1100, 0, 41100000, 1000, 100,
   'Aああああああああああああああああああああああああああああああああ'),
  (1, 2, 102, 1, 20250415, 1, 51200000, 200, 20, 11100000, 220, 0, '仕入'),
  (1, 2, 102, 2, 20250415, 1, 52000000, 50, 0, 11100000, 50, 0, '旅費'),
  (1, 3, 103, 2, 20250420, 1, 11100000, 100, 0, 11200000, 100, 0, ''),
  (1, 3, 103, 1, 20250420, 1, 11100000, 300, 0, 41100000, 300, 0, ''),
  (1, 70000, 104, 1, 20250501, 2, 11100000, 10, 0, 41100000, 10, 0, ''),
  (1, 70000, 104, 2, 20250501, 2, 52000000, 5, 0, 11200001, 5, 0, ''),
  (1, 5, 105, 1, 20250930, 14, 52000000, 7, 0, 11100000, 7, 0, ''),
  (1, 6, 106, 1, 20260331, 13, 52000000, 8, 0, 11100000, 8, 0, ''),
  (1, 8, 108, 1, 20250402, 1, 11100000, 1, 0, 11200000, 1, 0, ''),
  (1, 9, 109, 1, 20250601, 15, 11100000, 999, 0, 41100000, 999, 0, ''),
  (1, 10, 110, 1, 20251001, 7, 21900000, 80, 0, 11900000, 80, 0, ''),
  (1, 11, 111, 1, 20251101, 8, 11200001, 30, 0, 11200000, 30, 0, ''),
  (2, 1, 1, 1, 20250410, 1, 11100000, 5, 0, 41100000, 5, 0, '');
)";

// What a test checks of a ledger row: entry, line, side, marker.
using RowKey = std::tuple<int, int, int, int>;

class LedgerCursorsTest : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(books.Exec(U8(kCursorBooks))); }

  // The ledger rows of an account between two dates, asked for month
  // position "not 15" as the program does, or with the conditions given
  // (null: none).
  std::vector<StMOTOCHOINFO> Ledger(std::int32_t code, std::int32_t first = 20250401,
                                    std::int32_t last = 20260331, std::int32_t interim = 0,
                                    std::optional<const StFINDINFO*> conditions = {}) {
    ClRuleMotocho cursor;
    EXPECT_EQ(0, cursor.AttachSetMgr(ClDataMgr::Inst()->GetSetMgr()));
    EXPECT_EQ(0, cursor.SetCurDataID("D0000001"));
    EXPECT_EQ(0, cursor.AttachOptLink(ClLinkMgr::Inst()->GetOptLink()));
    StMOTOCHOHYOJIINFO display;
    std::memset(&display, 0, sizeof(display));
    display.code = code;
    display.firstDate = first;
    display.lastDate = last;
    display.interim = interim;
    StFINDINFO find;
    std::memset(&find, 0, sizeof(find));
    find.fieldId = 17;
    find.op = 2;
    SetFindValue32(&find, 15);
    const StFINDINFO* asked = conditions ? *conditions : &find;
    StSORTINFO order[6];
    std::memset(order, 0, sizeof(order));
    EXPECT_EQ(0, cursor.MoveReady(asked, order, &display));
    long count = -1;
    EXPECT_EQ(0, cursor.GetCount(asked, &display, &count));
    EXPECT_EQ(0, cursor.SetMovePos(0));
    std::vector<StMOTOCHOINFO> rows;
    StMOTOCHOINFO row;
    for (long code = cursor.MoveFirst(&row); code == 0; code = cursor.MoveNext(&row))
      rows.push_back(row);
    EXPECT_EQ(count, static_cast<long>(rows.size()));
    EXPECT_EQ(0, cursor.MoveFinish());
    return rows;
  }

  static std::vector<RowKey> Keys(const std::vector<StMOTOCHOINFO>& rows) {
    std::vector<RowKey> keys;
    for (const StMOTOCHOINFO& row : rows)
      // Packed fields are copied, never bound to references.
      keys.emplace_back(+row.entryId, +row.lineNo, +row.side, +row.counterpartMarker);
    return keys;
  }

  TestHome home;
  BooksBuilder books{home.dir()};
};

TEST_F(LedgerCursorsTest, RowsOfAnAccountInDateEntryAndLineOrderWithSidesAndMarkers) {
  // Slot 15, the interim adjustment and the other data set's line are left
  // out.
  const std::vector<RowKey> expected = {
      {8, 1, 2, 0x11}, {2, 1, 1, 0x21}, {2, 2, 1, 0x21},   {3, 1, 2, 0x12},
      {3, 2, 2, 0x12}, {70000, 1, 2, 0x22}, {6, 1, 1, 0x11},
  };
  auto rows = Ledger(11100000);
  EXPECT_EQ(expected, Keys(rows));
  ASSERT_EQ(7u, rows.size());
  // The line's own fields.
  const StMOTOCHOINFO& purchase = rows[1];
  EXPECT_EQ(102, +purchase.entryNo);
  EXPECT_EQ(20250415, +purchase.date);
  EXPECT_EQ(51200000, +purchase.debitCode);
  EXPECT_EQ(200, +purchase.debitAmount);
  EXPECT_EQ(20, +purchase.debitTax);
  EXPECT_EQ(11100000, +purchase.creditCode);
  EXPECT_EQ(220, +purchase.creditAmount);
  EXPECT_EQ(0, +purchase.creditTax);
  EXPECT_STREQ("仕入", purchase.description);
}

TEST_F(LedgerCursorsTest, RawBytesSitAtTheHostOffsets) {
  auto rows = Ledger(11100000);
  ASSERT_GE(rows.size(), 2u);
  const auto* bytes = reinterpret_cast<const unsigned char*>(&rows[1]);
  std::int32_t entry, number, line, date, debit, credit;
  std::int64_t debit_amount, debit_tax, credit_amount;
  std::memcpy(&entry, bytes + 0x04, 4);
  std::memcpy(&number, bytes + 0x08, 4);
  std::memcpy(&line, bytes + 0x0C, 4);
  std::memcpy(&date, bytes + 0x10, 4);
  std::memcpy(&debit, bytes + 0x58, 4);
  std::memcpy(&debit_amount, bytes + 0x60, 8);
  std::memcpy(&debit_tax, bytes + 0x68, 8);
  std::memcpy(&credit, bytes + 0x81, 4);
  std::memcpy(&credit_amount, bytes + 0x89, 8);
  EXPECT_EQ(std::make_tuple(2, 102, 1, 20250415, 51200000, 11100000),
            std::make_tuple(entry, number, line, date, debit, credit));
  EXPECT_EQ(std::make_tuple(200, 20, 220),
            std::make_tuple(debit_amount, debit_tax, credit_amount));
  EXPECT_EQ(0x21, bytes[0x56]);
  EXPECT_EQ(1, bytes[0x264]);
}

TEST_F(LedgerCursorsTest, MainAccountTakesItsSubAccountsAndASubAccountOnlyItself) {
  // The bank-to-bank transfer puts the main account on both sides (3).
  EXPECT_EQ((std::vector<RowKey>{{8, 1, 1, 0x11},
                                 {1, 1, 2, 0x11},
                                 {3, 2, 1, 0x12},
                                 {70000, 2, 1, 0x22},
                                 {11, 1, 3, 0x11}}),
            Keys(Ledger(11200000)));
  EXPECT_EQ((std::vector<RowKey>{{1, 1, 2, 0x11}, {70000, 2, 1, 0x22}, {11, 1, 2, 0x11}}),
            Keys(Ledger(11200001)));
}

TEST_F(LedgerCursorsTest, TaxAccountsTakeTheTaxOfOtherLinesAndTheirOwnLines) {
  // Input tax: the purchase's debit tax (debit side) and its own credit.
  EXPECT_EQ((std::vector<RowKey>{{2, 1, 2, 0x21}, {10, 1, 1, 0x11}}), Keys(Ledger(11900000)));
  // Output tax: the sale's credit tax (credit side) and its own debit.
  EXPECT_EQ((std::vector<RowKey>{{1, 1, 1, 0x11}, {10, 1, 2, 0x11}}), Keys(Ledger(21900000)));
  // Sales carry tax on their lines but take none.
  EXPECT_EQ(3u, Ledger(41100000).size());
}

TEST_F(LedgerCursorsTest, TheRangeFiltersByDateAndTheConditionsByMonthPosition) {
  EXPECT_EQ((std::vector<RowKey>{{2, 1, 1, 0x21}, {2, 2, 1, 0x21}, {3, 1, 2, 0x12}, {3, 2, 2, 0x12}}),
            Keys(Ledger(11100000, 20250415, 20250430)));
  // "Not 15" leaves the interim adjustment out even for the interim closing.
  EXPECT_EQ(6u, Ledger(11100000, 20250401, 20250930, 1).size());
  EXPECT_TRUE(Ledger(11100000, 20250602, 20250929).empty());
  // Other conditions are honoured as asked: "= 15" gives the interim
  // adjustment alone, "= 18" the year-end adjustment, no chain every slot.
  StFINDINFO find[4];
  std::memset(find, 0, sizeof(find));
  find[0].fieldId = 17;
  find[0].op = 1;
  SetFindValue32(&find[0], 15);
  EXPECT_EQ((std::vector<RowKey>{{5, 1, 1, 0x11}}), Keys(Ledger(11100000, 20250401, 20260331, 0, find)));
  SetFindValue32(&find[0], 18);
  EXPECT_EQ((std::vector<RowKey>{{6, 1, 1, 0x11}}), Keys(Ledger(11100000, 20250401, 20260331, 0, find)));
  EXPECT_EQ(8u, Ledger(11100000, 20250401, 20260331, 0, nullptr).size());
}

TEST(LedgerMonthPositions, AChainJoinsItsConditionsWithAndBeforeOr) {
  StFINDINFO find[4];
  std::memset(find, 0, sizeof(find));
  auto set = [&](int i, std::int16_t op, std::int32_t value, std::int16_t link) {
    find[i].fieldId = 17;
    find[i].op = op;
    SetFindValue32(&find[i], value);
    find[i].link = link;
  };
  // Months 4 to 6 and the year-end: (>= 4 and <= 6) or = 18.
  set(0, 4, 4, 1);
  set(1, 6, 6, 2);
  set(2, 1, 18, 0);
  std::uint32_t positions = 0;
  ASSERT_TRUE(MonthPositionsOf(find, &positions));
  EXPECT_EQ((1u << 4) | (1u << 5) | (1u << 6) | (1u << 18), positions);
  set(0, 2, 15, 0);
  ASSERT_TRUE(MonthPositionsOf(find, &positions));
  EXPECT_EQ(~(1u << 15), positions);
  // Another field or operator is not understood, and the cursor refuses it.
  find[0].op = 3;
  EXPECT_FALSE(MonthPositionsOf(find, &positions));
  set(0, 1, 15, 0);
  find[0].fieldId = 9;
  EXPECT_FALSE(MonthPositionsOf(find, &positions));
}

TEST_F(LedgerCursorsTest, DescriptionIsCutAtACharacterBoundary) {
  auto rows = Ledger(11200001);
  ASSERT_FALSE(rows.empty());
  // "A" and 31 double-byte characters: 63 bytes, cut to 59 (60 would split one).
  EXPECT_EQ(59u, std::strlen(rows[0].description));
  EXPECT_EQ('A', rows[0].description[0]);
}

TEST_F(LedgerCursorsTest, CursorReportsMisuseAndInjectedFailures) {
  ClRuleMotocho cursor;
  StMOTOCHOINFO row;
  long count = 0;
  EXPECT_EQ(kHostErrorArgument, cursor.GetCount(nullptr, nullptr, &count));
  EXPECT_EQ(kHostErrorArgument, cursor.MoveFirst(&row));
  ASSERT_EQ(0, cursor.SetCurDataID("NOSUCH"));
  StMOTOCHOHYOJIINFO display;
  std::memset(&display, 0, sizeof(display));
  display.code = 11100000;
  display.firstDate = 20250401;
  display.lastDate = 20260331;
  EXPECT_EQ(kHostErrorNoDataSet, cursor.MoveReady(nullptr, nullptr, &display));
  ASSERT_EQ(0, cursor.SetCurDataID("D0000001"));
  EXPECT_EQ(kHostErrorArgument, cursor.MoveReady(nullptr, nullptr, nullptr));

  InjectHostFailure("ClRuleMotocho::GetCount", 77);
  InjectHostFailure("ClRuleMotocho::MoveNext@2", 78);
  ASSERT_EQ(0, cursor.MoveReady(nullptr, nullptr, &display));
  EXPECT_EQ(77, cursor.GetCount(nullptr, &display, &count));
  EXPECT_EQ(0, cursor.MoveFirst(&row));
  EXPECT_EQ(0, cursor.MoveNext(&row));
  EXPECT_EQ(2, +row.entryId);
  EXPECT_EQ(78, cursor.MoveNext(&row));
  // Only that read failed: the next one goes on.
  EXPECT_EQ(0, cursor.MoveNext(&row));
  EXPECT_EQ(0, cursor.MoveFinish());
  EXPECT_EQ(kHostErrorArgument, cursor.MoveNext(&row));
}

// The journal cursor over one entry.
std::vector<StSWKTINFO> EntryLines(std::int32_t entry_id) {
  ClRuleShiwake cursor;
  EXPECT_EQ(0, cursor.SetCurDataID("D0000001"));
  StFINDINFO find;
  std::memset(&find, 0, sizeof(find));
  find.fieldId = 6;
  find.op = 1;
  SetFindValue32(&find, entry_id);
  EXPECT_EQ(0, cursor.MoveReady(&find, nullptr, nullptr, 2));
  long count = -1;
  EXPECT_EQ(0, cursor.GetSwkCount(&find, nullptr, &count));
  std::vector<StSWKTINFO> lines;
  StSWKTINFO line;
  for (long code = cursor.MoveFirst(&line); code == 0; code = cursor.MoveNext(&line))
    lines.push_back(line);
  EXPECT_EQ(count, static_cast<long>(lines.size()));
  return lines;
}

TEST_F(LedgerCursorsTest, JournalCursorGivesTheLinesOfOneEntryInLineOrder) {
  auto lines = EntryLines(3); // stored line 2 first
  ASSERT_EQ(2u, lines.size());
  EXPECT_EQ(1, +lines[0].lineNo);
  EXPECT_EQ(300, +lines[0].debitAmount);
  EXPECT_EQ(41100000, +lines[0].creditCode);
  EXPECT_EQ(2, +lines[1].lineNo);
  EXPECT_EQ(100, +lines[1].creditAmount);
  EXPECT_EQ(11200000, +lines[1].creditCode);
  // An identifier beyond 16 bits, and one with no lines.
  auto wide = EntryLines(70000);
  ASSERT_EQ(2u, wide.size());
  EXPECT_EQ(70000, +wide[1].entryId);
  EXPECT_EQ(5, +wide[1].creditAmount);
  EXPECT_TRUE(EntryLines(4).empty());

  ClRuleShiwake cursor;
  ASSERT_EQ(0, cursor.SetCurDataID("D0000001"));
  StFINDINFO month;
  std::memset(&month, 0, sizeof(month));
  month.fieldId = 17;
  month.op = 2;
  EXPECT_EQ(kHostErrorArgument, cursor.MoveReady(&month, nullptr, nullptr, 2));
}

// An account looked up by code through the set manager's account data set.
long LookUp(std::int32_t code, StKAMOKUINFO* row) {
  auto* accounts = static_cast<ClSetKamoku*>(ClDataMgr::Inst()->GetSetObject(1, 1));
  EXPECT_NE(nullptr, accounts);
  if (!accounts) return -1;
  EXPECT_EQ(0, accounts->SetCurDataID("D0000001"));
  StFINDINFO find;
  std::memset(&find, 0, sizeof(find));
  find.fieldId = 2;
  find.op = 1;
  SetFindValue32(&find, code);
  long cursor = 0;
  EXPECT_EQ(0, accounts->GetCursor(&cursor));
  EXPECT_EQ(0, accounts->ReadyCursor(cursor, &find));
  const long found = accounts->WalkFind(cursor, row);
  EXPECT_EQ(0, accounts->ReleaseCursor(cursor));
  return found;
}

TEST_F(LedgerCursorsTest, AccountLookUpByCode) {
  StKAMOKUINFO row;
  ASSERT_EQ(0, LookUp(11200001, &row));
  EXPECT_STREQ("東都銀行", row.name);
  EXPECT_EQ(11200001, +row.code);
  std::int32_t nature;
  std::memcpy(&nature, reinterpret_cast<const unsigned char*>(&row) + 0x90, 4);
  EXPECT_EQ(static_cast<std::int32_t>(0x80880002u), nature);
  EXPECT_STREQ("東都銀行", reinterpret_cast<const char*>(&row) + 0x16);
  ASSERT_EQ(0, LookUp(21900000, &row));
  EXPECT_EQ(static_cast<std::int32_t>(0x80484010u), +row.nature);
  // Not found: 5000 and a zeroed record.
  EXPECT_EQ(kHostEndOfRows, LookUp(11200002, &row));
  EXPECT_EQ(0, +row.code);
  EXPECT_EQ('\0', row.name[0]);

  // No conditions: every account in master order; another field is refused.
  auto* accounts = static_cast<ClSetKamoku*>(ClDataMgr::Inst()->GetSetObject(1, 1));
  long cursor = 0;
  ASSERT_EQ(0, accounts->GetCursor(&cursor));
  ASSERT_EQ(0, accounts->ReadyCursor(cursor, nullptr));
  std::vector<std::int32_t> codes;
  while (accounts->WalkFind(cursor, &row) == 0) codes.push_back(row.code);
  EXPECT_EQ(8u, codes.size());
  EXPECT_EQ(11200001, codes[2]);
  StFINDINFO other;
  std::memset(&other, 0, sizeof(other));
  other.fieldId = 9;
  other.op = 1;
  EXPECT_EQ(kHostErrorArgument, accounts->ReadyCursor(cursor, &other));
  EXPECT_EQ(0, accounts->ReleaseCursor(cursor));
  InjectHostFailure("ClSetKamoku::WalkFind", 55);
  EXPECT_EQ(55, LookUp(11100000, &row));
}

// The ledger index, the account master and the eras are read once and kept;
// a change made to the books by another connection must still be seen by
// the next reading.
TEST_F(LedgerCursorsTest, ChangesToTheBooksAreSeenByTheNextReading) {
  ASSERT_EQ(7u, Ledger(11100000).size());
  StKAMOKUINFO row;
  ASSERT_EQ(0, LookUp(11100000, &row));
  ASSERT_STREQ("現金", row.name);

  ASSERT_TRUE(books.Exec(U8(u8R"(
    INSERT INTO journal_line (data_no, entry_id, entry_no, line_no, date, slot, debit_code,
      debit_amount, credit_code, credit_amount) VALUES
      (1, 12, 112, 1, 20251201, 9, 11100000, 40, 41100000, 40);
    UPDATE account SET formal_name = '小口現金' WHERE data_no = 1 AND code = 11100000;)")));

  const std::vector<StMOTOCHOINFO> rows = Ledger(11100000);
  ASSERT_EQ(8u, rows.size());
  EXPECT_EQ(12, +rows[6].entryId);
  ASSERT_EQ(0, LookUp(11100000, &row));
  EXPECT_STREQ("小口現金", row.name);
  // The same range read twice without a change gives the same rows.
  EXPECT_EQ(Keys(rows), Keys(Ledger(11100000)));
}

// The home keeps one reading of the journal and the ledgers indexed from
// it for the calls that follow, and lets them go with its books: when the
// books change, when the substitute is reset, when another home is set.
TEST_F(LedgerCursorsTest, TheHomeKeepsOneReadingWhileItsBooksStayTheSame) {
  std::string error;
  std::int64_t data_no = 0;
  EXPECT_EQ(kHostErrorNoDataSet, CurrentHome().FindDataNo("D0000009", &data_no, &error));
  ASSERT_EQ(0, CurrentHome().FindDataNo("D0000001", &data_no, &error)) << error;
  ASSERT_EQ(1, data_no);

  const auto sums = CurrentHome().Journal(1, false, &error);
  ASSERT_NE(nullptr, sums) << error;
  EXPECT_EQ(nullptr, sums->store()); // read without the lines
  EXPECT_EQ(sums, CurrentHome().Journal(1, false, &error));
  // Asking for the lines reads again, and that reading serves the sums too.
  const auto lines = CurrentHome().JournalLines(1, &error);
  ASSERT_NE(nullptr, lines) << error;
  const auto with_lines = CurrentHome().Journal(1, false, &error);
  ASSERT_NE(nullptr, with_lines);
  EXPECT_NE(sums, with_lines);
  EXPECT_EQ(lines.get(), with_lines->store());

  LedgerRange range;
  range.data_no = 1;
  range.first_date = 20250401;
  range.last_date = 20260331;
  const auto ledger = CurrentHome().Ledger(range, &error);
  ASSERT_NE(nullptr, ledger) << error;
  EXPECT_EQ(ledger, CurrentHome().Ledger(range, &error));
  range.last_date = 20250930;
  EXPECT_NE(ledger, CurrentHome().Ledger(range, &error));

  // A changed journal is read again, once a statement has seen the change
  // (every cursor looks its data set up first).
  ASSERT_TRUE(books.Exec("UPDATE journal_line SET description = 'x' WHERE entry_id = 8"));
  ASSERT_EQ(0, CurrentHome().FindDataNo("D0000001", &data_no, &error)) << error;
  const auto changed = CurrentHome().Journal(1, true, &error);
  ASSERT_NE(nullptr, changed);
  EXPECT_NE(with_lines, changed);
  EXPECT_EQ(changed, CurrentHome().Journal(1, true, &error));

  ResetHostSubstitute();
  const auto after_reset = CurrentHome().Journal(1, true, &error);
  ASSERT_NE(nullptr, after_reset);
  EXPECT_NE(changed, after_reset);

  // Another home has its own books (here none) and nothing kept.
  TestHome other;
  EXPECT_EQ(nullptr, CurrentHome().Journal(1, true, &error));
  EXPECT_NE(std::string::npos, error.find(other.dir() + "/books.db")) << error;
  SetHostHome(home.dir());
  const auto back = CurrentHome().Journal(1, true, &error);
  ASSERT_NE(nullptr, back) << error;
  EXPECT_NE(after_reset, back);
}

TEST_F(LedgerCursorsTest, ALongFirstReadingCallsTheBusyHookOnTheCallersThreadOnly) {
  int calls = 0;
  bool other_thread = false;
  const std::thread::id caller = std::this_thread::get_id();
  SetHostBusyHook([&] {
    ++calls;
    other_thread = other_thread || std::this_thread::get_id() != caller;
  });
  ASSERT_EQ(7u, Ledger(11100000).size());
  EXPECT_EQ(0, calls); // a small journal is read without a word

  // 200,000 more lines: read in two halves, the second on a thread.
  ASSERT_TRUE(books.Exec(U8(u8R"(
    WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < 200000)
    INSERT INTO journal_line (data_no, entry_id, entry_no, line_no, date, slot, debit_code,
      debit_amount, credit_code, credit_amount)
      SELECT 1, 100000 + i, 1000 + i, 1, 20251201, 9, 52000000, 1, 11200000, 1 FROM n;)")));
  EXPECT_EQ(7u, Ledger(11100000).size());
  SetHostBusyHook(nullptr);
  EXPECT_GE(calls, 4);
  EXPECT_FALSE(other_thread);
}

TEST_F(LedgerCursorsTest, AJournalReadInTwoHalvesComesInLedgerOrderWithItsOwnTexts) {
  // 60,000 lines stored latest first, so that each half holds dates of the
  // whole year; each line's description names its entry, and the second
  // half's texts follow the first's in the store.
  ASSERT_TRUE(books.Exec(U8(u8R"(
    WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < 60000)
    INSERT INTO journal_line (data_no, entry_id, entry_no, line_no, date, slot, debit_code,
      debit_amount, credit_code, credit_amount, description)
      SELECT 1, 200000 + i, 90000 - i, 1, 20250401 + i % 28, 1, 52000000, 1, 11200000, 1,
             '摘要' || (i % 977) FROM n;)")));
  const std::vector<StMOTOCHOINFO> rows = Ledger(52000000);
  ASSERT_EQ(60003u, rows.size()); // and three of the books above
  for (std::size_t i = 1; i < rows.size(); ++i) {
    const StMOTOCHOINFO& a = rows[i - 1];
    const StMOTOCHOINFO& b = rows[i];
    ASSERT_TRUE(a.date < b.date || (a.date == b.date && a.entryNo <= b.entryNo)) << i;
  }
  int checked = 0;
  for (const StMOTOCHOINFO& row : rows) {
    if (row.entryId <= 200000) continue;
    const std::string expected = "摘要" + std::to_string((row.entryId - 200000) % 977);
    ASSERT_EQ(expected, std::string(row.description)) << row.entryId;
    ++checked;
  }
  EXPECT_EQ(60000, checked);
}

TEST(AccPeriodMonths, MonthPositionsGiveTheirFirstAndLastDates) {
  TestHome home;
  ClAccPeriod period(20250401, 20260331);
  std::int32_t first = 0, last = 0;
  ASSERT_EQ(0, period.GetPeriodByMonthKind(1, &first, &last, 0));
  EXPECT_EQ(std::make_pair(20250401, 20250430), std::make_pair(first, last));
  ASSERT_EQ(0, period.GetPeriodByMonthKind(11, &first, &last, 0));
  EXPECT_EQ(std::make_pair(20260201, 20260228), std::make_pair(first, last));
  ASSERT_EQ(0, period.GetPeriodByMonthKind(15, &first, &last, 0));
  EXPECT_EQ(std::make_pair(20250901, 20250930), std::make_pair(first, last));
  ASSERT_EQ(0, period.GetPeriodByMonthKind(18, &first, &last, 0));
  EXPECT_EQ(std::make_pair(20260301, 20260331), std::make_pair(first, last));
  EXPECT_EQ(kHostErrorArgument, period.GetPeriodByMonthKind(0, &first, &last, 0));
  EXPECT_EQ(kHostErrorArgument, period.GetPeriodByMonthKind(13, &first, &last, 0));

  // Closing on the 20th: months run from the 21st; a leap February.
  ClAccPeriod twentieth(20230321, 20240320);
  ASSERT_EQ(0, twentieth.GetPeriodByMonthKind(1, &first, &last, 0));
  EXPECT_EQ(std::make_pair(20230321, 20230420), std::make_pair(first, last));
  ASSERT_EQ(0, twentieth.GetPeriodByMonthKind(12, &first, &last, 0));
  EXPECT_EQ(std::make_pair(20240221, 20240320), std::make_pair(first, last));
  ClAccPeriod leap(20240101, 20241231);
  ASSERT_EQ(0, leap.GetPeriodByMonthKind(2, &first, &last, 0));
  EXPECT_EQ(std::make_pair(20240201, 20240229), std::make_pair(first, last));
  // A short first year: the year-end is its last month.
  ClAccPeriod short_year(20250601, 20251231);
  ASSERT_EQ(0, short_year.GetPeriodByMonthKind(18, &first, &last, 0));
  EXPECT_EQ(std::make_pair(20251201, 20251231), std::make_pair(first, last));

  InjectHostFailure("ClAccPeriod::GetPeriodByMonthKind", 66);
  EXPECT_EQ(66, period.GetPeriodByMonthKind(1, &first, &last, 0));
}

TEST_F(LedgerCursorsTest, DataSetGivesTheSelectedPeriod) {
  auto* data = static_cast<ClSetData*>(ClDataMgr::Inst()->GetSetObject(5, 1));
  ASSERT_NE(nullptr, data);
  ClAccPeriod* period = data->GetAccPeriod();
  ASSERT_NE(nullptr, period);
  std::int32_t first = 0, last = 0;
  ASSERT_EQ(0, period->GetPeriodByMonthKind(18, &first, &last, 0));
  EXPECT_EQ(std::make_pair(20260301, 20260331), std::make_pair(first, last));
  InjectHostFailure("ClSetData::GetAccPeriod", 9);
  EXPECT_EQ(nullptr, data->GetAccPeriod());
}

} // namespace
} // namespace stmtlink

// The ledger line list keeps lines in blocks and texts in one table: what
// is appended comes back byte for byte, across blocks. The feed hands lines
// to it on a second thread, in the order they were put.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "aggregate/ledger_line.h"
#include "aggregate/ledger_line_feed.h"

namespace stmtlink {
namespace {

LedgerLine MakeLine(int i) {
  LedgerLine line;
  line.code = 11100000 + i % 7 * 10000;
  line.entryNo = i;
  std::snprintf(line.dateText, sizeof(line.dateText), "date %d", i % 365);
  if (i % 3 == 0) std::snprintf(line.subAccountName, sizeof(line.subAccountName), "sub %d", i % 5);
  std::snprintf(line.counterAccountName, sizeof(line.counterAccountName), "counter %d", i % 11);
  // A full field has no terminating zero.
  if (i % 4 == 0) std::memset(line.counterSubAccountName, 'x', sizeof(line.counterSubAccountName));
  std::snprintf(line.description, sizeof(line.description), "description %d", i % 1000);
  line.amount = i * 10000LL;
  line.balance = -i * 20000LL;
  return line;
}

TEST(LedgerLineListTest, LinesAcrossBlocksComeBackAsAppended) {
  LedgerLineList list;
  constexpr int kLines = 100000; // more than two blocks
  for (int i = 0; i < kLines; ++i) ASSERT_TRUE(list.Append(MakeLine(i)));
  ASSERT_EQ(static_cast<std::size_t>(kLines), list.size());
  int i = 0;
  for (auto it = list.begin(); it != list.end(); ++it, ++i) {
    const LedgerLine expected = MakeLine(i);
    const LedgerLine got = *it;
    // Field by field: the record's padding is not part of it.
    ASSERT_EQ(expected.entryNo, got.entryNo);
    ASSERT_EQ(0, std::memcmp(expected.dateText, got.dateText, sizeof(got.dateText)));
    ASSERT_EQ(0, std::memcmp(expected.subAccountName, got.subAccountName, sizeof(got.subAccountName)));
    ASSERT_EQ(0, std::memcmp(expected.counterAccountName, got.counterAccountName,
                             sizeof(got.counterAccountName)));
    ASSERT_EQ(0, std::memcmp(expected.counterSubAccountName, got.counterSubAccountName,
                             sizeof(got.counterSubAccountName)));
    ASSERT_EQ(0, std::memcmp(expected.description, got.description, sizeof(got.description)));
    ASSERT_EQ(expected.amount, got.amount);
    ASSERT_EQ(expected.balance, got.balance);
    ASSERT_EQ(expected.code, got.code);
    ASSERT_EQ(expected.code, it.code());
    ASSERT_EQ(std::string(expected.counterSubAccountName, i % 4 == 0 ? 31 : 0),
              std::string(it.text(LedgerLineList::kCounterSubAccountName)));
    ASSERT_EQ(std::string(expected.description),
              std::string(it.text(LedgerLineList::kDescription)));
  }
  EXPECT_EQ(kLines, i);
  list.Clear();
  EXPECT_TRUE(list.empty());
  EXPECT_TRUE(list.begin() == list.end());
}

TEST(LedgerLineListTest, FeedAppendsWhatWasPutInOrderByEveryDrain) {
  LedgerLineList list;
  std::vector<int> put;
  {
    LedgerLineFeed feed(&list, 7); // small batches: the thread takes most of them
    int i = 0;
    // Three accounts' worth, drained after each as the aggregation does at
    // its end; every tenth line is filled and then dropped.
    for (int drain = 0; drain < 3; ++drain) {
      for (int n = 0; n < 5000; ++n, ++i) {
        *feed.Line() = MakeLine(i);
        if (i % 10 == 9) continue;
        ASSERT_TRUE(feed.Put());
        put.push_back(i);
      }
      ASSERT_TRUE(feed.Drain());
      ASSERT_EQ(put.size(), list.size());
    }
    *feed.Line() = MakeLine(i); // put after the last drain: the destructor drains it
    ASSERT_TRUE(feed.Put());
    put.push_back(i);
  }
  ASSERT_EQ(put.size(), list.size());
  std::size_t at = 0;
  for (auto it = list.begin(); it != list.end(); ++it, ++at) {
    const LedgerLine expected = MakeLine(put[at]);
    const LedgerLine got = *it;
    ASSERT_EQ(expected.entryNo, got.entryNo);
    ASSERT_EQ(expected.balance, got.balance);
    ASSERT_EQ(0, std::memcmp(expected.description, got.description, sizeof(got.description)));
  }
}

} // namespace
} // namespace stmtlink

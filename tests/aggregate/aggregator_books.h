// Hand-built books for the aggregation tests, period 2025-04-01 to
// 2026-03-31, data set 1 ("D0000001"). Amounts are chosen so that every
// sum names the slots it took: the cash account has 2^i units in slot i
// (slot 0 its opening debit), the sales account 2^i on the credit side.
#pragma once

#include <cstdint>
#include <cstring>
#include <map>
#include <string>

#include "aggregate/account_line.h"
#include "aggregate/ledger_line.h"
#include "aggregate/statement_aggregator.h"
#include "app/month_conditions.h"
#include "host/data_mgr.h"
#include "host/set_data.h"
#include "tests/host/host_test_home.h"

namespace stmtlink::testing {

constexpr std::int32_t kCash = 11100000, kHeading = 9000000, kSales = 41100000,
                       kCarried = 33500000, kTarget1 = 89500000, kTarget2 = 89600000,
                       kPayable = 21100000;

// The units of slots first..last of a 2^i account.
inline std::int64_t Slots(int first, int last) {
  std::int64_t sum = 0;
  for (int i = first; i <= last; ++i) sum += std::int64_t{1} << i;
  return sum;
}

// data_set, accounts and postings; extra_sql runs last.
inline void WriteAggregatorBooks(const TestHome& home, int introduction_month = 0,
                                 int interim_closing = 0, const std::string& extra_sql = "") {
  std::string sql = Utf8(u8R"(
INSERT INTO data_set (data_no, data_id, company_name, period_start, period_end,
  interim_closing, introduction_month) VALUES (1, 'D0000001', '株式会社テスト', 20250401, 20260331, )") +
                    std::to_string(interim_closing) + ", " + std::to_string(introduction_month) +
                    Utf8(u8R"();
INSERT INTO account (data_no, code, seq, formal_name, statement_name, nature, line_type, normal_side) VALUES
  (1,  9000000, 1, '【資産の部】', '', 0, 1, 1),
  (1, 11100000, 2, '現金', '現金預金', 2156396545, 0, 1),
  (1, 21100000, 3, '買掛金', '', 2152202241, 0, 2),
  (1, 33500000, 4, '前期繰越利益', '', 2149589008, 0, 2),
  (1, 41100000, 5, '売上高', '', 1082687489, 0, 2),
  (1, 89500000, 6, '当期未処分利益', '', 1075839008, 0, 2),
  (1, 89600000, 7, '当期未処分利益２', '', 1075839008, 0, 2);
INSERT INTO opening_balance (data_no, code, debit, credit) VALUES
  (1, 11100000, 1, 0), (1, 21100000, 0, 10), (1, 33500000, 0, 1000), (1, 41100000, 0, 1);
WITH RECURSIVE s(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM s WHERE i < 14)
INSERT INTO journal_line (data_no, entry_id, entry_no, line_no, date, slot, debit_code,
  debit_amount, credit_code, credit_amount)
  SELECT 1, i, i, 1, 20250401, i, 11100000, 1 << i, 41100000, 1 << i FROM s;
INSERT INTO journal_line (data_no, entry_id, entry_no, line_no, date, slot, debit_code,
  debit_amount, credit_code, credit_amount) VALUES
  (1, 20, 20, 1, 20250401, 1, 21100000, 100, 0, 0),
  (1, 21, 21, 1, 20250501, 2, 0, 0, 33500000, 100),
  (1, 22, 22, 1, 20250801, 5, 0, 0, 89500000, 5),
  (1, 22, 22, 2, 20250801, 5, 0, 0, 89600000, 7);
)") + extra_sql;
  home.WriteHostIni(u8"[User]\nCurrentUserID=USER01\nSelectedNo1=0\nSelectedNo2=1\n");
  home.WriteBooks(std::u8string_view(reinterpret_cast<const char8_t*>(sql.data()), sql.size()));
}

// The selected data set's record, as the run reads it.
inline StDATAINFO SelectedData() {
  StDATAINFO data;
  std::memset(&data, 0, sizeof(data));
  auto* set = dynamic_cast<ClSetData*>(ClDataMgr::Inst()->GetSetObject(5, 1));
  if (const StDATAINFO* selected = set ? set->GetSelectedInfo() : nullptr) data = *selected;
  return data;
}

// The whole year (months 4 to 3) with the general ledger on; the
// aggregator's result.
inline RunFailure AggregateYearWithLedger(const StDATAINFO& data, int tax_method, AccountLineList* lines,
                                          LedgerLineList* ledger) {
  MonthConditions conditions;
  if (RunFailure months = BuildMonthConditions(&conditions, &data, 4, 3); months.failed()) return months;
  StatementAggregator aggregator;
  aggregator.lines = lines;
  aggregator.ledgerLines = ledger;
  aggregator.ledgerEnabled = 1;
  return aggregator.aggregate(tax_method, conditions.entries, &data);
}

inline std::map<std::int32_t, const AccountLine*> ByCode(const AccountLineList& lines) {
  std::map<std::int32_t, const AccountLine*> out;
  for (const auto& line : lines) out[line->code] = line.get();
  return out;
}

} // namespace stmtlink::testing

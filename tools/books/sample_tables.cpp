#include "tools/books/sample_tables.h"

#include <cstdint>
#include <iterator>
#include <vector>

#include "tools/books/era_table.h"
#include "tools/books/sql_statement.h"
#include "tools/books/utf8_literal.h"

namespace stmtlink {
namespace {

struct DataSetRow {
  std::int64_t data_no;
  const char* data_id;
  const char* company_name; // UTF-8, as the books keep it
  std::int64_t period_start;
  std::int64_t period_end;
  std::int64_t keeps_mfg_schedule;
  std::int64_t interim_closing;
  std::int64_t introduction_month;
  std::int64_t company_law;
  std::int64_t tax_included;
};

// Inserts each row with one statement: insert(statement, row) runs it with
// the row's values.
template <typename Row, typename Insert>
bool InsertRows(BooksDb& db, const char* sql, const Row* rows, std::size_t count, Insert insert,
                std::string* error) {
  SqlStatement statement(error);
  if (!statement.Prepare(db, sql)) return false;
  for (std::size_t i = 0; i < count; ++i)
    if (!insert(statement, rows[i])) return false;
  return true;
}

} // namespace

bool WriteSampleDataSets(SampleContext& context, std::string* error) {
  const SampleOptions& o = context.options;
  const DataSetRow kRows[] = {
      {1, "D0000001", U(u8"株式会社　山桜商事"), 20250401, 20260331, o.manufacturing ? 1 : 0,
       o.interim ? 1 : 0, 0, 1, o.tax_included ? 1 : 0},
  };
  auto insert = [](SqlStatement& s, const DataSetRow& r) {
    return s.Run(r.data_no, r.data_id, r.company_name, r.period_start, r.period_end,
                 r.keeps_mfg_schedule, r.interim_closing, r.introduction_month, r.company_law,
                 r.tax_included);
  };
  return InsertRows(context.db,
                    "INSERT INTO data_set (data_no, data_id, company_name, period_start, "
                    "period_end, keeps_mfg_schedule, interim_closing, introduction_month, "
                    "company_law, tax_included) VALUES (?1, ?2, ?3, ?4, ?5, ?6, ?7, ?8, ?9, ?10)",
                    kRows, std::size(kRows), insert, error);
}

bool WriteSampleEras(SampleContext& context, std::string* error) {
  auto insert = [](SqlStatement& s, const Era& r) {
    return s.Run(r.first_day, r.name, r.abbreviation);
  };
  return InsertRows(context.db, "INSERT INTO era (first_day, name, abbreviation) VALUES (?1, ?2, ?3)",
                    kEras, std::size(kEras), insert, error);
}

bool WriteSampleAccounts(SampleContext& context, std::string* error) {
  auto insert = [](SqlStatement& s, const ChartAccount& a) {
    return s.Run(a.code, a.seq, a.formal_name, a.statement_name, a.nature, a.line_type,
                 a.normal_side, a.ledger_excluded_a, a.ledger_excluded_b);
  };
  const auto& accounts = context.chart.accounts;
  if (!InsertRows(context.db,
                  "INSERT INTO account (data_no, code, seq, formal_name, statement_name, nature, "
                  "line_type, normal_side, ledger_excluded_a, ledger_excluded_b) "
                  "VALUES (1, ?1, ?2, ?3, ?4, ?5, ?6, ?7, ?8, ?9)",
                  accounts.data(), accounts.size(), insert, error))
    return false;
  auto insert_member = [](SqlStatement& s, const ChartMember& m) {
    return s.Run(m.total_code, m.mask);
  };
  const auto& members = context.chart.members;
  return InsertRows(context.db,
                    "INSERT INTO total_member (data_no, total_code, member_mask) "
                    "VALUES (1, ?1, ?2)",
                    members.data(), members.size(), insert_member, error);
}

bool WriteSampleOpeningBalances(SampleContext& context, std::string* error) {
  struct Balance {
    std::int64_t code;
    std::int64_t debit;
    std::int64_t credit;
  };
  std::vector<Balance> rows;
  std::uniform_int_distribution<std::int64_t> spread(80, 120); // percent
  std::int64_t debits = 0, credits = 0;
  // yen: the balance in whole yen, varied by the seed; sub-accounts split it.
  auto put = [&](std::int64_t code, std::int64_t yen, bool debit) {
    const std::int64_t units = yen * spread(context.random) / 100 * 10000;
    rows.push_back({code, debit ? units : 0, debit ? 0 : units});
    (debit ? debits : credits) += units;
  };
  using namespace chart;
  const SampleChart& c = context.chart;
  put(Stored(kCash), 1'200'000, true);
  for (std::int64_t bank : c.banks) put(bank, 12'000'000, true);
  put(Stored(kNotesReceivable), 2'000'000, true);
  // Customers and suppliers share one total however many there are.
  const auto customers = static_cast<std::int64_t>(c.customers.size());
  const auto suppliers = static_cast<std::int64_t>(c.suppliers.size());
  for (std::int64_t customer : c.customers) put(customer, 3'000'000 / customers, true);
  put(Stored(kGoods), 4'500'000, true);
  put(Stored(kLoanReceivable), 1'000'000, true);
  put(Stored(kPrepaid), 600'000, true);
  if (context.options.manufacturing) {
    put(Stored(kMaterials), 1'800'000, true);
    put(Stored(kWorkInProcess), 900'000, true);
  }
  put(Stored(kBuildings), 28'000'000, true);
  put(Stored(kVehicles), 3'200'000, true);
  put(Stored(kTools), 1'500'000, true);
  put(Stored(kLand), 20'000'000, true);
  put(Stored(kSoftware), 800'000, true);
  put(Stored(kSecurities), 5'000'000, true);
  put(Stored(kDeposits), 2'000'000, true);
  put(Stored(kStartUp), 400'000, true);
  if (context.options.unclassified) {
    put(Stored(1240), 700'000, true);
    put(Stored(1250), 300'000, true);
    put(Stored(1260), 200'000, true);
  }
  for (std::int64_t supplier : c.suppliers) put(supplier, 2'400'000 / suppliers, false);
  put(Stored(kShortLoan), 5'000'000, false);
  put(Stored(kAccrued), 900'000, false);
  put(Stored(kIncomeTaxPayable), 1'400'000, false);
  put(Stored(kWithholding), 350'000, false);
  put(Stored(kLongLoan), 24'000'000, false);
  put(Stored(kCapital), 10'000'000, false);
  put(Stored(3210), 2'000'000, false);
  put(Stored(3220), 500'000, false);
  put(Stored(3310), 1'000'000, false);
  put(Stored(3320), 3'000'000, false);
  put(Stored(3330), 800'000, false);
  put(Stored(kTreasuryStock), 400'000, true);
  put(Stored(3510), 300'000, false);
  put(Stored(3520), 100'000, false);
  put(Stored(3530), 2'000'000, false);
  put(Stored(3610), 200'000, false);
  // The earlier years' retained earnings take the difference, so the
  // opening balance sheet balances.
  const std::int64_t rest = debits - credits;
  rows.push_back({Stored(kRetainedEarnings), rest < 0 ? -rest : 0, rest > 0 ? rest : 0});

  auto insert = [](SqlStatement& s, const Balance& b) {
    return s.Run(b.code, b.debit, b.credit);
  };
  return InsertRows(context.db,
                    "INSERT INTO opening_balance (data_no, code, debit, credit) "
                    "VALUES (1, ?1, ?2, ?3)",
                    rows.data(), rows.size(), insert, error);
}

} // namespace stmtlink

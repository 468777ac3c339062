#include "tools/books/sample_tables.h"

#include <cstdint>
#include <iterator>
#include <vector>

#include "tools/books/era_table.h"
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

// Inserts each row with one prepared statement, checked at every step.
template <typename Row, typename Bind>
bool InsertRows(BooksDb& db, const char* sql, const Row* rows, std::size_t count, Bind bind,
                std::string* error) {
  BooksStatement insert;
  if (!db.Prepare(sql, &insert, error)) return false;
  for (std::size_t i = 0; i < count; ++i) {
    if (!bind(insert, rows[i], error)) return false;
    if (insert.Next(error) != BooksStatement::Step::kDone) return false;
    if (!insert.Reset(error)) return false;
  }
  return true;
}

} // namespace

bool WriteSampleDataSets(SampleContext& context, std::string* error) {
  const SampleOptions& o = context.options;
  const DataSetRow kRows[] = {
      {1, "D0000001", U(u8"株式会社　山桜商事"), 20250401, 20260331, o.manufacturing ? 1 : 0,
       o.interim ? 1 : 0, 0, 1, o.tax_included ? 1 : 0},
  };
  auto bind = [](BooksStatement& s, const DataSetRow& r, std::string* e) {
    return s.BindInt64(1, r.data_no, e) && s.BindText(2, r.data_id, e) &&
           s.BindText(3, r.company_name, e) && s.BindInt64(4, r.period_start, e) &&
           s.BindInt64(5, r.period_end, e) && s.BindInt64(6, r.keeps_mfg_schedule, e) &&
           s.BindInt64(7, r.interim_closing, e) && s.BindInt64(8, r.introduction_month, e) &&
           s.BindInt64(9, r.company_law, e) && s.BindInt64(10, r.tax_included, e);
  };
  return InsertRows(context.db,
                    "INSERT INTO data_set (data_no, data_id, company_name, period_start, "
                    "period_end, keeps_mfg_schedule, interim_closing, introduction_month, "
                    "company_law, tax_included) VALUES (?1, ?2, ?3, ?4, ?5, ?6, ?7, ?8, ?9, ?10)",
                    kRows, std::size(kRows), bind, error);
}

bool WriteSampleEras(SampleContext& context, std::string* error) {
  auto bind = [](BooksStatement& s, const Era& r, std::string* e) {
    return s.BindInt64(1, r.first_day, e) && s.BindText(2, r.name, e) &&
           s.BindText(3, r.abbreviation, e);
  };
  return InsertRows(context.db, "INSERT INTO era (first_day, name, abbreviation) VALUES (?1, ?2, ?3)",
                    kEras, std::size(kEras), bind, error);
}

bool WriteSampleAccounts(SampleContext& context, std::string* error) {
  auto bind = [](BooksStatement& s, const ChartAccount& a, std::string* e) {
    return s.BindInt64(1, a.code, e) && s.BindInt64(2, a.seq, e) &&
           s.BindText(3, a.formal_name, e) && s.BindText(4, a.statement_name, e) &&
           s.BindInt64(5, a.nature, e) && s.BindInt64(6, a.line_type, e) &&
           s.BindInt64(7, a.normal_side, e) && s.BindInt64(8, a.ledger_excluded_a, e) &&
           s.BindInt64(9, a.ledger_excluded_b, e);
  };
  const auto& accounts = context.chart.accounts;
  if (!InsertRows(context.db,
                  "INSERT INTO account (data_no, code, seq, formal_name, statement_name, nature, "
                  "line_type, normal_side, ledger_excluded_a, ledger_excluded_b) "
                  "VALUES (1, ?1, ?2, ?3, ?4, ?5, ?6, ?7, ?8, ?9)",
                  accounts.data(), accounts.size(), bind, error))
    return false;
  auto bind_member = [](BooksStatement& s, const ChartMember& m, std::string* e) {
    return s.BindInt64(1, m.total_code, e) && s.BindInt64(2, m.mask, e);
  };
  const auto& members = context.chart.members;
  return InsertRows(context.db,
                    "INSERT INTO total_member (data_no, total_code, member_mask) "
                    "VALUES (1, ?1, ?2)",
                    members.data(), members.size(), bind_member, error);
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

  auto bind = [](BooksStatement& s, const Balance& b, std::string* e) {
    return s.BindInt64(1, b.code, e) && s.BindInt64(2, b.debit, e) &&
           s.BindInt64(3, b.credit, e);
  };
  return InsertRows(context.db,
                    "INSERT INTO opening_balance (data_no, code, debit, credit) "
                    "VALUES (1, ?1, ?2, ?3)",
                    rows.data(), rows.size(), bind, error);
}

} // namespace stmtlink

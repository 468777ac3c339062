// The sample year's journal. Every entry balances (the debits of its lines,
// tax included, equal its credits); single lines need not: a compound entry
// spreads its accounts over lines with one side each.
#include <algorithm>
#include <cstdint>
#include <initializer_list>
#include <string>
#include <vector>

#include "tools/books/sample_journal_writer.h"
#include "tools/books/sample_tables.h"
#include "tools/books/sql_statement.h"
#include "tools/books/utf8_literal.h"

namespace stmtlink {
namespace {

using namespace chart;


constexpr std::int64_t kUnits = 10000; // 1 yen
constexpr int kPeriodEnd = 20260331;

using Line = SampleLine;

// The calendar date of a day in month position m (1 = April 2025).
int DateOf(int position, int day) {
  const int month = (3 + position - 1) % 12 + 1;
  const int year = month >= 4 ? 2025 : 2026;
  return year * 10000 + month * 100 + day;
}

class YearWriter {
 public:
  YearWriter(SampleContext& context, std::string* error)
      : c_(context), chart_(context.chart), journal_(context, error) {}

  bool Write() {
    if (!journal_.Prepare()) return false;
    const SampleOptions& o = c_.options;
    // In line mode the entries are spread over the months by an estimate
    // of their number; the last month takes whatever is still missing.
    const std::uint64_t planned = o.lines ? o.lines * 93 / 100 + 1 : o.entries; // ~1.07 lines an entry
    for (int position = 1; position <= 12; ++position) {
      const std::uint64_t until = planned * static_cast<std::uint64_t>(position) / 12;
      if (!MonthlyEntries(position)) return false;
      while (made_ < until || (position == 12 && o.lines && journal_.lines() < o.lines)) {
        if (!RandomEntry(position)) return false;
        ++made_;
      }
      if (position == 6 && o.interim && !Adjustments(kSampleInterimSlot, DateOf(6, 30), 2))
        return false;
    }
    if (!Adjustments(13, kPeriodEnd, 1)) return false;
    c_.year_end.balances = journal_.balances();
    c_.year_end.net_income = journal_.Profit();
    return true;
  }

 private:
  // Deposits are kept above this much when the company pays from them.
  static constexpr std::int64_t kBankFloor = 3'000'000 * kUnits;
  static constexpr std::int64_t kLoanStep = 5'000'000 * kUnits;
  static constexpr std::int64_t kCashFloat = 100'000 * kUnits, kCashDraw = 500'000 * kUnits;

  std::int64_t Yen(std::int64_t low, std::int64_t high) {
    return std::uniform_int_distribution<std::int64_t>(low, high)(c_.random) * kUnits;
  }
  static std::int64_t Tax(std::int64_t units) { return units / 10 / kUnits * kUnits; }
  template <typename T>
  T Pick(const std::vector<T>& list) {
    return list[std::uniform_int_distribution<std::size_t>(0, list.size() - 1)(c_.random)];
  }
  int Day() { return std::uniform_int_distribution<int>(1, 28)(c_.random); }
  std::string Text(const char8_t* what, std::int64_t code) {
    return U(what) + std::string(U(u8"　")) + journal_.Name(code);
  }

  // The entries every month has: payroll, rent, social insurance.
  bool MonthlyEntries(int position) {
    const int date = DateOf(position, 25);
    const std::int64_t salaries = Yen(2'000'000, 2'400'000);
    const std::int64_t directors = 800'000 * kUnits;
    const std::int64_t withheld = Tax(salaries + directors) + Yen(10'000, 30'000);
    if (!MonthlyPayments(position)) return false;
    const std::int64_t bank = PayingBank(position, date, salaries + directors + 660'000 * kUnits);
    if (bank == 0) return false;
    // Compound: two debits, two credits, neither line balanced on its own.
    if (!journal_.Entry(position, date, U(u8"給与支払"),
                        {{Stored(kSalaries), salaries, 0, bank, salaries + directors - withheld, 0},
                         {Stored(kDirectorsPay), directors, 0, Stored(kWithholding), withheld, 0}}))
      return false;
    const std::int64_t rent = 300'000 * kUnits;
    if (!journal_.Entry(position, DateOf(position, 27), U(u8"事務所家賃"),
                        {{Stored(kRent), rent, Tax(rent), bank, rent + Tax(rent), 0}}))
      return false;
    const std::int64_t welfare = Yen(300'000, 360'000);
    if (!journal_.Entry(position, DateOf(position, 28), U(u8"社会保険料"),
                        {{Stored(kWelfare), welfare, 0, bank, welfare, 0}}))
      return false;
    if (!SettlementEntries(position)) return false;
    const std::int64_t income_taxes = -journal_.Balance(Stored(kIncomeTaxPayable));
    if (position == 2 && income_taxes > 0 &&
        !journal_.Entry(position, DateOf(position, 30), U(u8"法人税等納付"),
                        {{Stored(kIncomeTaxPayable), income_taxes, 0, bank, income_taxes, 0}}))
      return false;
    return true;
  }

  // On the 10th: last month's withheld income tax goes to the tax office
  // and what the company owes on account is paid.
  bool MonthlyPayments(int position) {
    const int date = DateOf(position, 10);
    for (const auto& [code, text] : {std::pair{Stored(kWithholding), U(u8"源泉所得税等納付")},
                                     std::pair{Stored(kAccrued), U(u8"未払金支払")}}) {
      const std::int64_t owed = -journal_.Balance(code);
      if (owed <= 0) continue;
      const std::int64_t bank = PayingBank(position, date, owed);
      if (bank == 0 || !journal_.Entry(position, date, text, {{code, owed, 0, bank, owed, 0}}))
        return false;
    }
    return true;
  }

  // The bank that pays an amount: the one holding more, topped up first by
  // a short-term bank loan when paying would leave it below the floor.
  // 0 when the loan cannot be written.
  std::int64_t PayingBank(int slot, int date, std::int64_t amount) {
    std::int64_t bank = chart_.banks.front();
    for (std::int64_t b : chart_.banks)
      if (journal_.Balance(b) > journal_.Balance(bank)) bank = b;
    const std::int64_t short_by = amount + kBankFloor - journal_.Balance(bank);
    if (short_by <= 0) return bank;
    const std::int64_t loan = (short_by + kLoanStep - 1) / kLoanStep * kLoanStep;
    return journal_.Entry(slot, date, U(u8"短期借入金の借入"),
                          {{bank, loan, 0, Stored(kShortLoan), loan, 0}})
               ? bank
               : 0;
  }

  // The cash account, after drawing cash from a bank when paying would
  // leave less than the float; 0 when the withdrawal cannot be written.
  std::int64_t PayingCash(int slot, int date, std::int64_t amount) {
    const std::int64_t cash = Stored(kCash);
    if (journal_.Balance(cash) - amount >= kCashFloat) return cash;
    const std::int64_t bank = PayingBank(slot, date, kCashDraw);
    return bank != 0 && journal_.Entry(slot, date, U(u8"預金引出"),
                                       {{cash, kCashDraw, 0, bank, kCashDraw, 0}})
               ? cash
               : 0;
  }

  // What a customer pays, or the company pays a supplier: part of what is
  // owed, in thousands of yen; 0 when little is owed.
  std::int64_t PartOfOwed(std::int64_t owed) {
    const std::int64_t percent = std::uniform_int_distribution<std::int64_t>(40, 80)(c_.random);
    const std::int64_t thousand = 1'000 * kUnits;
    const std::int64_t part = owed / 100 * percent / thousand * thousand;
    return part >= 10'000 * kUnits ? part : 0;
  }

  // Two compound entries with several accounts on both sides, in every
  // month, at fixed amounts (they draw nothing from the random stream).
  bool SettlementEntries(int position) {
    const std::int64_t bank = chart_.banks.front();
    const std::int64_t travel = 30'000 * kUnits, supplies = 5'000 * kUnits;
    if (PayingCash(position, DateOf(position, 20), 20'000 * kUnits) == 0) return false;
    // The first line does not balance; the second does on its own but
    // follows it, so its counterpart is several accounts; the third line
    // is one-sided.
    if (!journal_.Entry(position, DateOf(position, 20), U(u8"立替経費精算"),
                        {{Stored(kTravel), travel, 0, Stored(kCash), 20'000 * kUnits, 0},
                         {Stored(kSupplies), supplies, 0, bank, supplies, 0},
                         {0, 0, 0, bank, 10'000 * kUnits, 0}}))
      return false;
    // Every line balances on its own: each names its own counterpart.
    const std::int64_t advance = 50'000 * kUnits, refund = 8'000 * kUnits;
    return journal_.Entry(position, DateOf(position, 21), U(u8"仮払精算"),
                          {{Stored(kPrepaid), advance, 0, bank, advance, 0},
                           {Stored(kCash), refund, 0, Stored(kPrepaid), refund, 0}});
  }

  // Two lines, each balanced on its own, with two accounts on each side:
  // the second line is a later line of a balanced 0x22 entry. Made instead
  // of a random entry while such lines are below their share.
  bool BalancedCompoundEntry(int position, int date) {
    const std::vector<std::int64_t>& expenses = chart_.taxed_expenses;
    const std::size_t n = expenses.size();
    const std::size_t i = std::uniform_int_distribution<std::size_t>(0, n - 1)(c_.random);
    const std::size_t j = (i + 1 + std::uniform_int_distribution<std::size_t>(0, n - 2)(c_.random)) % n;
    // Small amounts: a large share of these must not sink the year.
    const std::int64_t a = Yen(1'000, 20'000), b = Yen(1'000, 20'000);
    ++balanced_later_lines_;
    const std::int64_t bank = PayingBank(position, date, a), cash = PayingCash(position, date, b);
    return bank != 0 && cash != 0 &&
           journal_.Entry(position, date, U(u8"経費精算"),
                          {{expenses[i], a, 0, bank, a, 0}, {expenses[j], b, 0, cash, b, 0}});
  }

  bool RandomEntry(int position) {
    const int date = DateOf(position, Day());
    const std::uint64_t percent = c_.options.balanced_compound_percent;
    if (percent != 0 && balanced_later_lines_ * 100 < percent * journal_.lines())
      return BalancedCompoundEntry(position, date);
    const int kind = std::uniform_int_distribution<int>(0, 99)(c_.random);
    if (kind >= 27 && kind < 42) { // collection, now and then less a transfer fee
      const std::int64_t customer = Pick(chart_.customers);
      const std::int64_t amount = PartOfOwed(journal_.Balance(customer));
      if (amount != 0) return Collection(position, date, kind < 32, customer, amount);
    }
    if (kind >= 57 && kind < 69) { // payment
      const std::int64_t supplier = Pick(chart_.suppliers);
      const std::int64_t amount = PartOfOwed(-journal_.Balance(supplier));
      const std::int64_t bank = amount != 0 ? PayingBank(position, date, amount) : 0;
      if (bank != 0)
        return journal_.Entry(position, date, Text(u8"支払", supplier),
                              {{supplier, amount, 0, bank, amount, 0}});
    }
    // Nothing owed to collect or pay: a sale or a purchase on credit.
    return TradeOrExpense(position, date, kind);
  }

  bool Collection(int position, int date, bool less_fee, std::int64_t customer,
                  std::int64_t amount) {
    const std::int64_t bank = Pick(chart_.banks);
    if (less_fee) {
      const std::int64_t fee = 600 * kUnits;
      return journal_.Entry(position, date, Text(u8"入金（振込手数料差引）", customer),
                            {{bank, amount - fee - Tax(fee), 0, customer, amount, 0},
                             {Stored(kFees), fee, Tax(fee), 0, 0, 0}});
    }
    return journal_.Entry(position, date, Text(u8"入金", customer),
                          {{bank, amount, 0, customer, amount, 0}});
  }

  bool TradeOrExpense(int position, int date, int kind) {
    const bool mfg = c_.options.manufacturing;
    // Nothing to collect: a sale on credit instead; nothing to pay: a purchase.
    if (kind >= 27 && kind < 42) kind = 0;
    if (kind >= 57 && kind < 69) kind = 42 + (kind - 57);
    if (kind < 22) { // sale on credit; made goods carry their own costs too
      const std::int64_t customer = Pick(chart_.customers);
      const std::int64_t amount = Yen(60'000, mfg ? 1'100'000 : 960'000);
      return journal_.Entry(position, date, Text(u8"売上", customer),
                            {{customer, amount + Tax(amount), 0, Stored(kSales), amount,
                              Tax(amount)}});
    }
    if (kind < 27) { // cash sale
      const std::int64_t amount = Yen(3'000, 80'000);
      return journal_.Entry(position, date, U(u8"現金売上"),
                            {{Stored(kCash), amount + Tax(amount), 0, Stored(kSales), amount,
                              Tax(amount)}});
    }
    if (kind < 57) { // purchase on credit
      const std::int64_t supplier = Pick(chart_.suppliers), amount = Yen(40'000, 700'000);
      const std::int64_t account = mfg && kind < 50 ? Stored(kMaterialPurchases) : Stored(kPurchases);
      return journal_.Entry(position, date, Text(u8"仕入", supplier),
                            {{account, amount, Tax(amount), supplier, amount + Tax(amount), 0}});
    }
    if (kind < 88) { // an expense with tax
      const std::int64_t account = Pick(chart_.taxed_expenses), amount = Yen(1'000, 120'000);
      const std::int64_t paid_by = kind < 80   ? PayingBank(position, date, amount + Tax(amount))
                                   : kind < 85 ? PayingCash(position, date, amount + Tax(amount))
                                               : Stored(kAccrued);
      if (paid_by == 0) return false;
      return journal_.Entry(position, date, journal_.Name(account),
                            {{account, amount, Tax(amount), paid_by, amount + Tax(amount), 0}});
    }
    if (kind < 90) { // loan repayment with interest
      const std::int64_t principal = 200'000 * kUnits, interest = Yen(8'000, 20'000);
      const std::int64_t bank = PayingBank(position, date, principal + interest);
      if (bank == 0) return false;
      return journal_.Entry(position, date, U(u8"借入金返済"),
                            {{Stored(kLongLoan), principal, 0, bank, principal + interest, 0},
                             {Stored(kInterestExpense), interest, 0, 0, 0, 0}});
    }
    if (kind < 92) { // sales return
      const std::int64_t customer = Pick(chart_.customers), amount = Yen(5'000, 60'000);
      return journal_.Entry(position, date, Text(u8"返品", customer),
                            {{Stored(kSalesReturns), amount, Tax(amount), customer,
                              amount + Tax(amount), 0}});
    }
    if (kind < 94) { // transfer between the banks: sub-accounts on both sides
      const std::int64_t amount = Yen(100'000, 1'000'000);
      const std::int64_t from = PayingBank(position, date, amount);
      const std::int64_t to = from == chart_.banks.front() ? chart_.banks.back() : chart_.banks.front();
      return from != 0 && journal_.Entry(position, date, U(u8"口座振替"),
                                         {{to, amount, 0, from, amount, 0}});
    }
    if (kind < 95) {
      const std::int64_t bank = Pick(chart_.banks), amount = Yen(100, 5'000);
      return journal_.Entry(position, date, U(u8"預金利息"),
                            {{bank, amount, 0, Stored(kInterestIncome), amount, 0}});
    }
    if (kind < 96) {
      const std::int64_t amount = Yen(1'000, 50'000);
      return journal_.Entry(position, date, U(u8"雑収入"),
                            {{Stored(kCash), amount, 0, Stored(kMiscIncome), amount, 0}});
    }
    if (kind < 97) {
      const std::int64_t amount = Yen(10'000, 90'000);
      if (PayingCash(position, date, amount) == 0) return false;
      return journal_.Entry(position, date, U(u8"印紙税・租税公課"),
                            {{Stored(kTaxesDues), amount, 0, Stored(kCash), amount, 0}});
    }
    if (mfg) { // manufacturing costs
      const std::int64_t amount = Yen(50'000, 500'000);
      const std::int64_t bank = kind == 98 ? 0 : PayingBank(position, date, amount + Tax(amount));
      if (kind != 98 && bank == 0) return false;
      if (kind < 98)
        return journal_.Entry(position, date, U(u8"工場賃金"),
                              {{Stored(kWages), amount, 0, bank, amount, 0}});
      if (kind < 99)
        return journal_.Entry(position, date, U(u8"外注加工費"),
                              {{Stored(kOutsourcing), amount, Tax(amount), Stored(kAccrued),
                                amount + Tax(amount), 0}});
      return journal_.Entry(position, date, U(u8"電力料"),
                            {{Stored(kPower), amount, Tax(amount), bank, amount + Tax(amount), 0}});
    }
    // Equipment bought on account, now and then.
    const std::int64_t amount = Yen(100'000, 400'000);
    return journal_.Entry(position, date, U(u8"備品購入"),
                          {{Stored(kTools), amount, Tax(amount), Stored(kAccrued),
                            amount + Tax(amount), 0}});
  }

  // Closing adjustments in a slot (13 year end, 14 interim); share: 1 for a
  // whole year's depreciation, 2 for half of it.
  bool Adjustments(int slot, int date, int share) {
    const std::int64_t buildings = 1'200'000 * kUnits / share, vehicles = 600'000 * kUnits / share,
                       tools = 300'000 * kUnits / share;
    // One debit against three credits, on three lines.
    if (!journal_.Entry(slot, date, U(u8"減価償却費の計上"),
                        {{Stored(kDepreciation), buildings + vehicles + tools, 0,
                          Stored(kBuildings), buildings, 0},
                         {0, 0, 0, Stored(kVehicles), vehicles, 0},
                         {0, 0, 0, Stored(kTools), tools, 0}}))
      return false;
    if (slot == 13) c_.year_end.depreciation = buildings + vehicles + tools;
    if (!ConsumptionTaxSettlement(slot, date)) return false;
    // The interim's own depreciation is outside the running balances.
    if (slot != 13) return IncomeTaxes(slot, date, buildings + vehicles + tools);
    // Inventories: the opening stock out, the counted closing stock in.
    const std::int64_t opening_goods = OpeningBalance(Stored(kGoods));
    const std::int64_t closing_goods = Yen(3'500'000, 5'500'000);
    if (!journal_.Entry(slot, date, U(u8"期首商品棚卸高の振替"),
                        {{Stored(kOpeningGoods), opening_goods, 0, Stored(kGoods), opening_goods,
                          0}}) ||
        !journal_.Entry(slot, date, U(u8"期末商品棚卸高の計上"),
                        {{Stored(kGoods), closing_goods, 0, Stored(kClosingGoods), closing_goods,
                          0}}))
      return false;
    const std::int64_t prepaid = 300'000 * kUnits;
    if (!journal_.Entry(slot, date, U(u8"前払家賃の振替"),
                        {{Stored(kPrepaid), prepaid, 0, Stored(kRent), prepaid, 0}}))
      return false;
    if (c_.options.manufacturing && !ManufacturingAdjustments(slot, date)) return false;
    return IncomeTaxes(slot, date, 0);
  }

  // The year's (or half year's) consumption tax: what was received on
  // sales (仮受) less what was paid (仮払) is owed (未払消費税等), or due
  // back (未収消費税等) when more was paid. Books with tax included keep no
  // tax on those accounts, so there is nothing to settle.
  bool ConsumptionTaxSettlement(int slot, int date) {
    if (c_.options.tax_included) return true;
    // The interim slot is outside the running balances: its own figures are
    // the months before it, which is what the balances hold then.
    const std::int64_t received = -journal_.Balance(Stored(kOutputTax));
    const std::int64_t paid = journal_.Balance(Stored(kInputTax));
    const std::int64_t owed = received - paid;
    const std::string text = U(u8"消費税等の精算");
    if (owed >= 0)
      return journal_.Entry(slot, date, text,
                            {{Stored(kOutputTax), received, 0, Stored(kInputTax), paid, 0},
                             {0, 0, 0, Stored(kConsumptionTaxPayable), owed, 0}});
    return journal_.Entry(slot, date, text,
                          {{Stored(kOutputTax), received, 0, Stored(kInputTax), paid, 0},
                           {Stored(kConsumptionTaxRefundable), -owed, 0, 0, 0, 0}});
  }

  // Corporate, inhabitants' and enterprise taxes on the profit so far: about
  // 30 per cent, at least the per-capita levy, in hundreds of yen; costs:
  // the period's own adjustments that the running balances leave out.
  bool IncomeTaxes(int slot, int date, std::int64_t costs) {
    const std::int64_t hundred = 100 * kUnits, per_capita = 70'000 * kUnits;
    const std::int64_t profit = journal_.Profit() - costs;
    const std::int64_t taxes =
        std::max(per_capita, profit > 0 ? profit * 3 / 10 / hundred * hundred : 0);
    return journal_.Entry(slot, date, U(u8"法人税等の計上"),
                          {{Stored(kIncomeTaxes), taxes, 0, Stored(kIncomeTaxPayable), taxes, 0}});
  }

  bool ManufacturingAdjustments(int slot, int date) {
    const std::int64_t materials = OpeningBalance(Stored(kMaterials));
    const std::int64_t wip = OpeningBalance(Stored(kWorkInProcess));
    const std::int64_t closing_materials = Yen(1'000'000, 2'000'000);
    const std::int64_t closing_wip = Yen(500'000, 1'200'000);
    const std::int64_t mfg_depreciation = 400'000 * kUnits;
    c_.year_end.depreciation += mfg_depreciation;
    return journal_.Entry(slot, date, U(u8"期首材料棚卸高の振替"),
                          {{Stored(kOpeningMaterials), materials, 0, Stored(kMaterials), materials,
                            0}}) &&
           journal_.Entry(slot, date, U(u8"期末材料棚卸高の計上"),
                          {{Stored(kMaterials), closing_materials, 0, Stored(kClosingMaterials),
                            closing_materials, 0}}) &&
           journal_.Entry(slot, date, U(u8"期首仕掛品棚卸高の振替"),
                          {{Stored(kOpeningWip), wip, 0, Stored(kWorkInProcess), wip, 0}}) &&
           journal_.Entry(slot, date, U(u8"期末仕掛品棚卸高の計上"),
                          {{Stored(kWorkInProcess), closing_wip, 0, Stored(kClosingWip),
                            closing_wip, 0}}) &&
           journal_.Entry(slot, date, U(u8"工場設備の減価償却"),
                          {{Stored(kMfgDepreciation), mfg_depreciation, 0, Stored(kBuildings),
                            mfg_depreciation, 0}});
  }

  std::int64_t OpeningBalance(std::int64_t code) {
    std::string ignored;
    SqlStatement q(&ignored);
    if (!q.Prepare(c_.db,
                   "SELECT debit - credit FROM opening_balance WHERE data_no = 1 AND code = ?1",
                   code) ||
        q.Next() != BooksStatement::Step::kRow)
      return 0;
    return q.row().Int64(0);
  }

  SampleContext& c_;
  const SampleChart& chart_;
  SampleJournalWriter journal_;
  std::uint64_t made_ = 0;
  std::uint64_t balanced_later_lines_ = 0;
};

} // namespace

bool WriteSampleJournal(SampleContext& context, std::string* error) {
  return YearWriter(context, error).Write();
}

} // namespace stmtlink

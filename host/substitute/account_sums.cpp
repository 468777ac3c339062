#include "host/substitute/account_sums.h"

#include <algorithm>
#include <cstring>
#include <limits>
#include <unordered_map>

#include "host/substitute/journal_pass.h"
#include "host/substitute/substitute_home.h"
#include "platform/mbcs.h"
#include "platform/text_codec.h"

namespace stmtlink {
namespace {

constexpr std::int64_t kCodeUnit = 10000;          // code = main x 10,000 + sub
// takes the debit tax (first set)
constexpr std::uint32_t kInputTaxNature = static_cast<std::uint32_t>(kNatureTaxReceivable);
// takes the credit tax (first set)
constexpr std::uint32_t kOutputTaxNature = static_cast<std::uint32_t>(kNatureTaxPayable);

std::int64_t MainCode(std::int64_t code) { return code / kCodeUnit * kCodeUnit; }

template <typename T>
T ClampTo(std::int64_t value) {
  return static_cast<T>(std::clamp<std::int64_t>(value, std::numeric_limits<T>::min(),
                                                 std::numeric_limits<T>::max()));
}

// Adds into *sum; false when the result does not fit 64 bits.
bool Add(std::int64_t* sum, std::int64_t value) {
  return !__builtin_add_overflow(*sum, value, sum);
}
bool Add(std::int64_t* sum, __int128 value) {
  const __int128 total = *sum + value;
  if (total < std::numeric_limits<std::int64_t>::min() || total > std::numeric_limits<std::int64_t>::max())
    return false;
  *sum = static_cast<std::int64_t>(total);
  return true;
}

bool AddRow(SumSlots* to, const SumSlots& from) {
  for (int i = 0; i < kSumSlots; ++i) {
    if (!Add(&to->debit1[i], from.debit1[i]) || !Add(&to->debit2[i], from.debit2[i]) ||
        !Add(&to->credit1[i], from.credit1[i]) || !Add(&to->credit2[i], from.credit2[i]))
      return false;
  }
  return true;
}

class SumsBuilder {
 public:
  SumsBuilder(SubstituteHome& home, BooksDb& db, std::vector<StKAMOKUSUMINFO>* rows, std::string* error)
      : home_(home), db_(db), rows_(*rows), error_(error) {}

  SumsStatus Build(const std::string& data_id) {
    rows_.clear();
    SumsStatus status = FindDataSet(data_id);
    if (status != SumsStatus::kOk) return status;
    if (!ReadAccounts() || !ReadOpeningBalances() || !ReadJournal() || !ReadMembers() ||
        !SumMembers()) {
      rows_.clear();
      return SumsStatus::kBooksError;
    }
    for (std::size_t i = 0; i < rows_.size(); ++i) SetSumSlots(&rows_[i], sums_[i]);
    return SumsStatus::kOk;
  }

 private:
  SumsStatus FindDataSet(const std::string& data_id) {
    BooksStatement q;
    if (!db_.Prepare("SELECT data_no FROM data_set WHERE data_id = ?1", &q, error_) ||
        !q.BindText(1, data_id, error_))
      return SumsStatus::kBooksError;
    switch (q.Next(error_)) {
      case BooksStatement::Step::kRow:
        data_no_ = q.Int64(0);
        return SumsStatus::kOk;
      case BooksStatement::Step::kDone:
        *error_ = "no data set with the data ID " + data_id;
        return SumsStatus::kNoDataSet;
      case BooksStatement::Step::kError:
        break;
    }
    return SumsStatus::kBooksError;
  }

  bool Query(const char* sql, BooksStatement* q) {
    return db_.Prepare(sql, q, error_) && q->BindInt64(1, data_no_, error_);
  }

  // Runs the query and calls row() for each result row; row() may fail.
  template <typename RowFn>
  bool ForEachRow(BooksStatement& q, RowFn row) {
    for (;;) {
      switch (q.Next(error_)) {
        case BooksStatement::Step::kRow:
          if (!row()) return false;
          continue;
        case BooksStatement::Step::kDone:
          return true;
        case BooksStatement::Step::kError:
          return false;
      }
    }
  }

  int RowOf(std::int64_t code) const {
    auto it = index_.find(MainCode(code));
    return it == index_.end() ? -1 : it->second;
  }

  bool ReadAccounts() {
    BooksStatement q;
    if (!Query("SELECT code, formal_name, statement_name, nature, line_type, normal_side, "
               "ledger_excluded_a, ledger_excluded_b FROM account WHERE data_no = ?1 "
               "ORDER BY seq, code",
               &q))
      return false;
    return ForEachRow(q, [&] {
      const std::int64_t code = q.Int64(0);
      if (code % kCodeUnit != 0) return true; // a sub-account: rolled into its main account
      StKAMOKUSUMINFO row;
      std::memset(&row, 0, sizeof(row));
      row.code = ClampTo<std::int32_t>(code);
      MbcsCopy(row.formalName, sizeof(row.formalName), ToCp932(q.Text(1)));
      MbcsCopy(row.statementName, sizeof(row.statementName), ToCp932(q.Text(2)));
      row.nature = static_cast<std::int32_t>(static_cast<std::uint32_t>(q.Int64(3)));
      row.lineType = ClampTo<std::uint8_t>(q.Int64(4));
      row.normalSide = ClampTo<std::uint8_t>(q.Int64(5));
      row.ledgerExcludedA = ClampTo<std::uint8_t>(q.Int64(6));
      row.ledgerExcludedB = ClampTo<std::uint8_t>(q.Int64(7));
      const int at = static_cast<int>(rows_.size());
      if (!index_.emplace(code, at).second) return true; // duplicate code: first one wins
      rows_.push_back(row);
      sums_.push_back(SumSlots{});
      const auto nature = static_cast<std::uint32_t>(row.nature);
      if (input_tax_ < 0 && nature == kInputTaxNature) input_tax_ = at;
      if (output_tax_ < 0 && nature == kOutputTaxNature) output_tax_ = at;
      return true;
    });
  }

  bool Overflow() {
    *error_ = "an account sum does not fit 64 bits";
    return false;
  }

  bool ReadOpeningBalances() {
    BooksStatement q;
    if (!Query("SELECT code, debit, credit FROM opening_balance WHERE data_no = ?1", &q))
      return false;
    return ForEachRow(q, [&] {
      const int at = RowOf(q.Int64(0));
      if (at < 0) return true;
      SumSlots& row = sums_[at];
      const std::int64_t debit = q.Int64(1), credit = q.Int64(2);
      if (!Add(&row.debit1[0], debit) || !Add(&row.debit2[0], debit) ||
          !Add(&row.credit1[0], credit) || !Add(&row.credit2[0], credit))
        return Overflow();
      return true;
    });
  }

  // The journal's lines come summed per main account and slot from the
  // one reading of the journal (journal_pass.h) that the home keeps, which
  // the books check of the run has usually made already.
  bool ReadJournal() {
    std::shared_ptr<const JournalReading> reading = home_.Journal(data_no_, false, error_);
    if (!reading) return false;
    for (const auto& [code, sums] : reading->accounts()) {
      const int at = RowOf(code);
      if (at < 0) continue;
      SumSlots& row = sums_[at];
      for (int slot = 1; slot < kJournalSlots; ++slot) {
        if (!Add(&row.debit1[slot], sums.debit.amount[slot]) ||
            !Add(&row.debit2[slot], sums.debit.amount[slot] + sums.debit.tax[slot]) ||
            !Add(&row.credit1[slot], sums.credit.amount[slot]) ||
            !Add(&row.credit2[slot], sums.credit.amount[slot] + sums.credit.tax[slot]))
          return Overflow();
      }
    }
    // The first set books the tax to the two tax accounts.
    for (int slot = 1; slot < kJournalSlots; ++slot) {
      if ((input_tax_ >= 0 && !Add(&sums_[input_tax_].debit1[slot], reading->debit_tax_posted()[slot])) ||
          (output_tax_ >= 0 && !Add(&sums_[output_tax_].credit1[slot], reading->credit_tax_posted()[slot])))
        return Overflow();
    }
    return true;
  }

  bool ReadMembers() {
    BooksStatement q;
    if (!Query("SELECT total_code, member_mask FROM total_member WHERE data_no = ?1", &q))
      return false;
    masks_.assign(rows_.size(), {});
    return ForEachRow(q, [&] {
      const auto it = index_.find(q.Int64(0));
      if (it != index_.end())
        masks_[it->second].push_back(static_cast<std::uint32_t>(q.Int64(1)));
      return true;
    });
  }

  bool IsMember(int total, int candidate) const {
    const StKAMOKUSUMINFO& row = rows_[candidate];
    if (candidate == total || (row.lineType != 0 && row.lineType != 3)) return false;
    const auto nature = static_cast<std::uint32_t>(row.nature);
    for (std::uint32_t mask : masks_[total])
      if ((nature & mask) == mask) return true;
    return false;
  }

  enum class State : std::uint8_t { kOpen, kSumming, kDone };

  // Adds the members' sums to a computed row, computing members first.
  bool Finish(int total) {
    state_[total] = State::kSumming;
    for (int m = 0; m < static_cast<int>(rows_.size()); ++m) {
      if (!IsMember(total, m)) continue;
      if (!masks_[m].empty()) {
        if (state_[m] == State::kSumming) {
          *error_ = "total rows that include each other (code " + std::to_string(rows_[m].code) +
                    ")";
          return false;
        }
        if (state_[m] == State::kOpen && !Finish(m)) return false;
      }
      if (!AddRow(&sums_[total], sums_[m])) return Overflow();
    }
    state_[total] = State::kDone;
    return true;
  }

  bool SumMembers() {
    state_.assign(rows_.size(), State::kOpen);
    for (int i = 0; i < static_cast<int>(rows_.size()); ++i)
      if (!masks_[i].empty() && state_[i] == State::kOpen && !Finish(i)) return false;
    return true;
  }

  SubstituteHome& home_;
  BooksDb& db_; // the home's books
  std::vector<StKAMOKUSUMINFO>& rows_;
  std::vector<SumSlots> sums_; // per row, aligned; copied into the rows at the end
  std::string* error_;
  std::int64_t data_no_ = 0;
  std::unordered_map<std::int64_t, int> index_; // main code -> row
  int input_tax_ = -1;
  int output_tax_ = -1;
  std::vector<std::vector<std::uint32_t>> masks_; // per row; empty: not a computed row
  std::vector<State> state_;
};

} // namespace

SumsStatus ComputeAccountSums(SubstituteHome& home, const std::string& data_id,
                              std::vector<StKAMOKUSUMINFO>* rows, std::string* error) {
  std::string ignored;
  if (!error) error = &ignored;
  const std::shared_ptr<BooksDb>& books = home.Books(error);
  if (!books) return SumsStatus::kBooksError;
  return SumsBuilder(home, *books, rows, error).Build(data_id);
}

} // namespace stmtlink

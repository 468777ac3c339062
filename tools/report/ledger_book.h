// The general ledger as a book prints it: per account 前期繰越, then each
// row with 日付, 相手勘定科目, 摘要, 借方, 貸方 and 残高, 月計 and 累計 after
// each month, and 期末残高; then every account of the balance sheet that has
// a balance but no row in the report's ledger (the report writes a block
// only for an account with rows), its opening and changes taken from the
// equity statement where that statement answers for it. Rows pass through
// one at a time: nothing of the ledger is kept but one account's sums.
#pragma once

#include <cstdint>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "tools/report/report_reader.h"

namespace stmtlink::report {

enum class LedgerLineKind { kBroughtForward, kEntry, kMonthTotal, kCumulative, kClosing };

struct LedgerLine {
  LedgerLineKind kind = LedgerLineKind::kEntry;
  std::string date, counter_account, description;
  std::optional<std::int64_t> debit, credit, balance;
};

// Where the book's lines go (the HTML writer, the PDF's page painter).
class LedgerBookOutput {
 public:
  virtual ~LedgerBookOutput() = default;
  virtual void BeginAccount(const std::string& account, const std::string& category) = 0;
  virtual void Line(const LedgerLine& line) = 0;
  virtual void EndAccount() = 0;
};

class LedgerBook : public LedgerSink {
 public:
  // root: the report's statements (read before its ledger), for the
  // accounts without rows; may be null.
  LedgerBook(LedgerBookOutput* output, const Node* root) : output_(output), root_(root) {}

  void BeginBlock(const LedgerBlock& block) override;
  void Row(const LedgerRow& row) override;
  void EndBlock() override;
  // After the ledger: the accounts with a balance and no rows.
  void Finish();

  // The month of a ledger date as the report writes it ("令和7年4月" of
  // "令和7年4月1日"); the whole text when it names no month.
  static std::string MonthOf(const std::string& date);

 private:
  void CloseMonth();

  LedgerBookOutput* output_;
  const Node* root_;
  std::set<std::string> seen_;
  std::string category_, month_;
  std::int64_t closing_ = 0;
  std::int64_t month_debit_ = 0, month_credit_ = 0, total_debit_ = 0, total_credit_ = 0;
  bool rows_ = false;
  bool months_ = true; // 月計 and 累計 (not for rows without dates)
};

} // namespace stmtlink::report

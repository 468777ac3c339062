#include "tools/report/ledger_checks.h"

#include <cstdlib>

#include "tools/report/quoted_text.h"

namespace stmtlink::report {
namespace {

const char kBlockPath[] = "/REPORT/DATA/HJ00780S/HJ00780S01";
const char kRowPath[] = "/REPORT/DATA/HJ00780S/HJ00780S01/HJ00780S02";

} // namespace

void LedgerChecker::BeginBlock(const LedgerBlock& block) {
  block_ = block;
  balance_ = block.opening;
  block_rounding_ = 0;
  block_rounding_max_ = 0;
  row_in_block_ = 0;
  ++blocks_;
}

void LedgerChecker::Error(std::int64_t shown, std::int64_t computed, const std::string& what,
                          const std::string& parts, TruncatedTerms terms, long line,
                          const char* path) {
  const std::int64_t difference = Minus(shown, computed);
  if (difference == 0) return;
  if (ExplainedByTruncation(shown, computed, terms)) { // one note per block
    ++block_rounding_;
    const std::int64_t size = difference < 0 ? Minus(0, difference) : difference;
    if (size > block_rounding_max_) block_rounding_max_ = size;
    return;
  }
  if (++errors_ > kMaxListed) return;
  Findings listed;
  listed.CompareFigure("", what, shown, parts, computed, terms, line, path);
  Finding finding = listed.list().front();
  finding.check = "ledger.balance";
  findings_->Add(std::move(finding));
}

void LedgerChecker::Row(const LedgerRow& row) {
  ++rows_;
  ++row_in_block_;
  TruncatedTerms terms;
  terms.Add(balance_, 1);
  terms.Add(row.amount, 1);
  Error(row.balance, Plus(balance_, row.amount),
        "総勘定元帳「" + Quoted(block_.account) + "」の " + std::to_string(row_in_block_) +
            " 行目（伝票番号 " + Quoted(row.entry_no) + "、" + Quoted(row.date) + "）の残高",
        "前の残高と金額の和", terms, row.line, kRowPath);
  balance_ = row.balance;
}

void LedgerChecker::EndBlock() {
  TruncatedTerms terms;
  terms.Add(balance_, 1);
  Error(block_.closing, balance_,
        "総勘定元帳「" + Quoted(block_.account) + "」の期末残高",
        row_in_block_ == 0 ? "期首残高" : "最後の行の残高", terms, block_.line, kBlockPath);
  if (block_rounding_ > 0)
    findings_->Add(Severity::kRounding, "ledger.balance",
                   "総勘定元帳「" + Quoted(block_.account) + "」の残高に、各金額の円未満切り捨てによる端数差が " +
                       std::to_string(block_rounding_) + " か所あります（最大 " +
                       Yen(block_rounding_max_) + "）。",
                   block_.line, kBlockPath);
  if ((block_.account.find("諸口") != std::string::npos ||
       block_.account.find("未確定勘定") != std::string::npos) &&
      block_.closing != 0)
    findings_->Add(Severity::kWarning, "warn.suspense",
                   "総勘定元帳の「" + Quoted(block_.account) + "」に期末残高 " + Yen(block_.closing) +
                       " が残っています。振替先の科目を確かめてください。",
                   block_.line, kBlockPath);
}

void LedgerChecker::Finish() {
  if (errors_ > kMaxListed)
    findings_->Add(Severity::kError, "ledger.balance",
                   "総勘定元帳の残高の食い違いは、ほかに " + std::to_string(errors_ - kMaxListed) +
                       " か所あります。",
                   0, "/REPORT/DATA/HJ00780S");
}

} // namespace stmtlink::report

// The general ledger's check, block by block as the reader passes them:
// each row's balance is the balance before it plus its amount, and the
// block's closing balance is where its rows end (its opening when it has
// none). Holds one block's counts at a time.
#pragma once

#include "tools/report/findings.h"
#include "tools/report/report_reader.h"

namespace stmtlink::report {

class LedgerChecker : public LedgerSink {
 public:
  explicit LedgerChecker(Findings* findings) : findings_(findings) {}

  void BeginBlock(const LedgerBlock& block) override;
  void Row(const LedgerRow& row) override;
  void EndBlock() override;
  // After the reading: says how many errors were not listed.
  void Finish();

  long blocks() const { return blocks_; }
  long rows() const { return rows_; }

  // Errors beyond this many are counted, not listed.
  static constexpr long kMaxListed = 20;

 private:
  void Error(std::int64_t shown, std::int64_t computed, const std::string& what,
             const std::string& parts, TruncatedTerms terms, long line, const char* path);

  Findings* findings_;
  LedgerBlock block_;
  std::int64_t balance_ = 0;
  long block_rounding_ = 0;
  std::int64_t block_rounding_max_ = 0;
  long blocks_ = 0;
  long rows_ = 0;
  long errors_ = 0;
  long row_in_block_ = 0;
};

} // namespace stmtlink::report

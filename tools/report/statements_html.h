// The report as a Japanese closing-statements document in HTML: a cover
// (company, 自 … 至 … in era dates, 単位 円), the balance sheet in account
// form, the income statement in report form, the manufacturing schedule
// when there is one, the selling and administrative expenses in detail,
// the statement of changes in net assets (or in members' equity), the
// notes and, when asked, the general ledger, one table per account. One
// self-contained file: inline CSS for A4, a page break per statement.
#pragma once

#include <ostream>
#include <string>

#include "tools/report/ledger_book.h"
#include "tools/report/report_reader.h"
#include "tools/report/report_tree.h"

namespace stmtlink::report {

struct HtmlOptions {
  const char* minus = "△";        // the sign of a negative amount ("△" or "-")
  const Node* previous = nullptr;  // last year's report: 前期, 当期 and 増減 columns
  bool for_qt = false;             // the simpler HTML that Qt's text engine lays out
  bool ledger = false;             // the general ledger was asked for
  // Only what e-Tax takes as PDF beside its CSV files: the manufacturing
  // schedule, the equity statement and the notes (when the report has them).
  bool etax_attachments = false;
};

// Writes the document in pieces: the statements once the report has been
// read up to its ledger, the ledger's tables as its rows arrive, the end.
// Nothing of the ledger is kept.
class StatementsHtml : public LedgerSink, private LedgerBookOutput {
 public:
  StatementsHtml(std::ostream& out, const HtmlOptions& options)
      : out_(out), options_(options), book_(this, nullptr) {}

  // Everything before the ledger: head, cover and statements. root: the
  // report read so far (the ledger comes last in it); ledger_follows: the
  // ledger's tables come after (the cover's contents name it).
  void WriteStatements(const Node& root, bool ledger_follows = false);
  // The ledger's tables (this object as the reader's LedgerSink).
  void BeginBlock(const LedgerBlock& block) override;
  void Row(const LedgerRow& row) override;
  void EndBlock() override;
  // Closes the document (with the ledger asked for: after the accounts
  // that have a balance and no rows).
  void Finish();

 private:
  std::string Amount(std::int64_t value) const;
  void OpenLedger();
  // The ledger book's lines (LedgerBookOutput).
  void BeginAccount(const std::string& account, const std::string& category) override;
  void Line(const LedgerLine& line) override;
  void EndAccount() override;

  std::ostream& out_;
  HtmlOptions options_;
  LedgerBook book_;
  const Node* root_ = nullptr;
  bool ledger_open_ = false;
  std::string company_period_; // the running line of every page
};

// HTML text with &, <, > and " escaped.
std::string HtmlEscape(const std::string& text);

} // namespace stmtlink::report

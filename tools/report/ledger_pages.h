// The ledger book laid out on pages of a fixed number of rows, so that a
// PDF can paint it page by page as the report is read, keeping nothing but
// the page at hand. An account starts with its name and the column
// headings; on every page it continues onto, its name with 「（続き）」 and
// the headings come again. Laid out with no painter, it only counts pages
// (the first of two passes, for the page numbers' total).
#pragma once

#include <string>

#include "tools/report/ledger_book.h"

namespace stmtlink::report {

// Rows on one A4 page of the ledger (its body of 257 mm, 4.8 mm a row).
constexpr int kLedgerRowsPerPage = 53;

class LedgerPagePainter {
 public:
  virtual ~LedgerPagePainter() = default;
  virtual void NewPage() = 0;
  virtual void Title(int row, const std::string& text) = 0;
  virtual void AccountHead(int row, const std::string& caption) = 0;
  virtual void Headings(int row) = 0;
  virtual void Line(int row, const LedgerLine& line) = 0;
};

class LedgerPagination : public LedgerBookOutput {
 public:
  // painter null: count the pages only.
  LedgerPagination(int rows_per_page, LedgerPagePainter* painter) : rows_(rows_per_page), painter_(painter) {}

  void BeginAccount(const std::string& account, const std::string& category) override;
  void Line(const LedgerLine& line) override;
  void EndAccount() override;

  int pages() const { return pages_; }

 private:
  void NewPage();
  void Head(const std::string& caption);

  int rows_;
  LedgerPagePainter* painter_;
  int pages_ = 0;
  int row_ = 0;
  std::string caption_;
};

} // namespace stmtlink::report

#include "tools/report/ledger_pages.h"

namespace stmtlink::report {

void LedgerPagination::NewPage() {
  ++pages_;
  row_ = 0;
  if (painter_) painter_->NewPage();
  if (pages_ == 1) { // the book's title, once
    if (painter_) painter_->Title(row_, "総勘定元帳");
    row_ += 2;
  }
}

void LedgerPagination::Head(const std::string& caption) {
  if (painter_) {
    painter_->AccountHead(row_, caption);
    painter_->Headings(row_ + 1);
  }
  row_ += 2;
}

void LedgerPagination::BeginAccount(const std::string& account, const std::string& category) {
  caption_ = account + "（" + category + "）";
  // An account starts where its head and two lines fit.
  if (pages_ == 0 || row_ + 4 > rows_) NewPage();
  Head(caption_);
}

void LedgerPagination::Line(const LedgerLine& line) {
  if (row_ >= rows_) {
    NewPage();
    Head(caption_ + "（続き）");
  }
  if (painter_) painter_->Line(row_, line);
  ++row_;
}

void LedgerPagination::EndAccount() { ++row_; } // a blank row before the next account

} // namespace stmtlink::report

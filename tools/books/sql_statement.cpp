#include "tools/books/sql_statement.h"

#include "tools/books/books_language.h"

namespace stmtlink {

bool SqlStatement::StepToEnd() {
  switch (statement_.Next(error_)) {
    case BooksStatement::Step::kDone:
      return statement_.Reset(error_);
    case BooksStatement::Step::kRow:
      *error_ = Say("a statement that writes returned a row", u8"書き込む文が行を返しました");
      return false;
    case BooksStatement::Step::kError:
      break;
  }
  return false;
}

} // namespace stmtlink

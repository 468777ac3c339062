#include "host/substitute/account_master.h"

#include <cstring>

#include "host/substitute/books_db.h"
#include "platform/mbcs.h"
#include "platform/text_codec.h"

namespace stmtlink {

std::shared_ptr<AccountMaster> ReadAccountMaster(BooksDb& books, std::int64_t data_no, std::string* error) {
  BooksStatement rows;
  if (!books.Prepare("SELECT code, formal_name, nature FROM account "
                     "WHERE data_no = ?1 ORDER BY seq, code",
                     &rows, error) ||
      !rows.BindInt64(1, data_no, error))
    return nullptr;
  auto master = std::make_shared<AccountMaster>();
  std::vector<std::int64_t> codes;
  for (;;) {
    BooksStatement::Step step = rows.Next(error);
    if (step == BooksStatement::Step::kDone) break;
    if (step == BooksStatement::Step::kError) return nullptr;
    StKAMOKUINFO row;
    std::memset(&row, 0, sizeof(row));
    row.code = static_cast<std::int32_t>(rows.Int64(0));
    MbcsCopy(row.name, sizeof(row.name), ToCp932(rows.Text(1)));
    row.nature = static_cast<std::int32_t>(static_cast<std::uint32_t>(rows.Int64(2)));
    codes.push_back(rows.Int64(0));
    master->rows.push_back(row);
  }
  master->Index(codes);
  return master;
}

} // namespace stmtlink

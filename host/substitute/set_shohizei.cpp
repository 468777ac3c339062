#include "host/set_shohizei.h"

#include <algorithm>
#include <string>

#include "host/substitute/books_db.h"
#include "host/substitute/host_call.h"
#include "host/substitute/substitute_home.h"
#include "host/host_errors.h"
#include "platform/text_codec.h"

long ClSetShohizei::Get(StSHOHIZEIINFO* out) {
  if (long code = stmtlink::BeginHostCall("ClSetShohizei::Get")) return code;
  if (!out) return stmtlink::kHostErrorArgument;
  std::string error;
  auto books = stmtlink::CurrentBooks(&error);
  if (!books) return stmtlink::kHostErrorBooks;
  stmtlink::BooksStatement row;
  if (!books->Prepare("SELECT tax_included FROM data_set WHERE data_id = ?1", &row, &error))
    return stmtlink::kHostErrorBooks;
  // The current ID is the program's CP932 text; the books hold UTF-8.
  if (!row.BindText(1, stmtlink::ToUtf8(cur_data_id_), &error)) return stmtlink::kHostErrorBooks;
  switch (row.Next(&error)) {
    case stmtlink::BooksStatement::Step::kRow:
      break;
    case stmtlink::BooksStatement::Step::kDone:
      return stmtlink::kHostErrorNoDataSet;
    case stmtlink::BooksStatement::Step::kError:
      return stmtlink::kHostErrorBooks;
  }
  StSHOHIZEIINFO record{};
  record.taxIncluded = static_cast<std::uint8_t>(std::clamp<std::int64_t>(row.Int64(0), 0, 255));
  *out = record;
  return 0;
}

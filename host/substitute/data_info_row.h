// The data_set row of the books as the host's StDATAINFO record.
#pragma once

#include "host/substitute/books_db.h"
#include "host/host_records.h"

namespace stmtlink {

// The columns that FillDataInfo reads, in its order, for a SELECT list.
extern const char kDataInfoColumns[];

// Fills a zero-filled record from the current row of a statement that selects
// kDataInfoColumns first. Texts are converted to CP932 and cut to their
// fields without splitting a double-byte character; numbers that do not fit
// their field are clamped to it.
void FillDataInfo(const BooksStatement& row, StDATAINFO* out);

} // namespace stmtlink

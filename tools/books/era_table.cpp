#include "tools/books/era_table.h"

#include <iterator>

#include "tools/books/book_values.h"
#include "tools/books/utf8_literal.h"

namespace stmtlink {

const Era kEras[5] = {
    {18681023, U(u8"明治"), "M"}, {19120730, U(u8"大正"), "T"}, {19261225, U(u8"昭和"), "S"},
    {19890108, U(u8"平成"), "H"}, {20190501, U(u8"令和"), "R"},
};

} // namespace stmtlink

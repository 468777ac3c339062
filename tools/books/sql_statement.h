// One SQL statement of the books tool, every step's status checked: its
// values bound to ?1, ?2, ... in one call, a statement that writes stepped to
// its end and reset for the next values, a query's rows handed over one by
// one. A failure returns false with SQLite's message in the text given at
// construction; the caller puts it in the tool's words. The statement is
// finalized with the object.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <type_traits>
#include <utility>

#include "host/substitute/books_db.h"

namespace stmtlink {

// A text bound without a copy: it must stay as it is until the statement
// has been stepped and reset.
struct TextInPlace {
  std::string_view text;
};

class SqlStatement {
 public:
  // error: where a failure's message goes; it outlives the statement.
  explicit SqlStatement(std::string* error) : error_(error) {}

  // Prepares sql and binds values to ?1, ?2, ... (as Bind).
  template <typename... Values>
  bool Prepare(BooksDb& db, std::string_view sql, const Values&... values) {
    return db.Prepare(sql, &statement_, error_) && Bind(values...);
  }

  // Binds values to ?1, ?2, ...: whole numbers as 64-bit integers, texts
  // (string, string_view, C string) copied, a TextInPlace not.
  template <typename... Values>
  bool Bind(const Values&... values) {
    return BindFrom(0, values...);
  }
  // The same from parameter first + 1 on (one of the rows of a multi-row
  // insert).
  template <typename... Values>
  bool BindFrom(int first, const Values&... values) {
    [[maybe_unused]] int index = first; // unused when there are no values
    return (BindOne(++index, values) && ...);
  }

  // Binds values, steps the statement to its end and resets it for the
  // next values. A row is a failure: the statement was to return none.
  template <typename... Values>
  bool Run(const Values&... values) {
    return Bind(values...) && StepToEnd();
  }

  // Steps through the rows, handing each to each(row), row a
  // const BooksStatement& to read the columns from.
  template <typename Each>
  bool ForEachRow(Each&& each) {
    for (;;) {
      const BooksStatement::Step step = statement_.Next(error_);
      if (step == BooksStatement::Step::kError) return false;
      if (step == BooksStatement::Step::kDone) return true;
      each(std::as_const(statement_));
    }
  }

  // One step, for a query of one row: kRow (read it from row()), kDone
  // (none) or kError.
  BooksStatement::Step Next() { return statement_.Next(error_); }
  const BooksStatement& row() const { return statement_; }

 private:
  bool StepToEnd();

  template <typename Value>
  bool BindOne(int index, const Value& value) {
    if constexpr (std::is_same_v<Value, TextInPlace>)
      return statement_.BindTextInPlace(index, value.text, error_);
    else if constexpr (std::is_integral_v<Value>)
      return statement_.BindInt64(index, static_cast<std::int64_t>(value), error_);
    else
      return statement_.BindText(index, std::string_view(value), error_);
  }

  std::string* error_;
  BooksStatement statement_;
};

} // namespace stmtlink

// A value read from the books (a table, an index) that the program asks for
// again and again, kept while the same open books keep the same data version
// and the same key is asked for. One value per cache: a new key replaces it.
//
// The data version moves once a statement has run after a change (see
// BooksDb::Stamp), so a value read before another connection changed the
// books is dropped at the first look after any later statement.
#pragma once

#include <memory>
#include <string>

#include "host/substitute/books_db.h"

namespace stmtlink {

template <typename Value, typename Key>
class BooksCache {
 public:
  // The cached value, or the one `load` reads: std::shared_ptr<Value>
  // load(std::string* error), null on failure (then nothing is kept).
  // Returned by reference to the kept value, valid until the next Get: a
  // caller that keeps it copies it.
  template <typename Load>
  const std::shared_ptr<const Value>& Get(const BooksDb& db, const Key& key, Load load,
                                          std::string* error) {
    const BooksStamp stamp = db.Stamp();
    if (value_ && stamp_ == stamp && key_ == key) return value_;
    value_.reset(); // free the old value before reading the new one
    std::shared_ptr<const Value> fresh = load(error);
    if (!fresh) return value_; // null
    stamp_ = stamp;
    key_ = key;
    value_ = std::move(fresh);
    return value_;
  }

 private:
  BooksStamp stamp_;
  Key key_{};
  std::shared_ptr<const Value> value_;
};

} // namespace stmtlink

// The account master of one data set as the account set hands it out.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "host/ledger_records.h"

namespace stmtlink {

class BooksDb;

// The account master of one data set in master order (seq, then code),
// with its codes in a flat table (open addressing, a power of two at most
// half full): the ledger looks an account up several times a row, and a
// node-based map costs a cache miss or two each time.
struct AccountMaster {
  std::vector<StKAMOKUINFO> rows;
  struct Slot {
    std::int64_t code = 0;
    std::size_t row = kNone; // kNone: an empty slot
  };
  static constexpr std::size_t kNone = ~std::size_t{0};
  std::vector<Slot> by_code;

  static std::size_t Hash(std::int64_t code) {
    return static_cast<std::size_t>((static_cast<std::uint64_t>(code) * 0x9E3779B97F4A7C15ull) >> 20);
  }
  // The first row with the code (the first one wins), or kNone.
  std::size_t Find(std::int64_t code) const {
    const std::size_t mask = by_code.size() - 1;
    for (std::size_t at = Hash(code) & mask; by_code[at].row != kNone; at = (at + 1) & mask)
      if (by_code[at].code == code) return by_code[at].row;
    return kNone;
  }
  void Index(const std::vector<std::int64_t>& codes) {
    std::size_t size = 16;
    while (size < 2 * codes.size()) size *= 2;
    by_code.assign(size, Slot{});
    const std::size_t mask = size - 1;
    for (std::size_t row = 0; row < codes.size(); ++row) {
      std::size_t at = Hash(codes[row]) & mask;
      for (; by_code[at].row != kNone; at = (at + 1) & mask)
        if (by_code[at].code == codes[row]) break;
      if (by_code[at].row == kNone) by_code[at] = Slot{codes[row], row};
    }
  }
};

// The master of data set data_no from the books' account table; null with
// *error set when it cannot be read.
std::shared_ptr<AccountMaster> ReadAccountMaster(BooksDb& books, std::int64_t data_no, std::string* error);

} // namespace stmtlink

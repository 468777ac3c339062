// A fixed-point sum of money as the host keeps it: 1/10,000 yen, held as a
// sign (+1 or -1; zero is +1), a non-negative integer part (yen) and a
// fraction part (0 to 9,999 ten-thousandths).
//
// Every sum and difference is checked: a result whose magnitude reaches
// 10^18 units throws AmountOverflow, so no figure beyond the limit ever
// reaches a statement or the ledger (the receiver takes amounts below it,
// and a figure that wrapped round would be plainly wrong). A single value
// read from the books may lie beyond the limit; it overflows as soon as it
// takes part in a sum.
#pragma once

#include <cstdint>

namespace stmtlink {

// The overflow of an Amount sum; code() is -1.
class AmountOverflow {
 public:
  int code() const { return -1; }
};

class Amount {
 public:
  // The magnitude from which a checked sum overflows (units).
  static constexpr std::int64_t kLimit = 1'000'000'000'000'000'000;

  Amount() = default;
  virtual ~Amount() = default;
  Amount(const Amount&) = default;
  Amount& operator=(const Amount&) = default;

  // From a value in 1/10,000 yen.
  static Amount FromUnits(std::int64_t units);
  // From a whole number of yen.
  static Amount FromYen(std::int32_t yen);

  // The value in 1/10,000 yen.
  std::int64_t Units() const;
  std::int16_t sign() const { return sign_; }
  std::int64_t integerPart() const { return integer_; }
  std::uint32_t fractionPart() const { return fraction_; }

  // Each throws AmountOverflow when the magnitude of the result >= kLimit.
  Amount operator+(const Amount& other) const;
  Amount operator-(const Amount& other) const;
  Amount& operator+=(const Amount& other);
  friend Amount operator+(std::int64_t units, const Amount& amount);

  bool operator==(const Amount& other) const {
    return sign_ == other.sign_ && integer_ == other.integer_ && fraction_ == other.fraction_;
  }
  bool operator!=(const Amount& other) const { return !(*this == other); }
  // True when the amount is not exactly that many yen.
  bool operator!=(std::int32_t yen) const;

 private:
  std::int16_t sign_ = 1;
  std::int64_t integer_ = 0;
  std::uint32_t fraction_ = 0;
};

// The same checked arithmetic on values in 1/10,000 yen, for sums kept as
// plain integers (the ledger's movements and running balance): throws
// AmountOverflow when the magnitude of the result reaches Amount::kLimit.
std::int64_t AddUnits(std::int64_t a, std::int64_t b);
std::int64_t SubtractUnits(std::int64_t a, std::int64_t b);

} // namespace stmtlink

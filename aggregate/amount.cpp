#include "aggregate/amount.h"

namespace stmtlink {
namespace {

constexpr std::uint64_t kUnitsPerYen = 10000;

std::int64_t WithinLimit(std::int64_t units) {
  if (units >= Amount::kLimit || units <= -Amount::kLimit) throw AmountOverflow();
  return units;
}

} // namespace

// A result beyond 64 bits is beyond the limit as well; it never wraps.
std::int64_t AddUnits(std::int64_t a, std::int64_t b) {
  std::int64_t out;
  if (__builtin_add_overflow(a, b, &out)) throw AmountOverflow();
  return WithinLimit(out);
}

std::int64_t SubtractUnits(std::int64_t a, std::int64_t b) {
  std::int64_t out;
  if (__builtin_sub_overflow(a, b, &out)) throw AmountOverflow();
  return WithinLimit(out);
}

Amount Amount::FromUnits(std::int64_t units) {
  Amount a;
  // The magnitude in unsigned arithmetic, so the most negative value works.
  const std::uint64_t magnitude =
      units < 0 ? 0 - static_cast<std::uint64_t>(units) : static_cast<std::uint64_t>(units);
  a.sign_ = units < 0 ? -1 : 1;
  a.integer_ = static_cast<std::int64_t>(magnitude / kUnitsPerYen);
  a.fraction_ = static_cast<std::uint32_t>(magnitude % kUnitsPerYen);
  return a;
}

Amount Amount::FromYen(std::int32_t yen) {
  Amount a;
  a.sign_ = yen < 0 ? -1 : 1;
  a.integer_ = yen < 0 ? -static_cast<std::int64_t>(yen) : yen;
  return a;
}

std::int64_t Amount::Units() const {
  const std::uint64_t magnitude = static_cast<std::uint64_t>(integer_) * kUnitsPerYen + fraction_;
  return static_cast<std::int64_t>(sign_ < 0 ? 0 - magnitude : magnitude);
}

Amount Amount::operator+(const Amount& other) const {
  return FromUnits(AddUnits(Units(), other.Units()));
}

Amount Amount::operator-(const Amount& other) const {
  return FromUnits(SubtractUnits(Units(), other.Units()));
}

Amount& Amount::operator+=(const Amount& other) {
  *this = FromUnits(AddUnits(Units(), other.Units()));
  return *this;
}

Amount operator+(std::int64_t units, const Amount& amount) {
  return Amount::FromUnits(AddUnits(units, amount.Units()));
}

bool Amount::operator!=(std::int32_t yen) const {
  return fraction_ != 0 || sign_ * integer_ != static_cast<std::int64_t>(yen);
}

} // namespace stmtlink

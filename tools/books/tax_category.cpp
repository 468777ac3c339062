#include "tools/books/tax_category.h"

#include "tools/books/books_language.h"

#include <cstdlib>
#include <vector>

#include "tools/books/book_values.h"
#include "tools/books/nearest_names.h"
#include "tools/books/user_text.h"
#include "tools/books/utf8_literal.h"

namespace stmtlink {
namespace {

// Full-width digits and ％ as ASCII; spaces, brackets and 「率」 left out.
std::string Plain(std::string_view text) {
  static const std::string_view kDropped[] = {
      " ", "\t", U(u8"　"), "(", ")", U(u8"（"), U(u8"）"), "[", "]", U(u8"【"), U(u8"】")};
  std::string out;
  for (std::size_t i = 0; i < text.size();) {
    bool dropped = false;
    for (std::string_view d : kDropped)
      if (text.substr(i, d.size()) == d) {
        i += d.size();
        dropped = true;
        break;
      }
    if (dropped) continue;
    const std::string_view rest = text.substr(i);
    // Full-width digits are EF BC 90 to EF BC 99; ％ is EF BC 85.
    if (rest.size() >= 3 && rest[0] == '\xEF' && rest[1] == '\xBC' &&
        static_cast<unsigned char>(rest[2]) >= 0x90 && static_cast<unsigned char>(rest[2]) <= 0x99) {
      out += static_cast<char>('0' + (static_cast<unsigned char>(rest[2]) - 0x90));
      i += 3;
    } else if (rest.substr(0, 3) == U(u8"％")) {
      out += '%';
      i += 3;
    } else {
      out += text[i++];
    }
  }
  return out;
}

} // namespace

const char kTaxCategories[] =
    "\xE8\xAA\xB2\xE7\xA8\x8E\xE5\xA3\xB2\xE4\xB8\x8A" "10%, "                       // 課税売上
    "\xE8\xAA\xB2\xE7\xA8\x8E\xE5\xA3\xB2\xE4\xB8\x8A" "8%(\xE8\xBB\xBD\xE6\xB8\x9B), " // 課税売上8%(軽減)
    "\xE8\xAA\xB2\xE7\xA8\x8E\xE4\xBB\x95\xE5\x85\xA5" "10%, "                       // 課税仕入
    "\xE8\xAA\xB2\xE7\xA8\x8E\xE4\xBB\x95\xE5\x85\xA5" "8%(\xE8\xBB\xBD\xE6\xB8\x9B), "
    "\xE9\x9D\x9E\xE8\xAA\xB2\xE7\xA8\x8E\xE5\xA3\xB2\xE4\xB8\x8A, "               // 非課税売上
    "\xE9\x9D\x9E\xE8\xAA\xB2\xE7\xA8\x8E\xE4\xBB\x95\xE5\x85\xA5, "               // 非課税仕入
    "\xE5\x85\x8D\xE7\xA8\x8E\xE5\xA3\xB2\xE4\xB8\x8A, "                           // 免税売上
    "\xE5\xAF\xBE\xE8\xB1\xA1\xE5\xA4\x96 (\xE4\xB8\x8D\xE8\xAA\xB2\xE7\xA8\x8E)"; // 対象外 (不課税)

namespace {

// The usual short and long spellings of the taxed kinds, before the rate.
struct TaxedKind {
  const char8_t* spelling;
  bool sales;
};
const TaxedKind kTaxedKinds[] = {
    {u8"課税売上", true},  {u8"課売", true},   {u8"課税仕入", false},
    {u8"課対仕入", false}, {u8"課仕", false},
};

// The rate after a taxed kind: 10%, 8%, and the reduced 8% written 8%軽,
// 8%軽減, 軽減8% or 軽8% (brackets already dropped).
int RateOf(std::string_view rest) {
  if (rest == "10%") return 10;
  for (const char8_t* reduced : {u8"8%", u8"8%軽減", u8"8%軽", u8"軽減8%", u8"軽8%"})
    if (rest == U(reduced)) return 8;
  return -1;
}

struct UntaxedKind {
  const char8_t* spelling;
  bool sales;
};
const UntaxedKind kUntaxedKinds[] = {
    {u8"非課税売上", true}, {u8"非課売上", true},  {u8"非課税仕入", false},
    {u8"非課仕入", false},  {u8"免税売上", true},  {u8"輸出売上", true},
    {u8"対象外", false},    {u8"不課税", false},   {u8"不課", false},
};

} // namespace

bool ParseTaxCategory(std::string_view text, TaxCategory* out) {
  const std::string plain = Plain(text);
  for (const UntaxedKind& k : kUntaxedKinds)
    if (plain == U(k.spelling)) {
      *out = TaxCategory{0, k.sales};
      return true;
    }
  for (const TaxedKind& k : kTaxedKinds) {
    const std::string_view kind = U(k.spelling);
    if (plain.compare(0, kind.size(), kind) != 0) continue;
    const int rate = RateOf(std::string_view(plain).substr(kind.size()));
    if (rate < 0) return false;
    *out = TaxCategory{rate, k.sales};
    return true;
  }
  return false;
}

std::string TaxCategoryRefusal(std::string_view text) {
  static const std::vector<std::string> kNames = {
      U(u8"課税売上10%"), U(u8"課税売上8%(軽減)"), U(u8"課税仕入10%"), U(u8"課税仕入8%(軽減)"),
      U(u8"非課税売上"),  U(u8"非課税仕入"),       U(u8"免税売上"),    U(u8"対象外")};
  const std::vector<std::string> near = NearestNames(Plain(text), kNames);
  return near.empty() ? Say("tax category '{0}' is not known (the categories: {1})",
                            u8"税区分 '{0}' はありません (税区分: {1})",
                            {TextForMessage(text), kTaxCategories})
                      : Say("tax category '{0}' is not known (closest known: {1})",
                            u8"税区分 '{0}' はありません (近いもの: {1})",
                            {TextForMessage(text), NearestNamesText(near)});
}

bool ParseTaxMethod(std::string_view text, bool* amount_excludes_tax) {
  const std::string plain = Plain(text);
  if (plain == U(u8"内税") || plain == U(u8"税込")) {
    *amount_excludes_tax = false;
    return true;
  }
  if (plain == U(u8"外税") || plain == U(u8"税抜")) {
    *amount_excludes_tax = true;
    return true;
  }
  return false;
}

std::int64_t TaxOf(std::int64_t amount, int rate, bool amount_includes_tax,
                   TaxRounding rounding) {
  const bool negative = amount < 0;
  const __int128 magnitude = negative ? -static_cast<__int128>(amount) : amount;
  // The tax in units as a fraction, then whole yen of it.
  const __int128 numerator = magnitude * rate;
  const __int128 denominator = static_cast<__int128>(amount_includes_tax ? 100 + rate : 100) *
                               kUnitsPerYen;
  __int128 yen = numerator / denominator;
  const __int128 remainder = numerator % denominator;
  if ((rounding == TaxRounding::kUp && remainder != 0) ||
      (rounding == TaxRounding::kNearest && remainder * 2 >= denominator))
    ++yen;
  const std::int64_t tax = static_cast<std::int64_t>(yen * kUnitsPerYen);
  return negative ? -tax : tax;
}

} // namespace stmtlink

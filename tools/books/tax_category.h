// Consumption tax on a journal line, as Japanese journals state it: a tax
// category per side (課税売上10%, 課税仕入8%(軽減), 非課税売上, 対象外 ...)
// and amounts written with the tax in them (内税) or without it (外税).
// The books keep each side's amount without its tax and the tax beside it.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace stmtlink {

struct TaxCategory {
  int rate = 0;       // per cent; 0: the category bears no tax
  bool sales = false; // a sales category (the credit side's), else a purchase one
};

// The categories as written, with the usual variants: a space before the
// rate, full-width ％ and digits, 軽減 with or without brackets, 不課税 for
// 対象外. False for anything else.
bool ParseTaxCategory(std::string_view text, TaxCategory* out);
// The categories in words, for messages (UTF-8).
extern const char kTaxCategories[];

enum class TaxRounding { kDown, kNearest, kUp }; // of the tax to whole yen

// "内税" (also 税込) or "外税" (税抜); false for anything else.
bool ParseTaxMethod(std::string_view text, bool* amount_excludes_tax);

// The tax, in 1/10,000 yen and rounded to whole yen, of an amount in the
// same units that holds the tax (inclusive) or not.
std::int64_t TaxOf(std::int64_t amount, int rate, bool amount_includes_tax, TaxRounding rounding);

} // namespace stmtlink

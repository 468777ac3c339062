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

// The categories as Japanese bookkeeping software writes them: 課税売上 or
// 課売, 課税仕入, 課対仕入 or 課仕, then 10% or 8% with the reduced rate's
// mark (8%(軽), 8%(軽減), 軽減8%); 非課税売上 or 非課売上, 非課税仕入 or
// 非課仕入; 免税売上 or 輸出売上; 対象外, 不課税 or 不課. Spaces of either
// width, brackets of either width and full-width ％ and digits do not
// matter. False for anything else.
bool ParseTaxCategory(std::string_view text, TaxCategory* out);
// The message that refuses an unknown category, with the closest known
// ones (or all of them when none is close).
std::string TaxCategoryRefusal(std::string_view text);
// The categories in words, for messages (UTF-8).
extern const char kTaxCategories[];

enum class TaxRounding { kDown, kNearest, kUp }; // of the tax to whole yen

// "内税" (also 税込) or "外税" (税抜); false for anything else.
bool ParseTaxMethod(std::string_view text, bool* amount_excludes_tax);

// The tax, in 1/10,000 yen and rounded to whole yen, of an amount in the
// same units that holds the tax (inclusive) or not.
std::int64_t TaxOf(std::int64_t amount, int rate, bool amount_includes_tax, TaxRounding rounding);

} // namespace stmtlink

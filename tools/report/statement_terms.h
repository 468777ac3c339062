// The report's element names in the words of a Japanese closing statement,
// and which items a category deducts instead of adding.
#pragma once

#include <string>
#include <string_view>

namespace stmtlink::report {

// The Japanese name of a statement's section or computed line
// ("CurrentAssets" -> "流動資産"); the element name itself when unknown.
std::string SectionName(std::string_view element);

// Whether an item of that label is deducted in that section: an allowance
// or accumulated depreciation among assets, returns and discounts under
// sales, the closing inventory and returns of purchases under the cost of
// sales and of materials, treasury shares under net assets. The report
// shows these on their own side, as positive amounts.
bool IsDeduction(std::string_view section, std::string_view label);

} // namespace stmtlink::report

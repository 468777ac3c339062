// The known names nearest to a text the user wrote, for the messages that
// refuse it: accounts, sub-accounts, tax categories, column headings.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace stmtlink {

// Up to three of names nearest to text in characters (edit distance, or
// one holds the other), nearest first; none when nothing is near. Bounded:
// texts and names longer than 256 bytes are compared with nothing.
std::vector<std::string> NearestNames(std::string_view text, const std::vector<std::string>& names);
// The edit distance in characters (code points) between two short texts.
std::size_t NameDistance(std::string_view a, std::string_view b);
// "a, b, c" (the names as given; the caller quotes the user's text).
std::string NearestNamesText(const std::vector<std::string>& near);

} // namespace stmtlink

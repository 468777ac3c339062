// A text from the user's file (an account name, an element name, a value)
// as a message quotes it: a report may hold a name of any length, and a
// message that repeats a thousand characters of it is no longer read.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace stmtlink::report {

constexpr std::size_t kQuotedCharacters = 60;
// An element path ("/REPORT/DATA/...") is made of names from the file too;
// a report's own paths stay whole below this.
constexpr std::size_t kQuotedPathCharacters = 120;

// text (UTF-8) cut to at most max_characters characters, with "…" after a
// cut; never splits a character. Line breaks and other control characters
// become spaces, so that a quote stays on the message's line.
std::string Quoted(std::string_view text, std::size_t max_characters = kQuotedCharacters);

} // namespace stmtlink::report

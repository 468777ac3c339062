// The values of the books as people write them in the CSV files, and as the
// export writes them back.
//  - Amounts: yen with up to four decimals ("1,234,567", "-980.5",
//    "12.3456"), optionally with thousands separators (commas, every three
//    digits) and a leading yen sign; stored in 1/10,000 yen. Also as people
//    write them: "3,000,000円", "△1,000" or "▲1,000" and "(1,000)" for a
//    minus, full-width digits and separators ("５００，０００"). The host keeps
//    amounts below 10^14 yen (10^18 units), the limit of its sums.
//  - Dates: a real calendar day written 2025-04-01, 2025/4/1, 2025.4.1,
//    2025年4月1日 or 20250401, or in the era (era_table.h): 令和7年4月1日,
//    R7/4/1, R07.04.01; full-width digits and separators are read too.
//  - Texts: UTF-8 that must also be writable in Shift_JIS (code page 932),
//    which is how the program and the receiver hold them.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace stmtlink {

constexpr std::int64_t kUnitsPerYen = 10000;
constexpr std::int64_t kAmountLimit = 1'000'000'000'000'000'000; // units, exclusive

// The accepted forms in words (UTF-8), for messages that refuse an amount.
extern const char kAmountForms[];

// Empty text is zero. False with *why set (a short reason) otherwise.
bool ParseYenAmount(std::string_view text, std::int64_t* units, std::string* why);
// The shortest exact form without separators: "1234567", "-980.5".
std::string FormatYenAmount(std::int64_t units);
// With thousands separators, for messages: "1,234,567.5".
std::string FormatYenForPeople(std::int64_t units);

bool ParseBookDate(std::string_view text, std::int64_t* yyyymmdd);
// The accepted forms in words (UTF-8), for messages that refuse a date:
// in English, and in the language spoken (books_language.h).
extern const char kDateForms[];
std::string DateForms();
bool IsCalendarDate(std::int64_t yyyymmdd);
std::string FormatBookDate(std::int64_t yyyymmdd); // 2025-04-01

// True when the whole text converts to CP932. Otherwise *bad names the
// first character that does not, as 'X' (U+XXXX).
bool FitsShiftJis(std::string_view utf8, std::string* bad);

} // namespace stmtlink

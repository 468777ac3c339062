// What a check of a report found: errors, warnings for the accountant and
// differences that the truncation of each figure to whole yen explains.
// Messages are Japanese, in UTF-8.
#pragma once

#include <cstdint>
#include <climits>
#include <optional>
#include <string>
#include <vector>

namespace stmtlink::report {

enum class Severity {
  kError,     // the report does not hold together, or strays from its form
  kWarning,   // worth a look before filing
  kRounding,  // a difference that truncation to whole yen explains
};

struct Finding {
  Severity severity = Severity::kError;
  std::string check;    // a stable name for scripts: "bs.balance", "ledger.row" ...
  std::string message;  // Japanese
  long line = 0;        // 0: no one line
  std::string path;     // element path, "" when none
  // For figure comparisons: the figure the report shows, the figure its
  // parts give, and the difference (shown - computed).
  std::optional<std::int64_t> shown;
  std::optional<std::int64_t> computed;
};

// Sums of amounts read from a file: a report may hold any 18-digit figures,
// and their sum must not overflow; it stops at the ends of the range.
inline std::int64_t Plus(std::int64_t a, std::int64_t b) {
  std::int64_t sum;
  if (!__builtin_add_overflow(a, b, &sum)) return sum;
  return b > 0 ? INT64_MAX : INT64_MIN;
}
inline std::int64_t Minus(std::int64_t a, std::int64_t b) {
  std::int64_t difference;
  if (!__builtin_sub_overflow(a, b, &difference)) return difference;
  return b < 0 ? INT64_MAX : INT64_MIN;
}

// The figures a computed sum is made of, by the way truncation toward zero
// moved each one: a term that adds a positive figure (or subtracts a
// negative one) came out below its true value, so the true sum is larger
// than the computed one by less than one yen per such term ("up"), and the
// other way round ("down").
struct TruncatedTerms {
  int up = 0;
  int down = 0;
  // One figure added (sign +1) or subtracted (sign -1).
  void Add(std::int64_t value, int sign) {
    if (value * sign > 0) ++up;
    else if (value * sign < 0) ++down;
  }
  TruncatedTerms Flipped() const { return {down, up}; }
  int count() const { return up + down; }
};
inline TruncatedTerms operator+(TruncatedTerms a, TruncatedTerms b) {
  return {a.up + b.up, a.down + b.down};
}

// Whether shown - computed is what truncation alone can give: each term's
// truncation (less than one yen, in its known direction) and the shown
// figure's own (toward zero).
bool ExplainedByTruncation(std::int64_t shown, std::int64_t computed, TruncatedTerms terms);

class Findings {
 public:
  void Add(Finding finding) { list_.push_back(std::move(finding)); }
  void Add(Severity severity, std::string check, std::string message, long line = 0,
           std::string path = "");
  const std::vector<Finding>& list() const { return list_; }
  int Count(Severity severity) const;

  // Compares a figure the report shows with the sum of the figures it is
  // made of (terms: how truncation moved them, TruncatedTerms). A
  // difference that truncation explains is a kRounding finding, anything
  // more an error. what: the figure's name; parts: what computed is.
  void CompareFigure(const std::string& check, const std::string& what, std::int64_t shown,
                     const std::string& parts, std::int64_t computed, TruncatedTerms terms,
                     long line, const std::string& path);

 private:
  std::vector<Finding> list_;
};

// 1234567 -> "1,234,567円", -5 -> "-5円".
std::string Yen(std::int64_t value);
// 1234567 -> "1,234,567"; negative with the given sign ("-" or "△").
std::string GroupedNumber(std::int64_t value, const char* minus = "-");

} // namespace stmtlink::report

// What a check of a report found: errors, warnings for the accountant and
// differences that the truncation of each figure to whole yen explains.
// Messages are Japanese, in UTF-8.
#pragma once

#include <cstdint>
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

class Findings {
 public:
  void Add(Finding finding) { list_.push_back(std::move(finding)); }
  void Add(Severity severity, std::string check, std::string message, long line = 0,
           std::string path = "");
  const std::vector<Finding>& list() const { return list_; }
  int Count(Severity severity) const;

  // Compares a figure the report shows with the sum of the figures it is
  // made of. figures: how many truncated figures went into computed; a
  // difference of at most that many yen is truncation, anything more an
  // error. what: the figure's name; parts: what computed is ("内訳の合計").
  void CompareFigure(const std::string& check, const std::string& what, std::int64_t shown,
                     const std::string& parts, std::int64_t computed, int figures, long line,
                     const std::string& path);

 private:
  std::vector<Finding> list_;
};

// 1234567 -> "1,234,567円", -5 -> "-5円".
std::string Yen(std::int64_t value);
// 1234567 -> "1,234,567"; negative with the given sign ("-" or "△").
std::string GroupedNumber(std::int64_t value, const char* minus = "-");

} // namespace stmtlink::report

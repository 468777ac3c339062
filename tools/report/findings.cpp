#include "tools/report/findings.h"

#include <cstdlib>

namespace stmtlink::report {

void Findings::Add(Severity severity, std::string check, std::string message, long line,
                   std::string path) {
  Finding finding;
  finding.severity = severity;
  finding.check = std::move(check);
  finding.message = std::move(message);
  finding.line = line;
  finding.path = std::move(path);
  list_.push_back(std::move(finding));
}

int Findings::Count(Severity severity) const {
  int count = 0;
  for (const Finding& finding : list_)
    if (finding.severity == severity) ++count;
  return count;
}

bool ExplainedByTruncation(std::int64_t shown, std::int64_t computed, TruncatedTerms terms) {
  // true sum T = computed + e, -down < e < up; shown = trunc(T), so
  // shown - T is in (-1, 0] when shown >= 0 and in [0, 1) when shown <= 0.
  const std::int64_t difference = Minus(shown, computed);
  const std::int64_t lowest = -terms.down - (shown >= 0 ? 1 : 0) + 1;
  const std::int64_t highest = terms.up + (shown <= 0 ? 1 : 0) - 1;
  return difference >= lowest && difference <= highest;
}

void Findings::CompareFigure(const std::string& check, const std::string& what,
                             std::int64_t shown, const std::string& parts,
                             std::int64_t computed, TruncatedTerms terms, long line,
                             const std::string& path) {
  if (shown == computed) return;
  const std::int64_t difference = Minus(shown, computed);
  Finding finding;
  finding.check = check;
  finding.line = line;
  finding.path = path;
  finding.shown = shown;
  finding.computed = computed;
  if (ExplainedByTruncation(shown, computed, terms)) {
    finding.severity = Severity::kRounding;
    finding.message = what + " " + Yen(shown) + " と" + parts + " " + Yen(computed) + " の差 " +
                      Yen(difference) + " は、各金額の円未満切り捨てによる端数差です（" +
                      std::to_string(terms.count()) + " 件の金額の和）。";
  } else {
    finding.severity = Severity::kError;
    finding.message = what + "は " + Yen(shown) + " ですが、" + parts + "は " + Yen(computed) +
                      " です（差 " + Yen(difference) + "）。";
  }
  list_.push_back(std::move(finding));
}

std::string GroupedNumber(std::int64_t value, const char* minus) {
  const bool negative = value < 0;
  std::uint64_t magnitude = negative ? 0 - static_cast<std::uint64_t>(value) : static_cast<std::uint64_t>(value);
  std::string digits = std::to_string(magnitude);
  std::string out;
  for (std::size_t i = 0; i < digits.size(); ++i) {
    if (i > 0 && (digits.size() - i) % 3 == 0) out += ',';
    out += digits[i];
  }
  return negative ? minus + out : out;
}

std::string Yen(std::int64_t value) { return GroupedNumber(value) + "円"; }

} // namespace stmtlink::report

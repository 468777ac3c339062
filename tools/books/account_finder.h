// Finds the account that a journal or opening-balance field names: a code
// ("1120", or "1120-1" for a sub-account), a formal name ("普通預金"), or a
// main and a sub-account name joined by a slash ("普通預金/東都銀行").
// Only accounts and computed items (line types 0 and 3) take postings.
#pragma once

#include <cstdint>
#include <deque>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "tools/books/sample_chart.h"

namespace stmtlink {

// A company's own account names (or hledger's) and the stored code each
// stands for, from the --map file.
using AccountMap = std::unordered_map<std::string, std::int64_t>;

class AccountFinder {
 public:
  explicit AccountFinder(const std::vector<ChartAccount>& accounts);

  // The stored code (main x 10,000 + sub) into *code; false with *why set:
  // unknown (with the closest names), ambiguous, or not an account.
  bool Find(std::string_view text, std::int64_t* code, std::string* why) const;
  // The sub-account named name (補助科目) under the main account main_code;
  // false with *why set: unknown (with the closest sub-account names of that
  // account), or main_code is itself a sub-account.
  bool FindSub(std::int64_t main_code, std::string_view name, std::int64_t* code,
               std::string* why) const;
  // A new sub-account under main_code with the next free number, its
  // nature, side and flags its main account's; found by FindSub from then
  // on. False with *why when the account has no free number left.
  bool AddSub(std::int64_t main_code, std::string_view name, std::int64_t* code,
              std::string* why);
  // The sub-accounts AddSub made, in the order made.
  const std::deque<ChartAccount>& added() const { return added_; }
  // Up to three known names nearest to text, for messages. Bounded: texts
  // and names longer than 256 bytes are compared with nothing.
  std::vector<std::string> ClosestNames(std::string_view text) const;
  std::vector<std::string> ClosestNames(std::string_view text,
                                        const std::vector<std::string>& names) const;
  // The name of a stored code, for messages ("" when unknown).
  std::string NameOf(std::int64_t code) const;

 private:
  static constexpr std::int64_t kAmbiguous = -1;
  std::unordered_map<std::string, std::int64_t> by_name_; // kAmbiguous when two share it
  std::unordered_map<std::int64_t, const ChartAccount*> by_code_;
  std::vector<std::string> names_; // for the nearest-name search
  std::unordered_map<std::int64_t, std::vector<std::string>> sub_names_; // by main code
  std::unordered_map<std::int64_t, std::int64_t> last_sub_;              // by main code
  std::deque<ChartAccount> added_;
};

} // namespace stmtlink

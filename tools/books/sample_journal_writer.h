// Writes the sample journal's entries and keeps the running balance of every
// account as the year's statements will show it, so the generator can
// collect what customers owe, pay what is owed, keep deposits above zero and
// settle the year's consumption tax. Entries of the interim slot are not
// part of the year (the year's statements leave them out), so they are
// written but not counted.
#pragma once

#include <cstdint>
#include <initializer_list>
#include <string>
#include <unordered_map>

#include "tools/books/sample_tables.h"
#include "tools/books/sql_statement.h"

namespace stmtlink {

constexpr int kSampleInterimSlot = 14;

// One line: either side may be empty (code 0). Amounts in 1/10,000 yen; the
// tax is the consumption tax on that side's amount.
struct SampleLine {
  std::int64_t debit_code = 0, debit_amount = 0, debit_tax = 0;
  std::int64_t credit_code = 0, credit_amount = 0, credit_tax = 0;
};

class SampleJournalWriter {
 public:
  SampleJournalWriter(SampleContext& context, std::string* error);

  // Prepares the insert and reads the opening balances.
  bool Prepare();
  bool Entry(int slot, int date, const std::string& description,
             std::initializer_list<SampleLine> lines);

  std::uint64_t lines() const { return lines_; }
  const std::string& Name(std::int64_t code) { return names_[code]; }
  // Debit minus credit so far (outside the interim slot).
  std::int64_t Balance(std::int64_t code) const;
  // The profit so far: the income statement's and the manufacturing
  // schedule's accounts, income taxes included once booked.
  std::int64_t Profit() const;
  const std::unordered_map<std::int64_t, std::int64_t>& balances() const { return balances_; }

 private:
  void Count(const SampleLine& line);

  SampleContext& c_;
  std::string* error_;
  SqlStatement insert_{error_};
  std::unordered_map<std::int64_t, std::string> names_;
  std::unordered_map<std::int64_t, std::uint32_t> natures_;
  std::unordered_map<std::int64_t, std::int64_t> balances_;
  std::int64_t entry_id_ = 0;
  std::uint64_t lines_ = 0;
};

} // namespace stmtlink

// The journal lines as the ledger and journal cursors keep them, and the
// fields that the ledger row and the journal line records share.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "host/ledger_records.h"

namespace stmtlink {

constexpr std::int64_t kAccountCodeUnit = 10000; // code = main x 10,000 + sub
constexpr std::uint32_t kInputTaxNature = 0x80880810;  // takes the debit tax (first set)
constexpr std::uint32_t kOutputTaxNature = 0x80484010; // takes the credit tax (first set)

// One row of journal_line as the cursors keep it: a million of them are
// held for the ledger, so the description is a number in the store's text
// table (journal_store.h) and the slot a byte.
struct JournalLine {
  std::int64_t entry_id = 0;
  std::int64_t entry_no = 0;
  std::int64_t line_no = 0;
  std::int64_t date = 0;
  std::int64_t debit_code = 0;
  std::int64_t debit_amount = 0;
  std::int64_t debit_tax = 0;
  std::int64_t credit_code = 0;
  std::int64_t credit_amount = 0;
  std::int64_t credit_tax = 0;
  std::uint32_t description = 0; // text number in the store
  std::uint8_t slot = 0;         // 1-14; 0 for a slot outside them (never a row)
  std::uint8_t marker = 0;       // counterpart marker of the line's entry
};

// The month position of a slot as the ledger cursor's field 17 sees it:
// months 1-12 as they are, the year-end adjustment (13) 18, the interim
// adjustment (14) 15; 0 for no slot.
int MonthPositionOfSlot(std::uint8_t slot);

// The value that a condition chain asks of one field with operator 1
// (equal): nullopt for no chain (everything), false in *ok for a condition
// the substitute does not understand. Two conditions that ask for different
// values ask for none: -1, which no code or identifier of the books takes.
std::optional<std::int64_t> WantedValue(const StFINDINFO* find, std::int32_t field, bool* ok);

// The record fields that come straight from the line and its description
// (CP932, cut to 60 bytes without splitting a double-byte character);
// numbers that do not fit 32 bits are clamped.
void FillJournalFields(const JournalLine& line, std::string_view description, StMOTOCHOINFO* out);
void FillJournalFields(const JournalLine& line, std::string_view description, StSWKTINFO* out);

} // namespace stmtlink

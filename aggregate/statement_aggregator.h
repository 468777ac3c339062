// The aggregation driver: reads every account-sum row of the host for the
// chosen months and appends one AccountLine per row (rows of line type 1
// give none) to the AccountLineList; in general-ledger mode it also has the
// ledger collection append each account's ledger lines. It advances the
// progress window as it goes: to 5,000 without the general ledger, and to
// at most 8,000 with it (the report output continues from there).
//
// The run sets the public members before calling aggregate. The aggregator
// owns its host cursor: made on first use, destroyed after a successful
// reading or, after a failure, with the aggregator.
#pragma once

#include <cstdint>

#include <memory>
#include <string>

#include "AccUty/run_failure.h"
#include "aggregate/account_line.h"
#include "aggregate/ledger_line.h"
#include "aggregate/ledger_line_feed.h"
#include "host/host_records.h"
#include "host/ledger_records.h"

class ClRuleKamoku;
class ClSaveKessansho;
class ClRuleMotocho;

namespace stmtlink {

class Amount;
class HostExtras;
class RunProgress;

// Whether opening balances come from slot 0 (the amount carried into the
// year): for a period starting at the first month, or for books that start
// later, at or before the month they start with.
bool OpeningUsesSlotZero(int start_position, int introduction_month);
// A row's balance before the start month position, signed by its normal
// side: a balance-sheet account sums every slot before the start; any other
// account takes slot 0 only when slot_zero. Throws AmountOverflow.
Amount OpeningBalance(const StKAMOKUSUMINFO& row, std::int32_t taxMethodFlag, int start_position,
                      bool slot_zero);

class StatementAggregator {
 public:
  StatementAggregator();
  virtual ~StatementAggregator();

  StatementAggregator(const StatementAggregator&) = delete;
  StatementAggregator& operator=(const StatementAggregator&) = delete;

  // taxMethodFlag 1 reads the second (tax-included) amount set, otherwise
  // the first. conditions: the month chain (kFindInfoChainLength entries);
  // data: the open company's record. Ok when every row was read; otherwise
  // what failed: the host call (with what could not be read), an Amount
  // sum that reached 10^18 units (no line is appended for the row that
  // overflowed), no memory for a line or a cursor, or missing input. Lines
  // appended before a failure stay in the list.
  RunFailure aggregate(std::int32_t taxMethodFlag, const StFINDINFO* conditions, const StDATAINFO* data);

  // True while the aggregator holds its account-sum cursor.
  bool HasSumCursor() const { return sumCursor_ != nullptr; }

  // Set by the run before aggregate; none of them is owned.
  RunProgress* progressWindow = nullptr; // null: no progress is shown
  AccountLineList* lines = nullptr;
  LedgerLineList* ledgerLines = nullptr;
  std::int32_t ledgerEnabled = 0;
  // The host's extras (host/host_extras.h): the ledger's first reading
  // pulses the progress window through their busy hook; null: no pulses.
  HostExtras* hostExtras = nullptr;
  // The main bar position in hundredths of a percent; the report output
  // continues from it.
  double progressPosition = 0;
  double progressStep = 1.0;

  // The notes operations (notes/notes_reader.h) over the aggregator's own
  // financial-statement settings store, which each fetch replaces. A failed
  // fetch is kept in *failure (the run's).
  int IsNoteInputOn(RunFailure* failure);
  int IsNoteOutputOn(RunFailure* failure);
  // flags: the 50-entry table of note-group switches, zeroed by the caller.
  void ReadNoteGroupFlags(unsigned char* flags, RunFailure* failure);
  int ReadNoteText(std::string* text, RunFailure* failure);

 protected:
  // The general-ledger lines of one account row, appended to ledgerLines;
  // called for every row in general-ledger mode, whatever its line type,
  // with a copy of the row. Ok when the account's rows were all read;
  // any failure fails the whole aggregation; a sum that overflows throws
  // AmountOverflow, which fails it too.
  // The collection (collect_ledger.cpp) keeps its ledger cursor and display
  // settings in the members below, and puts its lines through ledgerFeed_,
  // which aggregate sets up and drains; without it (called on its own) the
  // collection appends nothing and fails.
  virtual RunFailure collectLedger(std::int32_t taxMethodFlag, const StDATAINFO* data,
                                   const StFINDINFO* conditions, StKAMOKUSUMINFO row);

 private:
  RunFailure ReadRows(std::int32_t taxMethodFlag, const StFINDINFO* conditions,
                      const StDATAINFO* data, long count);
  // Part of collectLedger: the ledger cursor (made and attached on first
  // use) ready for the rows of account `code` over month positions s..e,
  // their number in *count.
  RunFailure ReadyLedgerCursor(std::int32_t code, int s, int e, long* count);
  void Advance(double from, double to);

  ClRuleKamoku* sumCursor_ = nullptr; // owned
  // The general-ledger cursor (created per account, kept after a failure
  // for the next one), its display settings and the three values they
  // point to.
  std::unique_ptr<ClRuleMotocho> ledgerCursor_;
  StMOTOCHOHYOJIINFO ledgerDisplay_{};
  std::int32_t ledgerExtra_[3] = {};
  // While aggregate reads the rows in general-ledger mode: the ledger lines
  // on their way to ledgerLines.
  std::unique_ptr<LedgerLineFeed> ledgerFeed_;
  // The settings store of the notes operations; null until the first fetch.
  std::unique_ptr<ClSaveKessansho> settingsStore_;
};

} // namespace stmtlink

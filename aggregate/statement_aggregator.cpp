#include "aggregate/statement_aggregator.h"

#include "host/rule_motocho.h"
#include "host/save_kessansho.h"

#include <algorithm>
#include <cstring>
#include <new>
#include <string_view>

#include "AccUty/host_cursor_setup.h"
#include "aggregate/amount.h"
#include "progress/run_progress.h"
#include "host/data_mgr.h"
#include "host/host_errors.h"
#include "host/rule_kamoku.h"
#include "host/set_data.h"
#include "platform/mbcs.h"

namespace stmtlink {
namespace {

constexpr char kSumsWhat[] = "勘定科目の集計";

// Main-bar positions are 16-bit; the arithmetic is done in doubles and
// truncated toward zero, kept inside the 16-bit range.
short BarPosition(double value) {
  return static_cast<short>(std::clamp(value, -32768.0, 32767.0));
}

// A name field of the host's row: at most 30 bytes of it, never past the
// field and never half a double-byte character.
void CopyName(char (&to)[31], const char (&from)[31]) {
  MbcsCopy(to, sizeof(to), std::string_view(from, strnlen(from, sizeof(from))));
}

} // namespace

bool OpeningUsesSlotZero(int start_position, int introduction_month) {
  const int s = start_position;
  const int k = introduction_month;
  return (k != 0 && s <= k) || (k == 0 && s == 1);
}

Amount OpeningBalance(const StKAMOKUSUMINFO& row, std::int32_t taxMethodFlag, int start_position,
                      bool slot_zero) {
  const SumSlots slots = GetSumSlots(row);
  const std::int64_t* dr = taxMethodFlag == 1 ? slots.debit2 : slots.debit1;
  const std::int64_t* cr = taxMethodFlag == 1 ? slots.credit2 : slots.credit1;
  Amount dsum, csum;
  if (row.nature < 0) { // bit 31: a balance-sheet account carries every month before
    for (int i = 0; i < std::min(start_position, kSumSlots); ++i) {
      dsum += Amount::FromUnits(dr[i]);
      csum += Amount::FromUnits(cr[i]);
    }
  } else if (slot_zero) {
    dsum = Amount::FromUnits(dr[0]);
    csum = Amount::FromUnits(cr[0]);
  }
  return row.normalSide == kNormalSideDebit ? dsum - csum : csum - dsum;
}

StatementAggregator::StatementAggregator() = default;

StatementAggregator::~StatementAggregator() {
  // The settings store goes first, then the cursors.
  settingsStore_.reset();
  ledgerCursor_.reset();
  delete sumCursor_;
}

void StatementAggregator::Advance(double from, double to) {
  if (progressWindow) progressWindow->AdvanceMainBar(BarPosition(from), BarPosition(to));
}

RunFailure StatementAggregator::aggregate(std::int32_t taxMethodFlag, const StFINDINFO* conditions,
                                          const StDATAINFO* data) {
  using Kind = RunFailure::Kind;
  if (!lines || !conditions || !data) return RunFailure::Of(Kind::kNoInput);
  const int scale = ledgerEnabled ? 10 : 1;
  Advance(0, 1000 / scale);

  if (!sumCursor_) {
    sumCursor_ = new (std::nothrow) ClRuleKamoku;
    if (!sumCursor_) return RunFailure::Of(Kind::kNoMemory);
    // Every answer is looked at: a cursor attached to nothing, or to
    // another data set, would read the wrong rows or none.
    if (RunFailure attached = AttachToCompanyData(sumCursor_, "ClRuleKamoku", nullptr, kSumsWhat);
        attached.failed())
      return attached;
  }
  Advance(1000 / scale, 3000 / scale);

  RunFailure failure;
  long count = 0;
  const long ready = sumCursor_->MoveReady(kSumReadyBaseType, kSumReadyDepartmentType,
                                          kSumReadyDisplayType, conditions, nullptr, kSumReadyPastType);
  if (!HostReadOk(ready, "ClRuleKamoku::MoveReady", kSumsWhat, &failure) ||
      !HostReadOk(sumCursor_->GetSumCount(&count), "ClRuleKamoku::GetSumCount", kSumsWhat, &failure))
    return failure;
  Advance(3000 / scale, 4000 / scale);
  progressPosition = 4000 / scale;
  if (!HostReadOk(sumCursor_->SetMovePos(0), "ClRuleKamoku::SetMovePos", kSumsWhat, &failure))
    return failure;
  if (count != 0) progressStep = static_cast<double>(7000u / static_cast<unsigned long>(count));

  // The ledger's lines are packed into the list on a second thread while
  // the rows are read; all of them are there before the result is known.
  if (ledgerEnabled && ledgerLines) {
    try {
      ledgerFeed_ = std::make_unique<LedgerLineFeed>(ledgerLines);
    } catch (const std::bad_alloc&) {
      return RunFailure::Of(Kind::kNoMemory);
    }
  }
  try {
    failure = ReadRows(taxMethodFlag, conditions, data, count);
  } catch (const AmountOverflow&) {
    // The run decides how to tell the user; the program goes on.
    failure = RunFailure::Of(Kind::kOverflow);
  }
  if (ledgerFeed_) {
    const bool complete = ledgerFeed_->Drain();
    ledgerFeed_.reset();
    // The list refused a line: the ledger would be cut short.
    if (!complete) failure.Note(RunFailure::Of(Kind::kNoMemory));
  }
  if (failure.failed()) return failure;

  Advance(progressPosition, progressPosition + 1000);
  progressPosition += 1000;
  sumCursor_->MoveFinish();
  delete sumCursor_;
  sumCursor_ = nullptr;
  return failure;
}

RunFailure StatementAggregator::ReadRows(std::int32_t taxMethodFlag, const StFINDINFO* conditions,
                                         const StDATAINFO* data, long count) {
  const int s = conditions[0].value;
  const int e = conditions[1].value;
  const bool year_end = conditions[1].link != 0 && conditions[2].value == kMonthPositionYearEnd;
  const bool interim =
      data->interimClosing == kInterimClosingOn && e == kInterimClosingMonthPosition;
  const int k = data->introductionMonth;
  const bool opening_from_slot0 = OpeningUsesSlotZero(s, k);
  // Month positions beyond the slots read as no slot, never past the arrays.
  const int period_first = std::max(s, 0);
  const int period_last = std::min(e, kSumSlots - 1);

  Amount carried;
  StKAMOKUSUMINFO row;
  RunFailure failure;
  // Every row is read, however many the cursor has.
  for (long read = 0; read < count; ++read) {
    if (progressWindow) progressWindow->PulseSecondBar();
    std::memset(&row, 0, sizeof(row));
    if (long code = sumCursor_->MoveNext(&row)) {
      if (code != kHostEndOfRows) HostReadOk(code, "ClRuleKamoku::MoveNext", kSumsWhat, &failure);
      break;
    }
    const SumSlots slots = GetSumSlots(row);
    const std::int64_t* dr = taxMethodFlag == 1 ? slots.debit2 : slots.debit1;
    const std::int64_t* cr = taxMethodFlag == 1 ? slots.credit2 : slots.credit1;
    const bool debit_side = row.normalSide == kNormalSideDebit;

    const Amount opening = OpeningBalance(row, taxMethodFlag, s, opening_from_slot0);
    if (row.nature == kNatureRetainedEarningsCarried) carried = opening;

    Amount dsum, csum;
    for (int i = period_first; i <= period_last; ++i) {
      dsum += Amount::FromUnits(dr[i]);
      csum += Amount::FromUnits(cr[i]);
    }
    if (year_end) {
      dsum += Amount::FromUnits(dr[kSumSlotYearEnd]);
      csum += Amount::FromUnits(cr[kSumSlotYearEnd]);
    }
    if (interim) {
      dsum += Amount::FromUnits(dr[kSumSlotInterim]);
      csum += Amount::FromUnits(cr[kSumSlotInterim]);
    }
    const Amount closing = debit_side ? (opening + dsum) - csum : (opening + csum) - dsum;

    if (row.lineType != kLineTypeHeading) {
      std::unique_ptr<AccountLine> line(new (std::nothrow) AccountLine());
      if (!line) return RunFailure::Of(RunFailure::Kind::kNoMemory);
      line->code = row.code;
      CopyName(line->formalName, row.formalName);
      CopyName(line->statementName, row.statementName);
      line->opening = opening.Units();
      line->change = (closing - opening).Units();
      line->closing = closing.Units();
      line->nature = row.nature;
      line->lineType = static_cast<std::int16_t>(static_cast<std::int8_t>(row.lineType));
      try {
        lines->Append(std::move(line));
      } catch (const std::bad_alloc&) {
        return RunFailure::Of(RunFailure::Kind::kNoMemory);
      }
    }

    if (ledgerEnabled) {
      // A ledger cut short would disagree with the statements: any failure
      // of the collection fails the run.
      if (failure.Note(collectLedger(taxMethodFlag, data, conditions, row))) return failure;
      if (progressPosition < 7000) {
        Advance(progressPosition, progressPosition + progressStep);
        progressPosition += progressStep;
      }
    }
  }
  if (failure.failed()) return failure;

  if (!opening_from_slot0) {
    AccountLine* target = nullptr;
    for (const auto& line : *lines)
      if (line->nature == kNatureCarryTarget) target = line.get();
    if (target) target->closing = (target->closing + carried).Units();
  }
  return failure;
}

} // namespace stmtlink

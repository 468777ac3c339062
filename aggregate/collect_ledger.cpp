// The general-ledger collection of one account: the host's ledger rows of
// the account over the chosen months become LedgerLines with the counter
// account (or 諸口 when several), the movement signed by the account's
// normal side and the running balance.
#include <cstring>
#include <memory>
#include <new>
#include <string_view>

#include "AccUty/CmnProcHpr.h"
#include "AccUty/host_cursor_setup.h"
#include "aggregate/amount.h"
#include "aggregate/ledger_line.h"
#include "aggregate/statement_aggregator.h"
#include "progress/run_progress.h"
#include "host/acc_period.h"
#include "host/data_mgr.h"
#include "host/host_errors.h"
#include "host/host_extras.h"
#include "host/ledger_records.h"
#include "host/rule_motocho.h"
#include "host/rule_shiwake.h"
#include "host/set_data.h"
#include "host/set_kamoku.h"
#include "platform/mbcs.h"

namespace stmtlink {
namespace {

constexpr std::int32_t kCodeScale = 10000;

constexpr char kLedgerWhat[] = "総勘定元帳";
constexpr char kAccountsWhat[] = "勘定科目";
constexpr char kJournalWhat[] = "仕訳";
constexpr char kPeriodWhat[] = "会計期間";

// The order of the ledger and journal cursors (host/ledger_records.h).
void FillOrder(StSORTINFO (&order)[kLedgerOrderLength]) {
  std::memset(order, 0, sizeof(order));
  for (int i = 0; i < kLedgerOrderLength; ++i) order[i].fieldId = kLedgerOrderFields[i];
  order[kLedgerOrderLength - 1].flag0 = 1;
}

StFINDINFO Condition(std::int32_t field, std::int16_t op, std::int32_t value) {
  StFINDINFO find;
  std::memset(&find, 0, sizeof(find));
  find.fieldId = field;
  find.op = op;
  SetFindValue32(&find, value);
  return find;
}

// Whether an account-sum row gets ledger lines: an account (no heading or
// total), not excluded from the ledger, inside the aggregation.
bool HasLedger(const StKAMOKUSUMINFO& row) {
  return row.lineType == kLineTypeAccount && row.ledgerExcludedA != kLedgerExcluded &&
         row.ledgerExcludedB != kLedgerExcluded && row.nature != kNatureNotAggregated &&
         row.nature != kNatureNotAggregatedB;
}

// What the rows of one account need to know of it.
struct LedgerAccount {
  std::int32_t code;      // main x 10,000 (+ sub)
  std::int32_t taxMethod; // 1: the amounts include the tax
  bool taxAccount;        // one of the two consumption-tax accounts
  bool debitSide;         // its normal side is the debit side
};

// An account of the account data set by number (a number below 10,000 is
// a main code). False when there is none (an empty name, as the ledger
// expects) and when the host failed, which is kept in *failure. A main
// code whose stored form does not fit 32 bits (corrupted books) names no
// account.
bool LookUpAccount(std::int32_t number, StKAMOKUINFO* info, RunFailure* failure) {
  std::memset(info, 0, sizeof(*info));
  std::int32_t code = number;
  if (number < kCodeScale && __builtin_mul_overflow(number, kCodeScale, &code)) return false;
  auto* accounts =
      static_cast<ClSetKamoku*>(ClDataMgr::Inst()->GetSetObject(kSetKindAccounts, kSetObjectShared));
  if (!HostObjectOk(accounts, "ClDataMgr::GetSetObject", kAccountsWhat, failure)) return false;
  const StFINDINFO find = Condition(kFindFieldAccountCode, kFindOpEqual, code);
  long cursor = 0;
  if (!HostReadOk(accounts->GetCursor(&cursor), "ClSetKamoku::GetCursor", kAccountsWhat, failure))
    return false;
  bool found = false;
  if (HostReadOk(accounts->ReadyCursor(cursor, &find), "ClSetKamoku::ReadyCursor", kAccountsWhat,
                 failure)) {
    const long walked = accounts->WalkFind(cursor, info);
    found = walked == 0;
    // No account of that code is a normal answer; anything else failed.
    if (walked != kHostEndOfRows) HostReadOk(walked, "ClSetKamoku::WalkFind", kAccountsWhat, failure);
  }
  accounts->ReleaseCursor(cursor);
  if (!found) std::memset(info, 0, sizeof(*info));
  return found;
}

void CopyText(char* to, std::size_t size, const char* from, std::size_t from_size) {
  MbcsCopy(to, size, std::string_view(from, strnlen(from, from_size)));
}

// Whether the lines of the entry before line `line_no` leave debits and
// credits unequal (tax included): then this line's counterpart is several
// accounts. A host failure is kept in *failure (the answer is then
// meaningless).
bool EarlierLinesUnbalanced(const StDATAINFO* data, std::int32_t entry_id, std::int32_t line_no,
                            RunFailure* failure) {
  auto journal = std::make_unique<ClRuleShiwake>();
  char data_id[sizeof(data->dataId) + 1] = {};
  std::memcpy(data_id, data->dataId, sizeof(data->dataId));
  if (failure->Note(AttachToCompanyData(journal.get(), "ClRuleShiwake", data_id, kJournalWhat)))
    return false;
  const StFINDINFO find = Condition(kFindFieldEntryId, kFindOpEqual, entry_id);
  StSORTINFO order[kLedgerOrderLength];
  FillOrder(order);
  if (!HostReadOk(journal->MoveReady(&find, order, nullptr, kJournalCursorType),
                  "ClRuleShiwake::MoveReady", kJournalWhat, failure))
    return false;
  long count = 0;
  if (!HostReadOk(journal->GetSwkCount(&find, nullptr, &count), "ClRuleShiwake::GetSwkCount",
                  kJournalWhat, failure))
    return false;
  std::int64_t debits = 0, credits = 0;
  StSWKTINFO line;
  for (long i = 0; i < count; ++i) {
    std::memset(&line, 0, sizeof(line));
    const long read = i == 0 ? journal->MoveFirst(&line) : journal->MoveNext(&line);
    if (read == kHostEndOfRows) break;
    if (!HostReadOk(read, i == 0 ? "ClRuleShiwake::MoveFirst" : "ClRuleShiwake::MoveNext",
                    kJournalWhat, failure))
      return false;
    if (line.lineNo == line_no) break;
    debits = AddUnits(debits, AddUnits(line.debitAmount, line.debitTax));
    credits = AddUnits(credits, AddUnits(line.creditAmount, line.creditTax));
  }
  journal->MoveFinish();
  return debits != credits;
}

// The first date of month position s and the last date of e, from the
// accounting period of the selected data set.
RunFailure ReadRangeDates(int s, int e, std::int32_t* first_date, std::int32_t* last_date) {
  RunFailure failure;
  std::int32_t unused = 0;
  ClSetMgr* set_mgr = ClDataMgr::Inst()->GetSetMgr();
  if (!HostObjectOk(set_mgr, "ClDataMgr::GetSetMgr", kPeriodWhat, &failure)) return failure;
  auto* data_set = static_cast<ClSetData*>(set_mgr->GetSetObject(kSetKindDataList, kSetObjectShared));
  if (!HostObjectOk(data_set, "ClSetMgr::GetSetObject", kPeriodWhat, &failure)) return failure;
  ClAccPeriod* period = data_set->GetAccPeriod();
  if (HostObjectOk(period, "ClSetData::GetAccPeriod", kPeriodWhat, &failure) &&
      HostReadOk(period->GetPeriodByMonthKind(s, first_date, &unused, 0),
                 "ClAccPeriod::GetPeriodByMonthKind", kPeriodWhat, &failure))
    HostReadOk(period->GetPeriodByMonthKind(e, &unused, last_date, 0),
               "ClAccPeriod::GetPeriodByMonthKind", kPeriodWhat, &failure);
  return failure;
}

// The row's movement of the account, signed by its normal side. `named`:
// the line names the account on one of its sides; a tax account moves by
// the tax of the lines that do not name it (tax-excluded method). Every
// sum is checked: an AmountOverflow leaves for the driver, which fails the
// run.
std::int64_t Movement(const StMOTOCHOINFO& ledger, const LedgerAccount& account, bool named) {
  std::int64_t d, c;
  if (account.taxMethod == 1) {
    d = AddUnits(ledger.debitAmount, ledger.debitTax);
    c = AddUnits(ledger.creditAmount, ledger.creditTax);
  } else if (account.taxAccount && !named) {
    d = ledger.debitTax;
    c = ledger.creditTax;
  } else {
    d = ledger.debitAmount;
    c = ledger.creditAmount;
  }
  if (ledger.side == kLedgerSideCredit) return account.debitSide ? SubtractUnits(0, c) : c;
  if (ledger.side == kLedgerSideDebit) return account.debitSide ? d : SubtractUnits(0, d);
  return account.debitSide ? SubtractUnits(d, c) : SubtractUnits(c, d);
}

// Whether the row's counterpart is several accounts (諸口): the side
// opposite the account holds several, or both sides do and the line's own
// amounts differ or the entry's lines before it leave debits and credits
// unequal. A host failure is kept in *failure.
bool CounterpartIsSundries(const StMOTOCHOINFO& ledger, const StDATAINFO* data, RunFailure* failure) {
  const std::uint8_t marker = ledger.counterpartMarker;
  const std::int64_t p0 = AddUnits(ledger.debitAmount, ledger.debitTax);
  const std::int64_t q0 = AddUnits(ledger.creditAmount, ledger.creditTax);
  if ((ledger.side == kLedgerSideCredit && marker == kMarkerSeveralDebitsOneCredit) ||
      (ledger.side != kLedgerSideCredit && marker == kMarkerOneDebitSeveralCredits))
    return true;
  if (marker != kMarkerSeveralOnBothSides) return false;
  return p0 != q0 ||
         (ledger.lineNo != 1 && EarlierLinesUnbalanced(data, ledger.entryId, ledger.lineNo, failure));
}

// The line's account names: the counter account (諸口 for several) with its
// sub-account, and the account's own sub-account. Returns the counter
// account's nature (0 for 諸口 and for an account that is not there). Host
// failures are kept in *failure.
std::int32_t NameAccounts(const StMOTOCHOINFO& ledger, bool sundries, LedgerLine* line,
                          RunFailure* failure) {
  const bool credit_side = ledger.side == kLedgerSideCredit;
  const std::int32_t own_code = credit_side ? ledger.creditCode : ledger.debitCode;
  const std::int32_t counter_code = credit_side ? ledger.debitCode : ledger.creditCode;
  StKAMOKUINFO account;
  std::int32_t counter_nature = 0;
  if (sundries) {
    std::strcpy(line->counterAccountName, "諸口");
  } else {
    LookUpAccount(counter_code / kCodeScale, &account, failure);
    counter_nature = account.nature;
    CopyText(line->counterAccountName, sizeof(line->counterAccountName), account.name, sizeof(account.name));
    if (counter_code % kCodeScale != 0 && LookUpAccount(counter_code, &account, failure))
      CopyText(line->counterSubAccountName, sizeof(line->counterSubAccountName), account.name,
               sizeof(account.name));
  }
  if (own_code % kCodeScale != 0 && LookUpAccount(own_code, &account, failure))
    CopyText(line->subAccountName, sizeof(line->subAccountName), account.name, sizeof(account.name));
  return counter_nature;
}

// The ledger line of one row, handed on through the feed, and the running
// balance after it. A row that moves nothing, whose counter account is
// outside the aggregation, or that is a tax account's line not naming it
// under the tax-included method, gives no line.
RunFailure PutLedgerLine(const StMOTOCHOINFO& ledger, const LedgerAccount& account,
                         const StDATAINFO* data, LedgerLineFeed* feed, std::int64_t* balance) {
  RunFailure failure;
  const std::int32_t own_main = account.code / kCodeScale;
  const bool named =
      ledger.debitCode / kCodeScale == own_main || ledger.creditCode / kCodeScale == own_main;
  const std::int64_t movement = Movement(ledger, account, named);
  const bool sundries = CounterpartIsSundries(ledger, data, &failure);
  if (failure.failed()) return failure;

  LedgerLine* const line = feed->Line(); // handed on by Put, dropped otherwise
  const std::int32_t counter_nature = NameAccounts(ledger, sundries, line, &failure);
  if (failure.failed()) return failure;
  if (movement == 0 || counter_nature == kNatureNotAggregated ||
      counter_nature == kNatureNotAggregatedB || (account.taxMethod != 0 && account.taxAccount && !named))
    return failure;

  line->code = account.code;
  line->entryNo = ledger.entryNo;
  CmnProcHpr dates(0);
  // The date text is cut at 30 bytes, never inside a character.
  MbcsCopy(line->dateText, sizeof(line->dateText), dates.FormatDate(ledger.date, 0, 0));
  if (failure.Note(dates.ReadFailure())) return failure; // the era table could not be read
  CopyText(line->description, sizeof(line->description), ledger.description, sizeof(ledger.description));
  line->amount = movement;
  *balance = AddUnits(*balance, movement);
  line->balance = *balance;
  if (!feed->Put()) return RunFailure::Of(RunFailure::Kind::kNoMemory);
  return failure;
}

} // namespace

RunFailure StatementAggregator::ReadyLedgerCursor(std::int32_t code, int s, int e, long* count) {
  RunFailure failure;
  if (ledgerCursor_ == nullptr) {
    ledgerCursor_.reset(new (std::nothrow) ClRuleMotocho());
    if (ledgerCursor_ == nullptr) return RunFailure::Of(RunFailure::Kind::kNoMemory);
    if (failure.Note(AttachToCompanyData(ledgerCursor_.get(), "ClRuleMotocho", nullptr, kLedgerWhat)))
      return failure;
  }

  // The display settings: the account and the dates of the chosen months.
  std::memset(&ledgerDisplay_, 0, sizeof(ledgerDisplay_));
  std::memset(ledgerExtra_, 0, sizeof(ledgerExtra_));
  ledgerDisplay_.code = code;
  ledgerDisplay_.interim = e == kMonthPositionInterim ? 1 : 0;
  std::int32_t first_date = 0, last_date = 0;
  if (failure.Note(ReadRangeDates(s, e, &first_date, &last_date))) return failure;
  ledgerDisplay_.firstDate = first_date;
  ledgerDisplay_.lastDate = last_date;
  ledgerDisplay_.extra = ledgerExtra_;

  // Every month position but the interim adjustments.
  const StFINDINFO find = Condition(kFindFieldMonthPosition, kFindOpNotEqual, kMonthPositionInterim);
  StSORTINFO order[kLedgerOrderLength];
  FillOrder(order);
  ClRuleMotocho* cursor = ledgerCursor_.get();
  long ready = 0;
  {
    // The first account's cursor waits for the host to read the whole
    // journal: the progress window pulses whenever the host says it is busy.
    RunProgress* window = progressWindow;
    HostExtras* extras = window ? hostExtras : nullptr;
    if (extras) extras->SetBusyHook([window] { window->PulseSecondBar(); });
    ready = cursor->MoveReady(&find, order, &ledgerDisplay_);
    if (extras) extras->SetBusyHook(nullptr);
  }
  if (HostReadOk(ready, "ClRuleMotocho::MoveReady", kLedgerWhat, &failure) &&
      HostReadOk(cursor->GetCount(&find, &ledgerDisplay_, count), "ClRuleMotocho::GetCount",
                 kLedgerWhat, &failure))
    HostReadOk(cursor->SetMovePos(0), "ClRuleMotocho::SetMovePos", kLedgerWhat, &failure);
  return failure;
}

RunFailure StatementAggregator::collectLedger(std::int32_t taxMethodFlag, const StDATAINFO* data,
                                              const StFINDINFO* conditions, StKAMOKUSUMINFO row) {
  if (!HasLedger(row)) return RunFailure();
  LedgerLineFeed* const feed = ledgerFeed_.get();
  if (feed == nullptr || data == nullptr || conditions == nullptr)
    return RunFailure::Of(RunFailure::Kind::kNoInput);

  const int s = conditions[0].value;
  const int e = conditions[1].value;
  long count = 0;
  RunFailure failure = ReadyLedgerCursor(row.code, s, e, &count);
  if (failure.failed()) return failure;

  const LedgerAccount account{row.code, taxMethodFlag,
                              row.nature == kNatureTaxPayable || row.nature == kNatureTaxReceivable,
                              row.normalSide == kNormalSideDebit};
  // Every sum below is checked: an AmountOverflow leaves for the driver,
  // which fails the run.
  const bool slot_zero = OpeningUsesSlotZero(s, data->introductionMonth);
  std::int64_t balance = OpeningBalance(row, taxMethodFlag, s, slot_zero).Units();

  ClRuleMotocho* const cursor = ledgerCursor_.get();
  StMOTOCHOINFO ledger;
  for (long i = 0; i < count; ++i) {
    if (progressWindow) progressWindow->PulseSecondBar();
    std::memset(&ledger, 0, sizeof(ledger));
    const long read = i == 0 ? cursor->MoveFirst(&ledger) : cursor->MoveNext(&ledger);
    if (read == kHostEndOfRows) break;
    if (!HostReadOk(read, i == 0 ? "ClRuleMotocho::MoveFirst" : "ClRuleMotocho::MoveNext",
                    kLedgerWhat, &failure))
      return failure;
    if (failure.Note(PutLedgerLine(ledger, account, data, feed, &balance))) return failure;
  }

  cursor->MoveFinish();
  ledgerCursor_.reset();
  return failure;
}

} // namespace stmtlink

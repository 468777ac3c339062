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
#include "AccUty/host_read_failure.h"
#include "aggregate/amount.h"
#include "aggregate/ledger_line.h"
#include "aggregate/statement_aggregator.h"
#include "app/progress_dialog.h"
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

constexpr std::int32_t kNotAggregated = 0x08000000;
constexpr std::int32_t kNotAggregatedB = 0x08000080;
constexpr std::int32_t kTaxPayable = static_cast<std::int32_t>(0x80484010u);
constexpr std::int32_t kTaxReceivable = static_cast<std::int32_t>(0x80880810u);
constexpr int kInterimPosition = 15;
constexpr std::int32_t kCodeScale = 10000;

// The order of the ledger and journal cursors: fields 9, 17, 41, 8, 6, 64,
// the last one flagged.
void FillOrder(StSORTINFO (&order)[6]) {
  static const std::int32_t kFields[6] = {9, 17, 41, 8, 6, 64};
  std::memset(order, 0, sizeof(order));
  for (int i = 0; i < 6; ++i) order[i].fieldId = kFields[i];
  order[5].flag0 = 1;
}

StFINDINFO Condition(std::int32_t field, std::int16_t op, std::int32_t value) {
  StFINDINFO find;
  std::memset(&find, 0, sizeof(find));
  find.fieldId = field;
  find.op = op;
  SetFindValue32(&find, value);
  return find;
}

constexpr char kLedgerWhat[] = "総勘定元帳";
constexpr char kAccountsWhat[] = "勘定科目";
constexpr char kJournalWhat[] = "仕訳";
constexpr char kPeriodWhat[] = "会計期間";

// An account of the account data set by number (a number below 10,000 is
// a main code). False when there is none (an empty name, as the ledger
// expects) and when the host failed, which is noted: the caller asks
// HostReadFailed(). A main code whose stored form does not fit 32 bits
// (corrupted books) names no account.
bool LookUpAccount(std::int32_t number, StKAMOKUINFO* info) {
  std::memset(info, 0, sizeof(*info));
  std::int32_t code = number;
  if (number < kCodeScale && __builtin_mul_overflow(number, kCodeScale, &code)) return false;
  auto* accounts = static_cast<ClSetKamoku*>(ClDataMgr::Inst()->GetSetObject(1, 1));
  if (!HostObjectOk(accounts, "ClDataMgr::GetSetObject", kAccountsWhat)) return false;
  const StFINDINFO find = Condition(2, 1, code);
  long cursor = 0;
  if (!HostReadOk(accounts->GetCursor(&cursor), "ClSetKamoku::GetCursor", kAccountsWhat))
    return false;
  bool found = false;
  if (HostReadOk(accounts->ReadyCursor(cursor, &find), "ClSetKamoku::ReadyCursor", kAccountsWhat)) {
    const long walked = accounts->WalkFind(cursor, info);
    found = walked == 0;
    // No account of that code is a normal answer; anything else failed.
    if (walked != kHostEndOfRows) HostReadOk(walked, "ClSetKamoku::WalkFind", kAccountsWhat);
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
// accounts. A host failure is noted (the answer is then meaningless).
bool EarlierLinesUnbalanced(const StDATAINFO* data, std::int32_t entry_id, std::int32_t line_no) {
  auto journal = std::make_unique<ClRuleShiwake>();
  char data_id[sizeof(data->dataId) + 1] = {};
  std::memcpy(data_id, data->dataId, sizeof(data->dataId));
  if (!AttachToCompanyData(journal.get(), "ClRuleShiwake", data_id, kJournalWhat)) return false;
  const StFINDINFO find = Condition(6, 1, entry_id);
  StSORTINFO order[6];
  FillOrder(order);
  if (!HostReadOk(journal->MoveReady(&find, order, nullptr, 2), "ClRuleShiwake::MoveReady",
                  kJournalWhat))
    return false;
  long count = 0;
  if (!HostReadOk(journal->GetSwkCount(&find, nullptr, &count), "ClRuleShiwake::GetSwkCount",
                  kJournalWhat))
    return false;
  std::int64_t debits = 0, credits = 0;
  StSWKTINFO line;
  for (long i = 0; i < count; ++i) {
    std::memset(&line, 0, sizeof(line));
    const long read = i == 0 ? journal->MoveFirst(&line) : journal->MoveNext(&line);
    if (read == kHostEndOfRows) break;
    if (!HostReadOk(read, i == 0 ? "ClRuleShiwake::MoveFirst" : "ClRuleShiwake::MoveNext",
                    kJournalWhat))
      return false;
    if (line.lineNo == line_no) break;
    debits = AddUnits(debits, AddUnits(line.debitAmount, line.debitTax));
    credits = AddUnits(credits, AddUnits(line.creditAmount, line.creditTax));
  }
  journal->MoveFinish();
  return debits != credits;
}

} // namespace

int StatementAggregator::collectLedger(std::int32_t taxMethodFlag, const StDATAINFO* data,
                                       const StFINDINFO* conditions, StKAMOKUSUMINFO row) {
  const std::int32_t nature = row.nature;
  if (row.lineType != 0 || row.ledgerExcludedA == 1 || row.ledgerExcludedB == 1 ||
      nature == kNotAggregated || nature == kNotAggregatedB)
    return 1;
  LedgerLineFeed* const feed = ledgerFeed_.get();
  if (feed == nullptr || data == nullptr || conditions == nullptr) return 0;

  if (ledgerCursor_ == nullptr) {
    ledgerCursor_.reset(new (std::nothrow) ClRuleMotocho());
    if (ledgerCursor_ == nullptr) return 0;
    if (!AttachToCompanyData(ledgerCursor_.get(), "ClRuleMotocho", nullptr, kLedgerWhat)) return 0;
  }

  // The display settings: the account and the dates of the chosen months.
  const int s = conditions[0].value;
  const int e = conditions[1].value;
  std::memset(&ledgerDisplay_, 0, sizeof(ledgerDisplay_));
  std::memset(ledgerExtra_, 0, sizeof(ledgerExtra_));
  ledgerDisplay_.code = row.code;
  ledgerDisplay_.interim = e == kInterimPosition ? 1 : 0;
  std::int32_t first_date = 0, last_date = 0, unused = 0;
  ClSetMgr* set_mgr = ClDataMgr::Inst()->GetSetMgr();
  if (!HostObjectOk(set_mgr, "ClDataMgr::GetSetMgr", kPeriodWhat)) return 0;
  auto* data_set = static_cast<ClSetData*>(set_mgr->GetSetObject(5, 1));
  if (!HostObjectOk(data_set, "ClSetMgr::GetSetObject", kPeriodWhat)) return 0;
  ClAccPeriod* period = data_set->GetAccPeriod();
  if (!HostObjectOk(period, "ClSetData::GetAccPeriod", kPeriodWhat) ||
      !HostReadOk(period->GetPeriodByMonthKind(s, &first_date, &unused, 0),
                  "ClAccPeriod::GetPeriodByMonthKind", kPeriodWhat) ||
      !HostReadOk(period->GetPeriodByMonthKind(e, &unused, &last_date, 0),
                  "ClAccPeriod::GetPeriodByMonthKind", kPeriodWhat))
    return 0;
  ledgerDisplay_.firstDate = first_date;
  ledgerDisplay_.lastDate = last_date;
  ledgerDisplay_.extra = ledgerExtra_;

  const StFINDINFO find = Condition(17, 2, kInterimPosition);
  StSORTINFO order[6];
  FillOrder(order);
  ClRuleMotocho* cursor = ledgerCursor_.get();
  long ready = 0;
  {
    // The first account's cursor waits for the host to read the whole
    // journal: the progress window pulses whenever the host says it is busy.
    ProgressDialog* window = progressWindow;
    HostExtras* extras = window ? hostExtras : nullptr;
    if (extras) extras->SetBusyHook([window] { window->PulseSecondBar(); });
    ready = cursor->MoveReady(&find, order, &ledgerDisplay_);
    if (extras) extras->SetBusyHook(nullptr);
  }
  if (!HostReadOk(ready, "ClRuleMotocho::MoveReady", kLedgerWhat)) return 0;
  long count = 0;
  if (!HostReadOk(cursor->GetCount(&find, &ledgerDisplay_, &count), "ClRuleMotocho::GetCount",
                  kLedgerWhat) ||
      !HostReadOk(cursor->SetMovePos(0), "ClRuleMotocho::SetMovePos", kLedgerWhat))
    return 0;

  const bool tax_account = nature == kTaxPayable || nature == kTaxReceivable;
  const bool debit_side = row.normalSide == 1;
  const std::int32_t own_main = row.code / kCodeScale;
  // Every sum below is checked: an AmountOverflow leaves for the driver,
  // which fails the run.
  const bool slot_zero = OpeningUsesSlotZero(s, data->introductionMonth);
  std::int64_t balance = OpeningBalance(row, taxMethodFlag, s, slot_zero).Units();

  StMOTOCHOINFO ledger;
  StKAMOKUINFO account;
  for (long i = 0; i < count; ++i) {
    if (progressWindow) progressWindow->PulseSecondBar();
    std::memset(&ledger, 0, sizeof(ledger));
    const long read = i == 0 ? cursor->MoveFirst(&ledger) : cursor->MoveNext(&ledger);
    if (read == kHostEndOfRows) break;
    if (!HostReadOk(read, i == 0 ? "ClRuleMotocho::MoveFirst" : "ClRuleMotocho::MoveNext",
                    kLedgerWhat))
      return 0;

    const std::int32_t debit_code = ledger.debitCode;
    const std::int32_t credit_code = ledger.creditCode;
    const bool named = debit_code / kCodeScale == own_main || credit_code / kCodeScale == own_main;
    std::int64_t d, c;
    if (taxMethodFlag == 1) {
      d = AddUnits(ledger.debitAmount, ledger.debitTax);
      c = AddUnits(ledger.creditAmount, ledger.creditTax);
    } else if (tax_account && !named) {
      d = ledger.debitTax;
      c = ledger.creditTax;
    } else {
      d = ledger.debitAmount;
      c = ledger.creditAmount;
    }
    const std::uint8_t side = ledger.side;
    std::int64_t movement;
    if (side == 1) movement = debit_side ? SubtractUnits(0, c) : c;
    else if (side == 2) movement = debit_side ? d : SubtractUnits(0, d);
    else movement = debit_side ? SubtractUnits(d, c) : SubtractUnits(c, d);

    const std::int32_t own_code = side == 1 ? credit_code : debit_code;
    const std::int32_t counter_code = side == 1 ? debit_code : credit_code;

    const std::uint8_t marker = ledger.counterpartMarker;
    const std::int64_t p0 = AddUnits(ledger.debitAmount, ledger.debitTax);
    const std::int64_t q0 = AddUnits(ledger.creditAmount, ledger.creditTax);
    bool sundries;
    if ((side == 1 && marker == 0x21) || (side != 1 && marker == 0x12)) {
      sundries = true;
    } else if (marker == 0x22) {
      sundries = p0 != q0 ||
                 (ledger.lineNo != 1 && EarlierLinesUnbalanced(data, ledger.entryId, ledger.lineNo));
      if (HostReadFailed()) return 0;
    } else {
      sundries = false;
    }

    LedgerLine* const line = feed->Line(); // handed on by Put, dropped otherwise
    std::int32_t counter_nature = 0;
    if (sundries) {
      std::strcpy(line->counterAccountName, "諸口");
    } else {
      LookUpAccount(counter_code / kCodeScale, &account);
      counter_nature = account.nature;
      CopyText(line->counterAccountName, sizeof(line->counterAccountName), account.name, sizeof(account.name));
      if (counter_code % kCodeScale != 0 && LookUpAccount(counter_code, &account))
        CopyText(line->counterSubAccountName, sizeof(line->counterSubAccountName), account.name,
                 sizeof(account.name));
    }
    if (own_code % kCodeScale != 0 && LookUpAccount(own_code, &account))
      CopyText(line->subAccountName, sizeof(line->subAccountName), account.name, sizeof(account.name));
    if (HostReadFailed()) return 0;

    if (movement == 0 || counter_nature == kNotAggregated || counter_nature == kNotAggregatedB ||
        (taxMethodFlag != 0 && tax_account && !named))
      continue;

    line->code = row.code;
    line->entryNo = ledger.entryNo;
    CmnProcHpr dates(0);
    // The date text is cut at 30 bytes, never inside a character.
    MbcsCopy(line->dateText, sizeof(line->dateText), dates.FormatDate(ledger.date, 0, 0));
    if (HostReadFailed()) return 0; // the era table could not be read
    CopyText(line->description, sizeof(line->description), ledger.description, sizeof(ledger.description));
    line->amount = movement;
    balance = AddUnits(balance, movement);
    line->balance = balance;
    if (!feed->Put()) return 0;
  }

  cursor->MoveFinish();
  ledgerCursor_.reset();
  return 1;
}

} // namespace stmtlink

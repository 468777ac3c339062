// Records of the host's libraries, with the byte layouts the program reads.
// Only the named fields are the program's business; the rest of each record
// is the host's and is kept as reserved bytes so that every offset matches.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>

#pragma pack(push, 1)

// One company data set of the host (1504 bytes).
struct StDATAINFO {
  char dataId[16];               // 0: identifier for SetCurDataID
  std::int32_t dataNo;           // 16: data set number
  std::uint8_t reserved20[4];
  char companyNameText[260];     // 24: company name
  std::int32_t periodStart;      // 284 (0x11C): yyyymmdd
  std::int32_t periodEnd;        // 288 (0x120): yyyymmdd
  std::uint8_t reserved292[8];
  std::int32_t keepsMfgSchedule; // 300 (0x12C): nonzero: schedule of cost of goods manufactured
  std::int32_t interimClosing;   // 304 (0x130): 1: interim closing after the sixth month
  std::uint8_t reserved308[18];
  std::int16_t introductionMonth; // 326 (0x146): 99 marks past-results data
  std::uint8_t reserved328[548];
  std::uint8_t companyLaw;       // 876 (0x36C): 1: converted to the company-law format
  std::uint8_t reserved877[627];
};

// The introduction month that marks past-results data, which the link
// cannot use.
constexpr std::int16_t kIntroductionMonthPastResults = 99;
// A company with an interim closing (interimClosing 1) closes it after
// this month position; the interim adjustments belong to it.
constexpr std::int32_t kInterimClosingOn = 1;
constexpr int kInterimClosingMonthPosition = 6;

// The consumption-tax settings (12 bytes).
struct StSHOHIZEIINFO {
  std::uint8_t reserved0[5];
  std::uint8_t taxIncluded;      // 5: nonzero: amounts include consumption tax
  std::uint8_t reserved6[6];
};

// One entry of the host's search conditions (34 bytes). A condition chain is
// an array of entries; each entry's link is nonzero when another follows.
struct StFINDINFO {
  std::int32_t fieldId;          // 0: 17 for the month position
  std::uint8_t reserved4[2];
  std::int16_t op;               // 6: operator code
  std::uint8_t reserved8[2];
  std::int16_t valueType;        // 10 (0x0A): 2 for a number
  std::uint8_t reserved12[6];
  std::int16_t value;            // 18 (0x12): a month position
  std::uint8_t reserved20[10];
  std::int16_t link;             // 30 (0x1E): 0 ends the chain
  std::uint8_t reserved32[2];
};

// The number of entries in a condition chain buffer (136 bytes).
constexpr int kFindInfoChainLength = 4;

// Fields a search condition compares (their meaning is the host's; these
// are the ones the program names).
constexpr std::int32_t kFindFieldAccountCode = 2;   // ClSetKamoku: the account's code
constexpr std::int32_t kFindFieldEntryId = 6;       // ClRuleShiwake: the journal entry's identifier
constexpr std::int32_t kFindFieldMonthPosition = 17; // the month position of sums and ledger rows
// Operators of a search condition.
constexpr std::int16_t kFindOpEqual = 1;
constexpr std::int16_t kFindOpNotEqual = 2;
constexpr std::int16_t kFindOpAtLeast = 4;
constexpr std::int16_t kFindOpAtMost = 6;
// An entry's link to the next one: none (the chain ends), and, or.
constexpr std::int16_t kFindLinkEnd = 0;
constexpr std::int16_t kFindLinkAnd = 1;
constexpr std::int16_t kFindLinkOr = 2;

// Month positions beyond the twelve months of the year: the interim
// closing's adjustments and the year-end adjustments.
constexpr std::int16_t kMonthPositionInterim = 15;
constexpr std::int16_t kMonthPositionYearEnd = 18;

// Slots of an account-sum amount array: 0 carried into the year, 1-12 the
// month positions, 13 the year-end and 14 the interim closing adjustment.
constexpr int kSumSlots = 15;
constexpr int kSumSlotYearEnd = 13;
constexpr int kSumSlotInterim = 14;

// One row of the account-sum cursor (636 bytes): an account with its debit
// and credit sums per slot, in two amount sets (the first excludes
// consumption tax, the second includes it). Amounts are 1/10,000 yen.
struct StKAMOKUSUMINFO {
  std::uint8_t reserved0[32];
  std::int32_t code;             // 0x20: main x 10,000 (+ sub)
  std::uint8_t reserved36[2];
  char formalName[31];           // 0x26: CP932, zero-terminated
  std::uint8_t reserved69[26];
  char statementName[31];        // 0x5F: CP932, zero-terminated; empty when none
  std::uint8_t ledgerExcludedA;  // 0x7E: 1 excluded from the general ledger
  std::uint8_t ledgerExcludedB;  // 0x7F: 1 excluded from the general ledger
  std::uint8_t lineType;         // 0x80: 0 account, 1 heading, 2 total, 3 computed item
  std::uint8_t reserved129;
  std::uint8_t normalSide;       // 0x82: 1 debit, otherwise credit
  std::uint8_t reserved131[5];
  std::int32_t nature;           // 0x88: account-nature code
  std::uint8_t reserved140[12];
  // The amounts: read and written only through GetSumSlots / SetSumSlots.
  std::int64_t debit1[kSumSlots];  // 0x98: debits, first amount set
  std::int64_t debit2[kSumSlots];  // 0x110: debits, second amount set
  std::int64_t credit1[kSumSlots]; // 0x188: credits, first amount set
  std::int64_t credit2[kSumSlots]; // 0x200: credits, second amount set
  std::uint8_t reserved632[4];
};

#pragma pack(pop)

// Line types of an account-sum row.
constexpr std::uint8_t kLineTypeAccount = 0;
constexpr std::uint8_t kLineTypeHeading = 1;
constexpr std::uint8_t kLineTypeTotal = 2;
constexpr std::uint8_t kLineTypeComputed = 3;
// The normal side of an account-sum row that is the debit side.
constexpr std::uint8_t kNormalSideDebit = 1;
// The exclusion flags of an account-sum row: excluded from the ledger.
constexpr std::uint8_t kLedgerExcluded = 1;

// Account-nature codes (StKAMOKUSUMINFO::nature, StKAMOKUINFO::nature) that
// the program treats apart. Bit 31 marks a balance-sheet account.
// Accounts outside the aggregation: no ledger, and no ledger line against them.
constexpr std::int32_t kNatureNotAggregated = 0x08000000;
constexpr std::int32_t kNatureNotAggregatedB = 0x08000080;
// The consumption-tax accounts: the tax received on sales (a liability,
// booked as credit tax) and the tax paid on purchases (booked as debit tax).
constexpr std::int32_t kNatureTaxPayable = static_cast<std::int32_t>(0x80484010u);
constexpr std::int32_t kNatureTaxReceivable = static_cast<std::int32_t>(0x80880810u);
// The retained-earnings carry: when the opening balances do not come from
// slot 0, the opening balance of the net-assets account of the first
// nature is added to the closing balance of the last line of the second.
constexpr std::int32_t kNatureRetainedEarningsCarried = static_cast<std::int32_t>(0x80202010u);
constexpr std::int32_t kNatureCarryTarget = 0x40200020;

// Department conditions of the host's cursors; the program passes none.
struct StBUMONINFO;

// The four amount arrays of a StKAMOKUSUMINFO (its bytes 0x98 to 0x277).
// The record is packed and may lie at any address (an array of records puts
// every other one off an 8-byte boundary), so its amounts are never read or
// written through pointers into it, only as a copy through these helpers.
struct SumSlots {
  std::int64_t debit1[kSumSlots];
  std::int64_t debit2[kSumSlots];
  std::int64_t credit1[kSumSlots];
  std::int64_t credit2[kSumSlots];
};

static_assert(sizeof(StDATAINFO) == 1504);
static_assert(offsetof(StDATAINFO, dataNo) == 16);
static_assert(offsetof(StDATAINFO, companyNameText) == 24);
static_assert(offsetof(StDATAINFO, periodStart) == 0x11C);
static_assert(offsetof(StDATAINFO, periodEnd) == 0x120);
static_assert(offsetof(StDATAINFO, keepsMfgSchedule) == 0x12C);
static_assert(offsetof(StDATAINFO, interimClosing) == 0x130);
static_assert(offsetof(StDATAINFO, introductionMonth) == 0x146);
static_assert(offsetof(StDATAINFO, companyLaw) == 0x36C);
static_assert(sizeof(StSHOHIZEIINFO) == 12);
static_assert(offsetof(StSHOHIZEIINFO, taxIncluded) == 5);
static_assert(sizeof(StFINDINFO) == 34);
static_assert(offsetof(StFINDINFO, op) == 6);
static_assert(offsetof(StFINDINFO, valueType) == 0x0A);
static_assert(offsetof(StFINDINFO, value) == 0x12);
static_assert(offsetof(StFINDINFO, link) == 0x1E);
static_assert(sizeof(StKAMOKUSUMINFO) == 636);
static_assert(offsetof(StKAMOKUSUMINFO, code) == 0x20);
static_assert(offsetof(StKAMOKUSUMINFO, formalName) == 0x26);
static_assert(offsetof(StKAMOKUSUMINFO, statementName) == 0x5F);
static_assert(offsetof(StKAMOKUSUMINFO, ledgerExcludedA) == 0x7E);
static_assert(offsetof(StKAMOKUSUMINFO, ledgerExcludedB) == 0x7F);
static_assert(offsetof(StKAMOKUSUMINFO, lineType) == 0x80);
static_assert(offsetof(StKAMOKUSUMINFO, normalSide) == 0x82);
static_assert(offsetof(StKAMOKUSUMINFO, nature) == 0x88);
static_assert(offsetof(StKAMOKUSUMINFO, debit1) == 0x98);
static_assert(offsetof(StKAMOKUSUMINFO, debit2) == 0x110);
static_assert(offsetof(StKAMOKUSUMINFO, credit1) == 0x188);
static_assert(offsetof(StKAMOKUSUMINFO, credit2) == 0x200);
static_assert(sizeof(SumSlots) == 0x278 - 0x98);

inline SumSlots GetSumSlots(const StKAMOKUSUMINFO& row) {
  SumSlots slots;
  std::memcpy(&slots, reinterpret_cast<const unsigned char*>(&row) + offsetof(StKAMOKUSUMINFO, debit1),
              sizeof(slots));
  return slots;
}

inline void SetSumSlots(StKAMOKUSUMINFO* row, const SumSlots& slots) {
  std::memcpy(reinterpret_cast<unsigned char*>(row) + offsetof(StKAMOKUSUMINFO, debit1), &slots,
              sizeof(slots));
}

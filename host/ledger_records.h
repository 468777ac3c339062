// Records of the host's account data set, general-ledger cursor and journal
// cursor, with the byte layouts the program reads. As in host_records.h,
// only the named fields are the program's business; the rest is reserved.
// The records are packed: fields are read and written by name (the compiler
// knows they may be unaligned), never through pointers into a record.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>

#include "host/host_records.h"

#pragma pack(push, 1)

// One account of the account data set (213 bytes).
struct StKAMOKUINFO {
  std::int32_t code;             // 0: main x 10,000 + sub
  std::uint8_t reserved4[18];
  char name[31];                 // 0x16: formal name, CP932, zero-terminated
  std::uint8_t reserved53[91];
  std::int32_t nature;           // 0x90: account-nature code
  std::uint8_t reserved148[65];
};

// The fields that a ledger row and a journal line share lie at the same
// offsets in both records; they are spelled out in each so that every
// offset can be pinned.
#define STMTLINK_JOURNAL_LINE_FIELDS                                                      \
  std::uint8_t reserved0[4];                                                              \
  std::int32_t entryId;          /* 0x04: identifier of the journal entry */            \
  std::int32_t entryNo;          /* 0x08: the entry's number as the user sees it */     \
  std::int32_t lineNo;           /* 0x0C: line within the entry, 1 the first */         \
  std::int32_t date;             /* 0x10: yyyymmdd */                                   \
  std::uint8_t reserved20[66];                                                            \
  std::uint8_t counterpartMarker; /* 0x56: (debit multiplicity << 4) | credit's */      \
  std::uint8_t reserved87;                                                                \
  std::int32_t debitCode;        /* 0x58: 0 when the line has no debit account */       \
  std::uint8_t reserved92[4];                                                             \
  std::int64_t debitAmount;      /* 0x60: without consumption tax */                    \
  std::int64_t debitTax;         /* 0x68: consumption tax on the debit amount */        \
  std::uint8_t reserved112[17];                                                           \
  std::int32_t creditCode;       /* 0x81: 0 when the line has no credit account */      \
  std::uint8_t reserved133[4];                                                            \
  std::int64_t creditAmount;     /* 0x89: without consumption tax */                    \
  std::int64_t creditTax;        /* 0x91: consumption tax on the credit amount */       \
  std::uint8_t reserved153[17];                                                           \
  char description[61];          /* 0xAA: CP932, at most 60 bytes, zero-terminated */

// One row of the general-ledger cursor (620 bytes): a journal line seen from
// one account.
struct StMOTOCHOINFO {
  STMTLINK_JOURNAL_LINE_FIELDS
  std::uint8_t reserved231[381];
  std::uint8_t side;             // 0x264: 1 credit side, 2 debit side, 3 both
  std::uint8_t reserved613[7];
};

// One line of the journal cursor (596 bytes).
struct StSWKTINFO {
  STMTLINK_JOURNAL_LINE_FIELDS
  std::uint8_t reserved231[365];
};

#undef STMTLINK_JOURNAL_LINE_FIELDS

// The display settings of the general-ledger cursor (80 bytes).
struct StMOTOCHOHYOJIINFO {
  std::int32_t code;             // 0: the account (main x 10,000, or a sub-account's code)
  std::uint8_t reserved4[44];
  std::int32_t interim;          // 0x30: 1 when the range ends at the interim closing
  std::int32_t firstDate;        // 0x34: first date of the range, yyyymmdd
  std::int32_t lastDate;         // 0x38: last date of the range, yyyymmdd
  std::uint8_t reserved60[8];
  std::int32_t* extra;           // 0x44: the caller's three 32-bit values (not read)
  std::uint8_t reserved76[4];
};

// One entry of the cursors' order conditions (8 bytes).
struct StSORTINFO {
  std::uint8_t flag0;            // 0
  std::uint8_t flag1;            // 1
  std::int32_t fieldId;          // 2
  std::int16_t value;            // 6
};

#pragma pack(pop)

// The journal cursor's display settings; the program passes none.
struct StSWKDISPINFO;

// The side byte of a ledger row: on which side of the line the account
// stands (the third value: on both).
constexpr std::uint8_t kLedgerSideCredit = 1;
constexpr std::uint8_t kLedgerSideDebit = 2;

// The counterpart marker of a ledger row: the number of accounts on the
// debit side of its entry in the high four bits and on the credit side in
// the low four, each 0 (none), 1 (one) or 2 (several).
constexpr std::uint8_t kMarkerSeveralDebitsOneCredit = 0x21;
constexpr std::uint8_t kMarkerOneDebitSeveralCredits = 0x12;
constexpr std::uint8_t kMarkerSeveralOnBothSides = 0x22;

// The order the program asks of the ledger and journal cursors: six
// StSORTINFO entries with these field identifiers in turn, the last one
// with flag0 1. The fields are the host's; the rows come in date, month
// position (year-end adjustments after the same day's ordinary lines),
// entry number, entry id and line order.
constexpr int kLedgerOrderLength = 6;
constexpr std::int32_t kLedgerOrderFields[kLedgerOrderLength] = {9, 17, 41, 8, 6, 64};

// Value types of a search condition: 2 a 16-bit number at 0x12, 3 a 32-bit
// number at 0x12 (it takes the two reserved bytes after the 16-bit field).
constexpr std::int16_t kFindValue16 = 2;
constexpr std::int16_t kFindValue32 = 3;

// The number that a search condition compares with, by its value type.
inline std::int32_t FindValue(const StFINDINFO& find) {
  if (find.valueType != kFindValue32) return find.value;
  std::int32_t value;
  std::memcpy(&value, reinterpret_cast<const unsigned char*>(&find) + offsetof(StFINDINFO, value),
              sizeof(value));
  return value;
}

// Makes *find compare with a 32-bit number.
inline void SetFindValue32(StFINDINFO* find, std::int32_t value) {
  find->valueType = kFindValue32;
  std::memcpy(reinterpret_cast<unsigned char*>(find) + offsetof(StFINDINFO, value), &value,
              sizeof(value));
}

static_assert(sizeof(StKAMOKUINFO) == 213);
static_assert(offsetof(StKAMOKUINFO, name) == 0x16);
static_assert(offsetof(StKAMOKUINFO, nature) == 0x90);

static_assert(sizeof(StMOTOCHOINFO) == 620);
static_assert(offsetof(StMOTOCHOINFO, entryId) == 0x04);
static_assert(offsetof(StMOTOCHOINFO, entryNo) == 0x08);
static_assert(offsetof(StMOTOCHOINFO, lineNo) == 0x0C);
static_assert(offsetof(StMOTOCHOINFO, date) == 0x10);
static_assert(offsetof(StMOTOCHOINFO, counterpartMarker) == 0x56);
static_assert(offsetof(StMOTOCHOINFO, debitCode) == 0x58);
static_assert(offsetof(StMOTOCHOINFO, debitAmount) == 0x60);
static_assert(offsetof(StMOTOCHOINFO, debitTax) == 0x68);
static_assert(offsetof(StMOTOCHOINFO, creditCode) == 0x81);
static_assert(offsetof(StMOTOCHOINFO, creditAmount) == 0x89);
static_assert(offsetof(StMOTOCHOINFO, creditTax) == 0x91);
static_assert(offsetof(StMOTOCHOINFO, description) == 0xAA);
static_assert(offsetof(StMOTOCHOINFO, side) == 0x264);

static_assert(sizeof(StSWKTINFO) == 596);
static_assert(offsetof(StSWKTINFO, entryId) == 0x04);
static_assert(offsetof(StSWKTINFO, entryNo) == 0x08);
static_assert(offsetof(StSWKTINFO, lineNo) == 0x0C);
static_assert(offsetof(StSWKTINFO, date) == 0x10);
static_assert(offsetof(StSWKTINFO, debitCode) == 0x58);
static_assert(offsetof(StSWKTINFO, debitAmount) == 0x60);
static_assert(offsetof(StSWKTINFO, debitTax) == 0x68);
static_assert(offsetof(StSWKTINFO, creditCode) == 0x81);
static_assert(offsetof(StSWKTINFO, creditAmount) == 0x89);
static_assert(offsetof(StSWKTINFO, creditTax) == 0x91);
static_assert(offsetof(StSWKTINFO, description) == 0xAA);

static_assert(sizeof(StMOTOCHOHYOJIINFO) == 80);
static_assert(offsetof(StMOTOCHOHYOJIINFO, interim) == 0x30);
static_assert(offsetof(StMOTOCHOHYOJIINFO, firstDate) == 0x34);
static_assert(offsetof(StMOTOCHOHYOJIINFO, lastDate) == 0x38);
static_assert(offsetof(StMOTOCHOHYOJIINFO, extra) == 0x44);

static_assert(sizeof(StSORTINFO) == 8);
static_assert(offsetof(StSORTINFO, fieldId) == 2);
static_assert(offsetof(StSORTINFO, value) == 6);

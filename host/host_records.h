// Records of the host's libraries, with the byte layouts the program reads.
// Only the named fields are the program's business; the rest of each record
// is the host's and is kept as reserved bytes so that every offset matches.
#pragma once

#include <cstddef>
#include <cstdint>

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

// The consumption-tax settings (12 bytes).
struct StSHOHIZEIINFO {
  std::uint8_t reserved0[5];
  std::uint8_t taxIncluded;      // 5: nonzero: amounts include consumption tax
  std::uint8_t reserved6[6];
};

#pragma pack(pop)

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

// The report file as a whole: the XML declaration, the root "REPORT", the
// system header that identifies this program to the receiver ("SYSTEM"), the
// company's basic information and presentation patterns ("BASIC"), and the
// data part ("DATA") with the statements built from the aggregated lines.
// The progress window moves on while the report is written.
//
// Every section answers 1 on success and 0 on failure, and the first 0 stops
// the report. The receiver reads the file byte by byte, so its line format
// (xml_writer.h) and the order of elements are fixed.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "aggregate/account_line.h"
#include "aggregate/ledger_line.h"
#include "host/host_records.h"
#include "platform/win_types.h"

namespace stmtlink {

class IndexScope;
class LineIndex;
class RunProgress;
class XmlWriter;

class ReportWriter {
 public:
  ReportWriter() = default;
  virtual ~ReportWriter() = default;

  ReportWriter(const ReportWriter&) = delete;
  ReportWriter& operator=(const ReportWriter&) = delete;

  // Writes the report to the Windows path `path`. 1 when the whole report
  // reached the operating system, 0 otherwise: the file cannot be created,
  // a write or the final flush failed, or a section failed on its data. A
  // failed report leaves its partial file on disk; it ends with "</REPORT>"
  // when the failure was in the data and the file was still writable.
  int WriteReport(const char* path, std::int16_t functionId, const StDATAINFO* dataInfo);

  // Set by the run before WriteReport; nothing here is owned.
  RunProgress* progressWindow = nullptr; // null: no progress shown
  const AccountLineList* lines = nullptr;   // null reads as an empty list
  // The general-ledger lines (null or empty: no ledger section). The
  // section walks them with a cursor of its own.
  const LedgerLineList* ledgerLines = nullptr;
  HWND ownerWindow = 0;        // owner of warnings; 0: no warnings are shown
  std::int16_t equityKind = 1; // 1 shareholders' equity, 2 members' equity
  std::int32_t notesAvailable = 0;
  const std::vector<std::string>* noteLines = nullptr; // for the notes section
  const unsigned char* noteGroupFlags = nullptr;       // for the notes section
  std::int16_t progressBase = 0; // main bar position the aggregation reached

  // The parts of the document, for the report and its tests.
  int WriteSystemHeader(XmlWriter& xml, std::int16_t functionId);
  int WriteBasicInfo(XmlWriter& xml, const StDATAINFO& dataInfo);
  int WriteData(XmlWriter& xml, const StDATAINFO& dataInfo);

  // The statements (statements.cpp, net_assets_changes.cpp).
  int WriteBalanceSheet(XmlWriter& xml);
  int WriteIncomeStatement(XmlWriter& xml);
  int WriteManufacturingCost(XmlWriter& xml);
  int WriteNetAssetsChanges(XmlWriter& xml);

  // Building blocks of the statements (statement_blocks.cpp).
  // Start tag of a section with the section's own total line as attributes
  // "Label" and "Amount" (empty when the amount is zero); no attributes
  // when the list has no line of that nature. `added` (1/10,000 yen) is
  // added to the total: the accounts a section lists beyond its members.
  int WriteCategory(XmlWriter& xml, std::uint32_t nature, const char* name, int depth,
                    std::int64_t added = 0);
  // One "Item" per listed line holding every bit of mask, with a nonzero
  // amount.
  int WriteItems(XmlWriter& xml, std::uint32_t mask, int depth);
  // <name Label="..." Amount="..."></name> for a computed total; nothing
  // (and success) when the list has no line of that nature.
  int WriteSubtotal(XmlWriter& xml, std::uint32_t nature, const char* name, int depth);
  // The income-tax items, without the totals of that block.
  int WriteIncomeTaxItems(XmlWriter& xml, int depth);
  // The accounts that carry only a general noncurrent-asset code; with
  // warn == 1 and an owner window, each one with a nonzero amount is first
  // shown in a warning.
  int WriteUnclassifiedAssets(XmlWriter& xml, int depth, int warn);
  // The sum of those accounts' closing balances (the ones with a nonzero
  // amount in yen) into *sum; 0 when memory runs out.
  int SumUnclassifiedAssets(std::int64_t* sum);

  const AccountLineList& Lines() const;

 private:
  friend class IndexScope;

  void Pulse();
  void Advance(int from, int to);

  // The index of the lines while a statement (or the whole data part) is
  // written; the parts called on their own index the lines afresh.
  const LineIndex* index_ = nullptr;
};

// The company name as the receiver shows it ("KOMONSAKINAME"): in
// full-width form, cut to at most 63 bytes without splitting a double-byte
// character. Names shorter than 31 bytes (at most 60 bytes in full width)
// are never cut.
std::string ToFullWidth(std::string_view companyName);

} // namespace stmtlink

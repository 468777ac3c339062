#include "report/report_writer.h"

#include "report/ledger_section.h"
#include "report/notes_section.h"

#include <cstring>

#include "progress/run_progress.h"
#include "platform/cfile.h"
#include "platform/full_width.h"
#include "platform/mbcs.h"
#include "report/index_scope.h"
#include "report/report_text.h"
#include "report/support_info_file.h"
#include "report/xml_writer.h"
#include "res/common/string_table.h"
#include "res/edition/edition.h"

namespace stmtlink {
namespace {

constexpr char kDeclaration[] = "<?xml version=\"1.0\" encoding=\"Shift_JIS\"?>\r\n";
constexpr char kDefaultProductVersion[] = "20.00.0X";
// The receiver shows at most this many bytes of the client name.
constexpr std::size_t kClientNameLimit = 63;

} // namespace

std::string ToFullWidth(std::string_view companyName) {
  return MbcsTruncate(ToFullWidthText(companyName), kClientNameLimit);
}

const AccountLineList& ReportWriter::Lines() const {
  static const AccountLineList kNoLines;
  return lines != nullptr ? *lines : kNoLines;
}

void ReportWriter::Pulse() {
  if (progressWindow != nullptr) progressWindow->PulseSecondBar();
}

void ReportWriter::Advance(int from, int to) {
  if (progressWindow != nullptr)
    progressWindow->AdvanceMainBar(static_cast<short>(from), static_cast<short>(to));
}

int ReportWriter::WriteReport(const char* path, std::int16_t functionId,
                              const StDATAINFO* dataInfo) {
  if (dataInfo == nullptr) return 0;
  CFile file;
  XmlWriter xml;
  if (xml.Open(&file, path) != 0) return 0;
  if (!xml.WriteText(kDeclaration) || !xml.OpenElement("REPORT", 0)) return 0;

  Pulse();
  int ok = WriteSystemHeader(xml, functionId);
  if (ok) {
    Pulse();
    ok = WriteBasicInfo(xml, *dataInfo);
  }
  if (ok) {
    Pulse();
    ok = WriteData(xml, *dataInfo);
  }
  // A report that failed half-way is dropped (the writer's destructor): the
  // file the user had at the path stays as it was.
  if (!ok) return 0;
  Pulse();
  if (!xml.CloseElement("REPORT", 0)) return 0;
  // Buffered data reaches the disk only here, and the report takes its
  // place only when all of it did.
  return xml.Close() == 0 ? 1 : 0;
}

int ReportWriter::WriteSystemHeader(XmlWriter& xml, std::int16_t functionId) {
  SupportInfoFile support;
  if (!xml.OpenElement("SYSTEM", 1)) return 0;
  if (!xml.WriteElement("GYOUMUPREFIX", "HJ21", 2)) return 0;
  Pulse();
  if (!xml.WriteElement("VERSION", "1", 2)) return 0;
  Pulse();
  if (!xml.WriteElement("FUNCTIONID", DecimalText(functionId), 2)) return 0;
  Pulse();
  const char* version = LoadResourceString(1);
  if (!xml.WriteElement("CONNECTEDPROGRAMVER", version != nullptr ? version : "", 2)) return 0;
  Pulse();
  std::string name = support.ProductName();
  if (name.empty()) name = ThisEdition().product_name;
  if (!xml.WriteElement("PROGRAMNAME", name, 2)) return 0;
  Pulse();
  std::string product_version = support.ProductVersion();
  if (product_version.empty()) product_version = kDefaultProductVersion;
  if (!xml.WriteElement("PROGRAMVER", product_version, 2)) return 0;
  Pulse();
  if (!xml.CloseElement("SYSTEM", 1)) return 0;
  Advance(progressBase, progressBase + 1000);
  return 1;
}

int ReportWriter::WriteBasicInfo(XmlWriter& xml, const StDATAINFO& dataInfo) {
  // The record's field is 260 bytes; an unterminated one is read no further.
  std::string_view company(dataInfo.companyNameText,
                           strnlen(dataInfo.companyNameText, sizeof(dataInfo.companyNameText)));
  if (!xml.OpenElement("BASIC", 1)) return 0;
  if (!xml.WriteElement("KOMONSAKINAME", ToFullWidth(company), 2)) return 0;
  Pulse();
  if (!xml.WriteElement("JIGYOUNENDOFROM", DecimalText(dataInfo.periodStart), 2)) return 0;
  Pulse();
  if (!xml.WriteElement("JIGYOUNENDOTO", DecimalText(dataInfo.periodEnd), 2)) return 0;
  Pulse();

  // Presentation patterns of the receiver's statements; only the cost of
  // sales depends on the company (with or without a manufacturing schedule).
  if (!xml.OpenElement("PATTERN", 2) || !xml.OpenElement("BS", 3)) return 0;
  if (!xml.OpenElement("CA", 4) || !xml.WriteElement("Doubtful", "A2", 5) ||
      !xml.CloseElement("CA", 4))
    return 0;
  if (!xml.OpenElement("PPE", 4) || !xml.WriteElement("DepImp", "B4", 5) ||
      !xml.CloseElement("PPE", 4))
    return 0;
  if (!xml.OpenElement("IOA", 4) || !xml.WriteElement("Doubtful", "C2", 5) ||
      !xml.WriteElement("DepImp", "D4", 5) || !xml.CloseElement("IOA", 4))
    return 0;
  if (!xml.CloseElement("BS", 3)) return 0;
  if (!xml.OpenElement("PL", 3) || !xml.WriteElement("Sales", "E3", 4) ||
      !xml.WriteElement("Cos", dataInfo.keepsMfgSchedule != 0 ? "F3" : "F1", 4) ||
      !xml.WriteElement("Sga", "G1", 4) || !xml.CloseElement("PL", 3))
    return 0;
  if (!xml.CloseElement("PATTERN", 2)) return 0;
  Pulse();
  if (!xml.CloseElement("BASIC", 1)) return 0;
  Advance(progressBase + 1000, progressBase + 2000);
  return 1;
}

int ReportWriter::WriteData(XmlWriter& xml, const StDATAINFO& dataInfo) {
  IndexScope scope(this); // one index for every statement of the report
  if (!scope.ok() || !xml.OpenElement("DATA", 1)) return 0;
  if (!WriteBalanceSheet(xml)) return 0;
  if (!WriteIncomeStatement(xml)) return 0;
  if (dataInfo.keepsMfgSchedule != 0 && !WriteManufacturingCost(xml)) return 0;
  if (!WriteNetAssetsChanges(xml)) return 0;
  if (notesAvailable == 1 &&
      !WriteNotesSection(xml, NotesInput{noteLines, noteGroupFlags}))
    return 0;
  static const AccountLineList kNoLines;
  if (ledgerLines != nullptr && !WriteLedgerSection(xml, lines ? *lines : kNoLines, *ledgerLines))
    return 0;
  if (!xml.CloseElement("DATA", 1)) return 0;
  Advance(progressBase + 2000, 10000);
  return 1;
}

} // namespace stmtlink

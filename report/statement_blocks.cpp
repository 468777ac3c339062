// The building blocks of the statement sections: each places the lines of
// one account-nature code (or mask) into the report.
#include <cstdio>

#include "platform/front_end_port.h"
#include "report/index_scope.h"
#include "report/line_selection.h"
#include "report/report_text.h"
#include "report/report_writer.h"
#include "report/xml_writer.h"

namespace stmtlink {
namespace {

// Income-tax lines that are totals of that block, not items of it.
constexpr std::uint32_t kIncomeTaxBlock = 0x40200000;
constexpr std::uint32_t kIncomeTaxSkipped[] = {0x40200010, 0x40200020, 0x40200080};

// Codes of noncurrent assets that name no subsection, in output order.
constexpr std::uint32_t kUnclassifiedAssets[] = {0x80840000, 0x80840008, 0x80840004};

constexpr char kCaption[] = "決算書";
constexpr char kUnclassifiedWarning[] =
    "以下の科目は、正しい分類に出力することができません。\r\n"
    "科目性格を見直す必要があります。\r\n\r\n"
    "科目コード\t： %d\r\n"
    "正式名称\t： %s\r\n\r\n"
    "ヴェルカの勘定科目設定画面にて、科目性格を\r\n"
    " [有形固定資産] [無形固定資産] [投資その他の資産]\r\n"
    "のいずれかに設定し、もう一度処理を行ってください。\r\n";

// The amount attribute of a total: empty when the amount is zero yen.
std::string TotalAmountText(const AccountLine& line) {
  return line.closing / 10000 != 0 ? AmountText(line.closing) : std::string();
}

int WriteItem(XmlWriter& xml, const AccountLine& line, int depth) {
  std::string label = CleanLabel(FieldText(line.formalName));
  return xml.WriteElement("Item", AmountText(line.closing), depth, "Label", label.c_str());
}

} // namespace

int ReportWriter::WriteCategory(XmlWriter& xml, std::uint32_t nature, const char* name,
                                int depth, std::int64_t added) {
  IndexScope scope(this);
  if (!scope.ok()) return 0;
  const AccountLine* line = scope.index().FindLine(nature);
  if (line == nullptr) return xml.OpenElement(name, depth);
  std::string label = CleanLabel(FieldText(line->formalName));
  AccountLine total = *line;
  total.closing += added;
  std::string amount = TotalAmountText(total);
  return xml.OpenElement(name, depth, "Label", label.c_str(), "Amount", amount.c_str());
}

int ReportWriter::WriteItems(XmlWriter& xml, std::uint32_t mask, int depth) {
  IndexScope scope(this);
  LineSelection selection;
  if (!scope.ok() || !scope.index().CollectByMask(mask, &selection)) return 0;
  for (const AccountLine* line : selection) {
    if (line->closing / 10000 == 0) continue;
    if (!WriteItem(xml, *line, depth)) return 0;
  }
  return 1;
}

int ReportWriter::WriteSubtotal(XmlWriter& xml, std::uint32_t nature, const char* name,
                                int depth) {
  IndexScope scope(this);
  if (!scope.ok()) return 0;
  const AccountLine* line = scope.index().FindLine(nature);
  if (line == nullptr) return 1;
  std::string label = CleanLabel(FieldText(line->statementName));
  if (label.empty()) label = CleanLabel(FieldText(line->formalName));
  std::string amount = TotalAmountText(*line);
  return xml.WriteElement(name, "", depth, "Label", label.c_str(), "Amount", amount.c_str());
}

int ReportWriter::WriteIncomeTaxItems(XmlWriter& xml, int depth) {
  IndexScope scope(this);
  LineSelection selection;
  if (!scope.ok() || !scope.index().CollectByMask(kIncomeTaxBlock, &selection)) return 0;
  for (const AccountLine* line : selection) {
    bool skipped = false;
    for (std::uint32_t code : kIncomeTaxSkipped) skipped = skipped || static_cast<std::uint32_t>(line->nature) == code;
    if (skipped || line->closing / 10000 == 0) continue;
    if (!WriteItem(xml, *line, depth)) return 0;
  }
  return 1;
}

int ReportWriter::WriteUnclassifiedAssets(XmlWriter& xml, int depth, int warn) {
  IndexScope scope(this);
  if (!scope.ok()) return 0;
  LineSelection selection;
  for (std::uint32_t code : kUnclassifiedAssets) {
    if (!scope.index().CollectByNature(code, &selection)) return 0;
    for (const AccountLine* line : selection) {
      if (line->closing / 10000 == 0) continue;
      if (warn == 1 && ownerWindow != 0) {
        // The user must fix the account's nature; the report goes on and
        // lists the account meanwhile under investments and other assets,
        // the noncurrent assets that are neither tangible nor intangible.
        std::string name(FieldText(line->formalName));
        char text[1024];
        std::snprintf(text, sizeof(text), kUnclassifiedWarning, line->code / 10000, name.c_str());
        // MB_ICONEXCLAMATION is the warning icon (MB_ICONWARNING, 0x30).
        MessageBox(ownerWindow, text, kCaption, MB_OK | MB_ICONEXCLAMATION);
      }
      if (!WriteItem(xml, *line, depth)) return 0;
    }
  }
  return 1;
}

int ReportWriter::SumUnclassifiedAssets(std::int64_t* sum) {
  IndexScope scope(this);
  if (!scope.ok()) return 0;
  *sum = 0;
  LineSelection selection;
  for (std::uint32_t code : kUnclassifiedAssets) {
    if (!scope.index().CollectByNature(code, &selection)) return 0;
    for (const AccountLine* line : selection)
      if (line->closing / 10000 != 0) *sum += line->closing;
  }
  return 1;
}

} // namespace stmtlink

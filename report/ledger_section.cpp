#include "report/ledger_section.h"

#include <string>

#include "report/ledger_row_text.h"
#include "report/report_text.h"
#include "report/xml_writer.h"

namespace stmtlink {
namespace {

struct CategoryTest {
  std::uint32_t bits;
  const char* name;
};

// In this order: a code is named by its first match (a current-asset code
// also holds the bits of the asset total, and is named by the first row).
constexpr CategoryTest kCategories[] = {
    {0x80880000, "流動資産"},   {0x80840000, "固定資産"},     {0x80820000, "繰延資産"},
    {0x80800008, "流動資産"},   {0x80800000, "資産の部"},     {0x80480000, "流動負債"},
    {0x80440000, "固定負債"},   {0x80400000, "負債の部"},     {0x80280000, "株主資本"},
    {0x80240000, "評価･換算差額等"}, {0x80220000, "新株予約権"}, {0x80200000, "純資産の部"},
    {0x80100000, "負債・純資産合計"}, {0x80000000, "貸借対照表"}, {0x40888000, "売上高"},
    {0x40884000, "売上原価"},   {0x40882000, "販管費"},       {0x40880000, "営業損益"},
    {0x40848000, "営業外収益"}, {0x40844000, "営業外費用"},   {0x40840000, "営業外損益"},
    {0x40480000, "特別利益"},   {0x40440000, "特別損失"},     {0x40800000, "経常損益"},
    {0x40400000, "特別損益"},   {0x40200000, "差引損益"},     {0x40000000, "損益計算書"},
    {0x20800000, "材料費"},     {0x20400000, "労務費"},       {0x20200000, "製造経費"},
    {0x20100000, "仕掛品"},     {0x20080000, "製造原価"},     {0x20000000, "製造原価報告書"},
    {0x10000000, "特別勘定"},   {0x08000000, "集計対象外"},
};

using LedgerIterator = LedgerLineList::const_iterator;

// The rows of the account at the cursor; moves the cursor past them. Each
// row is written with one write: a failed write never leaves half a row.
bool WriteLedgerRows(XmlWriter& xml, LedgerRowText* rows, LedgerIterator* cursor,
                     LedgerIterator end) {
  const std::int32_t code = cursor->code();
  for (; *cursor != end && cursor->code() == code; ++*cursor)
    if (!xml.WriteText(rows->Make(*cursor))) return false;
  return true;
}

} // namespace

const char* NatureCategoryName(std::int32_t nature) {
  const auto code = static_cast<std::uint32_t>(nature);
  for (const CategoryTest& test : kCategories)
    if ((code & test.bits) == test.bits) return test.name;
  return "";
}

int WriteLedgerSection(XmlWriter& xml, const AccountLineList& lines, const LedgerLineList& ledger) {
  if (ledger.empty()) return 1;
  if (!xml.OpenElement("HJ00780S", 2)) return 0;
  LedgerIterator cursor = ledger.begin();
  LedgerRowText rows;
  for (auto account = lines.begin(); account != lines.end() && cursor != ledger.end(); ++account) {
    const AccountLine& line = **account;
    if (line.code != cursor.code()) continue; // no ledger lines here: the cursor stays
    // Zero balances are written as "0" here, unlike in the statements.
    if (!xml.OpenElement("HJ00780S01", 3) ||
        !xml.WriteElement("HJ00780S0010", CleanLabel(FieldText(line.formalName)), 4) ||
        !xml.WriteElement("HJ00780S0020", NatureCategoryName(line.nature), 4) ||
        !xml.WriteElement("HJ00780S0030", DecimalText(line.opening / 10000), 4) ||
        !xml.WriteElement("HJ00780S0040", DecimalText(line.closing / 10000), 4) ||
        !WriteLedgerRows(xml, &rows, &cursor, ledger.end()) || !xml.CloseElement("HJ00780S01", 3))
      return 0;
  }
  return xml.CloseElement("HJ00780S", 2);
}

} // namespace stmtlink

#include "report/ledger_section.h"

#include <charconv>
#include <string>
#include <string_view>

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

// The amount in 1/10,000 yen as whole yen (as DecimalText), into buffer.
std::string_view YenText(std::int64_t units, char (&buffer)[24]) {
  const auto result = std::to_chars(buffer, buffer + sizeof(buffer), units / 10000);
  return std::string_view(buffer, static_cast<std::size_t>(result.ptr - buffer));
}

// A row's lines are assembled in one text and written with one write: a
// ledger has millions of rows, and a failed write then never leaves half a
// row in the file.
class RowText {
 public:
  void Label(const char* name, std::string_view text) {
    label_.clear();
    AppendCleanLabel(&label_, text);
    Element(name, label_);
  }
  void Element(const char* name, std::string_view value) {
    XmlWriter::AppendElementLine(&text_, name, value, 5);
  }
  std::string* text() { return &text_; }

 private:
  std::string text_;
  std::string label_;
};

// The rows of the account at the cursor; moves the cursor past them.
bool WriteLedgerRows(XmlWriter& xml, LedgerIterator* cursor, LedgerIterator end) {
  using Field = LedgerLineList::TextField;
  const std::int32_t code = cursor->code();
  RowText row;
  char number[24];
  for (; *cursor != end && cursor->code() == code; ++*cursor) {
    const PackedLedgerLine& line = cursor->packed();
    std::string* text = row.text();
    text->clear();
    XmlWriter::AppendOpenLine(text, "HJ00780S02", 4);
    row.Element("HJ00780S0050", std::string_view(number, static_cast<std::size_t>(
        std::to_chars(number, number + sizeof(number), line.entryNo).ptr - number)));
    row.Element("HJ00780S0060", cursor->text(Field::kDateText));
    row.Label("HJ00780S0070", cursor->text(Field::kSubAccountName));
    row.Label("HJ00780S0080", cursor->text(Field::kCounterAccountName));
    row.Label("HJ00780S0090", cursor->text(Field::kCounterSubAccountName));
    row.Element("HJ00780S0100", cursor->text(Field::kDescription));
    row.Element("HJ00780S0110", YenText(line.amount, number));
    row.Element("HJ00780S0120", YenText(line.balance, number));
    XmlWriter::AppendCloseLine(text, "HJ00780S02", 4);
    if (!xml.WriteText(*text)) return false;
  }
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
  for (auto account = lines.begin(); account != lines.end() && cursor != ledger.end(); ++account) {
    const AccountLine& line = **account;
    if (line.code != cursor.code()) continue; // no ledger lines here: the cursor stays
    // Zero balances are written as "0" here, unlike in the statements.
    if (!xml.OpenElement("HJ00780S01", 3) ||
        !xml.WriteElement("HJ00780S0010", CleanLabel(FieldText(line.formalName)), 4) ||
        !xml.WriteElement("HJ00780S0020", NatureCategoryName(line.nature), 4) ||
        !xml.WriteElement("HJ00780S0030", DecimalText(line.opening / 10000), 4) ||
        !xml.WriteElement("HJ00780S0040", DecimalText(line.closing / 10000), 4) ||
        !WriteLedgerRows(xml, &cursor, ledger.end()) || !xml.CloseElement("HJ00780S01", 3))
      return 0;
  }
  return xml.CloseElement("HJ00780S", 2);
}

} // namespace stmtlink

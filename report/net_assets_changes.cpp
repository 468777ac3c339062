// The statement of changes in net assets: for twelve fixed equity items, the
// opening balance, the change over the chosen months and the closing balance
// of the accounts that belong to each, in whole yen. The period's net income
// is shown as the one named change of retained earnings brought forward.
#include "report/index_scope.h"
#include "report/line_selection.h"
#include "report/report_text.h"
#include "report/report_writer.h"
#include "report/xml_writer.h"

namespace stmtlink {
namespace {

constexpr int kItemCount = 12;
constexpr int kRetainedEarningsItem = 6;
constexpr int kGeneralReserveItem = 4;
constexpr int kOtherReservesItem = 5;
constexpr std::uint32_t kNetIncome = 0x40200040;

constexpr const char* kItemTexts[kItemCount] = {
    "資本金",       "資本準備金",     "その他資本剰余金",         "利益準備金",
    "別途積立金",   "任意積立金",     "繰越利益剰余金",           "自己株式",
    "その他有価証券評価差額金", "繰延ヘッジ損益", "土地再評価差額金", "新株予約権",
};

// (item, nature) pairs in output order; item 0 sums three natures.
struct ItemNature {
  int item;
  std::uint32_t nature;
};
constexpr ItemNature kItemNatures[] = {
    {0, 0x80288000},  {0, 0x80288040},  {0, 0x80288020}, {1, 0x80282080}, {2, 0x80282040},
    {3, 0x80281080},  {4, 0x80281040},  {5, 0x80281040}, {6, 0x80281048}, {7, 0x80280800},
    {8, 0x80248000},  {9, 0x80244000},  {10, 0x80242000}, {11, 0x80220000},
};

constexpr char kGeneralReserveName[] = "別途積立金";

struct Sums {
  std::int64_t opening = 0;
  std::int64_t change = 0;
  std::int64_t closing = 0;
};

// Adds in whole yen, each line truncated before the addition. False when a
// sum would leave 64 bits (no real book comes near; the section then fails
// rather than write a wrapped figure).
bool AddLine(Sums* sums, const AccountLine& line) {
  return !__builtin_add_overflow(sums->opening, line.opening / 10000, &sums->opening) &&
         !__builtin_add_overflow(sums->change, line.change / 10000, &sums->change) &&
         !__builtin_add_overflow(sums->closing, line.closing / 10000, &sums->closing);
}

// Whether a line of the shared reserve nature belongs to the item: the
// general reserve by its name, every other reserve to the other item.
bool BelongsTo(int item, const AccountLine& line) {
  if (item != kGeneralReserveItem && item != kOtherReservesItem) return true;
  bool general = ContainsText(CleanLabel(FieldText(line.formalName)), kGeneralReserveName);
  return general == (item == kGeneralReserveItem);
}

} // namespace

int ReportWriter::WriteNetAssetsChanges(XmlWriter& xml) {
  IndexScope scope(this);
  if (!scope.ok()) return 0;
  if (!xml.OpenElement("StatementChangesNetAssets", 2)) return 0;
  if (!xml.WriteElement("Select", DecimalText(equityKind), 3)) return 0;

  LineSelection selection;
  for (int item = 0; item < kItemCount; ++item) {
    Sums sums;
    for (const ItemNature& pair : kItemNatures) {
      if (pair.item != item) continue;
      if (!scope.index().CollectByNature(pair.nature, &selection)) return 0;
      for (const AccountLine* line : selection) {
        if (BelongsTo(item, *line) && !AddLine(&sums, *line)) return 0;
      }
    }
    if (sums.opening == 0 && sums.change == 0 && sums.closing == 0) continue;

    std::int64_t net_income = 0;
    if (item == kRetainedEarningsItem) {
      // Retained earnings cannot be shown without the period's net income.
      const AccountLine* line = scope.index().FindLine(kNetIncome);
      if (line == nullptr) return 0;
      net_income = line->change / 10000;
    }

    if (!xml.OpenElement("ChangesNetAssetsItem", 3) ||
        !xml.WriteElement("AccountList", kItemTexts[item], 4))
      return 0;
    if (sums.opening != 0 &&
        !xml.WriteElement("BalanceEndPreviousPeriod", DecimalText(sums.opening), 4))
      return 0;
    if (sums.change != 0 || net_income != 0) {
      // The total is the accounts' own change; the net income stands beside
      // it as a named change and is not added to it.
      if (!xml.OpenElement("ChangesItemsDuringPeriod", 4) ||
          !xml.WriteElement("TotalChangesItemsDuringPeriod", DecimalText(sums.change), 5))
        return 0;
      if (net_income != 0) {
        if (!xml.OpenElement("ChangesItem", 5) || !xml.WriteElement("Reason", "当期純利益", 6) ||
            !xml.WriteElement("Amount", DecimalText(net_income), 6) ||
            !xml.CloseElement("ChangesItem", 5))
          return 0;
      }
      if (!xml.CloseElement("ChangesItemsDuringPeriod", 4)) return 0;
    }
    if (sums.closing != 0 &&
        !xml.WriteElement("BalanceEndCurrentPeriod", DecimalText(sums.closing), 4))
      return 0;
    if (!xml.CloseElement("ChangesNetAssetsItem", 3)) return 0;
  }
  return xml.CloseElement("StatementChangesNetAssets", 2);
}

} // namespace stmtlink

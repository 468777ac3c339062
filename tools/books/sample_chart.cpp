#include "tools/books/sample_chart.h"

#include <algorithm>
#include <initializer_list>

#include "tools/books/utf8_literal.h"

namespace stmtlink {
namespace {


enum Only { kAlways, kManufacturing, kUnclassified };
constexpr int D = 1, C = 2;

struct Row {
  std::int64_t main;
  const char8_t* name;
  int side;
  std::uint32_t nature;
  int line_type;
  std::initializer_list<std::uint32_t> masks;
  Only only = kAlways;
  const char8_t* statement_name = u8"";
};

// The masks of 当期純利益: every income-statement account once.
#define NET_INCOME_MASKS {0x40800000u, 0x40400000u, 0x40200001u, 0x40200002u}
#define NET_ASSET_MASKS 0x80280000u, 0x80240000u, 0x80220000u
#define MFG_MASKS 0x20800000u, 0x20400000u, 0x20200000u

const Row kRows[] = {
    {900, u8"【資産の部】", D, 0, 1, {}},
    {1000, u8"流動資産合計", D, 0x80880000, 2, {0x80880000}},
    {1110, u8"現金", D, 0x80880001, 0, {}},
    {1120, u8"普通預金", D, 0x80880002, 0, {}, kAlways, u8"現金及び預金"},
    {1130, u8"受取手形", D, 0x80880003, 0, {}},
    {1140, u8"売掛金", D, 0x80880004, 0, {}},
    {1150, u8"商品", D, 0x80880005, 0, {}},
    {1160, u8"短期貸付金", D, 0x80880006, 0, {}},
    {1167, u8"未収消費税等", D, 0x80880019, 0, {}},
    {1170, u8"前払費用", D, 0x80880007, 0, {}},
    {1180, u8"原材料", D, 0x80880008, 0, {}, kManufacturing},
    {1185, u8"仕掛品", D, 0x80880009, 0, {}, kManufacturing},
    {1190, u8"仮払消費税", D, 0x80880810, 0, {}},
    {1200, u8"固定資産合計", D, 0x80840000, 2, {0x80840000}},
    {1210, u8"有形固定資産合計", D, 0x80848000, 2, {0x80848000}},
    {1211, u8"建物", D, 0x80848001, 0, {}},
    {1212, u8"車両運搬具", D, 0x80848002, 0, {}},
    {1213, u8"工具器具備品", D, 0x80848003, 0, {}},
    {1214, u8"土地", D, 0x80848004, 0, {}},
    {1220, u8"無形固定資産合計", D, 0x80844000, 2, {0x80844000}},
    {1221, u8"ソフトウェア", D, 0x80844001, 0, {}},
    {1230, u8"投資その他の資産合計", D, 0x80842000, 2, {0x80842000}},
    {1231, u8"投資有価証券", D, 0x80842001, 0, {}},
    {1232, u8"差入保証金", D, 0x80842002, 0, {}},
    {1240, u8"その他の固定資産", D, 0x80840000, 0, {}, kUnclassified},
    {1250, u8"固定資産（未分類）", D, 0x80840008, 0, {}, kUnclassified},
    {1260, u8"長期前払費用（未分類）", D, 0x80840004, 0, {}, kUnclassified},
    {1300, u8"繰延資産合計", D, 0x80820000, 2, {0x80820000}},
    {1310, u8"開業費", D, 0x80820001, 0, {}},
    {1900, u8"資産合計", D, 0x80800000, 2, {0x80800000}},
    {1950, u8"【負債の部】", C, 0, 1, {}},
    {2000, u8"流動負債合計", C, 0x80480000, 2, {0x80480000}},
    {2110, u8"買掛金", C, 0x80480001, 0, {}},
    {2120, u8"短期借入金", C, 0x80480002, 0, {}},
    {2130, u8"未払金", C, 0x80480003, 0, {}},
    {2140, u8"未払法人税等", C, 0x80480004, 0, {}},
    {2141, u8"未払消費税等", C, 0x80480009, 0, {}},
    {2150, u8"預り金", C, 0x80480005, 0, {}},
    {2190, u8"仮受消費税", C, 0x80484010, 0, {}},
    {2200, u8"固定負債合計", C, 0x80440000, 2, {0x80440000}},
    {2210, u8"長期借入金", C, 0x80440001, 0, {}},
    {2900, u8"負債合計", C, 0x80400000, 2, {0x80400000}},
    {2950, u8"【純資産の部】", C, 0, 1, {}},
    {3000, u8"株主資本合計", C, 0x80280000, 2, {0x80280000}},
    {3110, u8"資本金", C, 0x80288000, 0, {}},
    {3120, u8"新株式申込証拠金", C, 0x80288040, 0, {}},
    {3130, u8"出資金", C, 0x80288020, 0, {}},
    {3210, u8"資本準備金", C, 0x80282080, 0, {}},
    {3220, u8"その他資本剰余金", C, 0x80282040, 0, {}},
    {3310, u8"利益準備金", C, 0x80281080, 0, {}},
    {3320, u8"別途積立金", C, 0x80281040, 0, {}},
    {3330, u8"圧縮積立金", C, 0x80281040, 0, {}},
    {3340, u8"繰越利益剰余金", C, 0x80281048, 3, NET_INCOME_MASKS},
    {3350, u8"前期繰越利益", C, 0x80202010, 0, {}},
    {3410, u8"自己株式", D, 0x80280800, 0, {}},
    {3500, u8"評価・換算差額等合計", C, 0x80240000, 2, {0x80240000}},
    {3510, u8"その他有価証券評価差額金", C, 0x80248000, 0, {}},
    {3520, u8"繰延ヘッジ損益", C, 0x80244000, 0, {}},
    {3530, u8"土地再評価差額金", C, 0x80242000, 0, {}},
    {3610, u8"新株予約権", C, 0x80220000, 0, {}},
    {3800, u8"純資産合計", C, 0x80200000, 2, {NET_ASSET_MASKS}},
    {3900, u8"負債・純資産合計", C, 0x80100000, 2, {0x80400000u, NET_ASSET_MASKS}},
    {4000, u8"売上高合計", C, 0x40888000, 2, {0x40888000}},
    {4110, u8"売上高", C, 0x40888001, 0, {}},
    {4120, u8"売上値引戻り高", D, 0x40888002, 0, {}},
    {5000, u8"売上原価合計", D, 0x40884000, 2, {0x40884000}},
    {5110, u8"期首商品棚卸高", D, 0x40884001, 0, {}},
    {5120, u8"仕入高", D, 0x40884002, 0, {}},
    {5130, u8"当期製品製造原価", D, 0x40884200, 3,
     {MFG_MASKS, 0x20108000u, 0x20102000u}, kManufacturing},
    {5190, u8"期末商品棚卸高", C, 0x40884003, 0, {}},
    {5900, u8"売上総利益", C, 0x40880008, 2, {0x40888000, 0x40884000}, kAlways,
     u8"売上総利益金額"},
    {6000, u8"販売費及び一般管理費合計", D, 0x40882000, 2, {0x40882000}},
    {6110, u8"役員報酬", D, 0x40882001, 0, {}},
    {6120, u8"給料手当", D, 0x40882002, 0, {}},
    {6130, u8"法定福利費", D, 0x40882003, 0, {}},
    {6140, u8"旅費交通費", D, 0x40882004, 0, {}},
    {6150, u8"通信費", D, 0x40882005, 0, {}},
    {6160, u8"消耗品費", D, 0x40882006, 0, {}},
    {6170, u8"水道光熱費", D, 0x40882007, 0, {}},
    {6180, u8"地代家賃", D, 0x40882008, 0, {}},
    {6190, u8"減価償却費", D, 0x40882009, 0, {}},
    {6200, u8"支払手数料", D, 0x4088200A, 0, {}},
    {6210, u8"租税公課", D, 0x4088200B, 0, {}},
    {6220, u8"雑費", D, 0x4088200C, 0, {}},
    {6900, u8"営業利益", C, 0x40880000, 2, {0x40880000}, kAlways, u8"営業利益金額"},
    {7000, u8"営業外収益合計", C, 0x40848000, 2, {0x40848000}},
    {7110, u8"受取利息", C, 0x40848001, 0, {}},
    {7120, u8"雑収入", C, 0x40848002, 0, {}},
    {7200, u8"営業外費用合計", D, 0x40844000, 2, {0x40844000}},
    {7210, u8"支払利息", D, 0x40844001, 0, {}},
    {7220, u8"雑損失", D, 0x40844002, 0, {}},
    {7900, u8"経常利益", C, 0x40800000, 2, {0x40800000}},
    {8000, u8"特別利益合計", C, 0x40480000, 2, {0x40480000}},
    {8110, u8"固定資産売却益", C, 0x40480001, 0, {}},
    {8200, u8"特別損失合計", D, 0x40440000, 2, {0x40440000}},
    {8210, u8"固定資産除却損", D, 0x40440001, 0, {}},
    {8800, u8"税引前当期純利益", C, 0x40200080, 2, {0x40800000, 0x40400000}},
    {8810, u8"法人税、住民税及び事業税", D, 0x40200001, 0, {}},
    {8820, u8"法人税等調整額", D, 0x40200002, 0, {}},
    {8900, u8"当期純利益", C, 0x40200040, 2, NET_INCOME_MASKS},
    {8950, u8"当期未処分利益", C, 0x40200020, 2, {0x40800000u, 0x40400000u, 0x40200001u,
                                                  0x40200002u, 0x80202010u}},
    {9000, u8"材料費合計", D, 0x20800000, 2, {0x20800000}, kManufacturing},
    {9110, u8"期首材料棚卸高", D, 0x20800001, 0, {}, kManufacturing},
    {9120, u8"材料仕入高", D, 0x20800002, 0, {}, kManufacturing},
    {9130, u8"期末材料棚卸高", C, 0x20800003, 0, {}, kManufacturing},
    {9200, u8"労務費合計", D, 0x20400000, 2, {0x20400000}, kManufacturing},
    {9210, u8"賃金", D, 0x20400001, 0, {}, kManufacturing},
    {9220, u8"雑給", D, 0x20400002, 0, {}, kManufacturing},
    {9300, u8"製造経費合計", D, 0x20200000, 2, {0x20200000}, kManufacturing},
    {9310, u8"外注加工費", D, 0x20200001, 0, {}, kManufacturing},
    {9320, u8"電力料", D, 0x20200002, 0, {}, kManufacturing},
    {9330, u8"減価償却費(製)", D, 0x20200003, 0, {}, kManufacturing},
    {9400, u8"当期総製造費用", D, 0x20080000, 2, {MFG_MASKS}, kManufacturing},
    {9510, u8"期首仕掛品棚卸高", D, 0x20108000, 0, {}, kManufacturing},
    {9520, u8"小計", D, 0x20100008, 2, {MFG_MASKS, 0x20108000u}, kManufacturing},
    {9530, u8"期末仕掛品棚卸高", C, 0x20102000, 0, {}, kManufacturing},
    {9910, u8"諸口", D, 0x08000000, 0, {}},
    {9920, u8"未確定勘定", D, 0x08000080, 0, {}},
};

const char8_t* const kBanks[] = {u8"東都銀行", u8"みなと信用金庫"};
const char8_t* const kCustomers[] = {u8"株式会社青葉商店", u8"有限会社北斗物産", u8"丸川商事株式会社",
                                     u8"株式会社さくら電機", u8"合同会社みどり企画"};
const char8_t* const kSuppliers[] = {u8"東西産業株式会社", u8"株式会社大和資材",
                                     u8"有限会社富士工業"};
// Main codes of the selling and administrative expenses that bear tax.
const std::int64_t kTaxedExpenses[] = {6140, 6150, 6160, 6170, 6180, 6200, 6220};

constexpr std::int64_t kFirstExtraExpense = 6300; // up to 6899
constexpr int kMaxExtraExpenses = 600;

bool Included(const Row& row, const SampleOptions& options) {
  switch (row.only) {
    case kManufacturing:
      return options.manufacturing;
    case kUnclassified:
      return options.unclassified;
    case kAlways:
      break;
  }
  return true;
}

ChartAccount Account(std::int64_t code, std::string name, std::uint32_t nature, int line_type,
                     int side) {
  ChartAccount a;
  a.code = code;
  a.seq = code; // master order is code order
  a.formal_name = std::move(name);
  a.nature = nature;
  a.line_type = line_type;
  a.normal_side = side;
  return a;
}

} // namespace

std::string SampleChart::NameOf(std::int64_t code) const {
  for (const ChartAccount& a : accounts)
    if (a.code == code) return a.formal_name;
  return std::string();
}

SampleChart BuildSampleChart(const SampleOptions& options) {
  SampleChart chart;
  for (const Row& row : kRows) {
    if (!Included(row, options)) continue;
    ChartAccount a = Account(chart::Stored(row.main), U(row.name), row.nature, row.line_type,
                             row.side);
    a.statement_name = U(row.statement_name);
    // The clearing accounts stay out of the ledger by both flags; two taxed
    // expenses with entries every month by one flag each, so the ledger
    // leaves out accounts that the statements carry.
    a.ledger_excluded_a = row.main >= 9900 || row.main == chart::kLedgerExcludedA ? 1 : 0;
    a.ledger_excluded_b = row.main >= 9900 || row.main == chart::kLedgerExcludedB ? 1 : 0;
    chart.accounts.push_back(a);
    for (std::uint32_t mask : row.masks) chart.members.push_back({a.code, mask});
  }
  auto add_subs = [&](std::int64_t main, std::uint32_t nature, int side,
                      const char8_t* const* names, std::size_t count,
                      std::vector<std::int64_t>* out) {
    for (std::size_t i = 0; i < count; ++i) {
      const std::int64_t code = chart::Stored(main, static_cast<std::int64_t>(i) + 1);
      chart.accounts.push_back(Account(code, U(names[i]), nature, 0, side));
      out->push_back(code);
    }
  };
  add_subs(chart::kBank, 0x80880002, D, kBanks, std::size(kBanks), &chart.banks);
  add_subs(chart::kReceivable, 0x80880004, D, kCustomers, std::size(kCustomers), &chart.customers);
  add_subs(chart::kPayable, 0x80480001, C, kSuppliers, std::size(kSuppliers), &chart.suppliers);
  for (std::int64_t main : kTaxedExpenses) chart.taxed_expenses.push_back(chart::Stored(main));

  // Extra rows up to options.accounts: half as more expense accounts, the
  // rest as customers and suppliers.
  const std::size_t base = chart.accounts.size();
  const std::size_t extra = options.accounts > base ? options.accounts - base : 0;
  const int expenses = static_cast<int>(std::min<std::size_t>(extra / 2, kMaxExtraExpenses));
  for (int i = 0; i < expenses; ++i) {
    const std::int64_t code = chart::Stored(kFirstExtraExpense + i);
    const std::string name = U(u8"販売管理費") + std::to_string(i + 1);
    // Low bits of their own under the selling and administrative category.
    chart.accounts.push_back(Account(code, name, 0x40882010u + static_cast<std::uint32_t>(i), 0, D));
    chart.taxed_expenses.push_back(code);
  }
  const std::size_t partners = extra - static_cast<std::size_t>(expenses);
  constexpr std::size_t kMaxSubs = 9999; // sub-account codes are 1-9999
  for (std::size_t i = 0; i < partners; ++i) {
    const bool customer = i % 2 == 0;
    std::vector<std::int64_t>& list = customer ? chart.customers : chart.suppliers;
    if (list.size() >= kMaxSubs) continue;
    const std::int64_t code =
        chart::Stored(customer ? chart::kReceivable : chart::kPayable,
                      static_cast<std::int64_t>(list.size()) + 1);
    const std::string name =
        (customer ? U(u8"得意先") : U(u8"仕入先")) + std::to_string(list.size() + 1);
    chart.accounts.push_back(Account(code, name, customer ? 0x80880004u : 0x80480001u, 0,
                                     customer ? D : C));
    list.push_back(code);
  }
  std::sort(chart.accounts.begin(), chart.accounts.end(),
            [](const ChartAccount& a, const ChartAccount& b) { return a.seq < b.seq; });
  return chart;
}

} // namespace stmtlink

// The sample company's notes to the financial statements, as the host keeps
// them in its financial-statement settings (statement_setting):
//   kind 100   the input switch and one "[Note_N]" section per note group
//              with its display switch (group 7 is switched off),
//   kind 0     the output switch,
//   kind 1000  the note records, CR LF lines, five characters as entities.
// The texts are what a small company's notes say; the figures they quote
// (pledged assets, accumulated depreciation, per-share amounts) are the
// year end's own, so they agree with the statements.
#include <cstdint>
#include <string>
#include <vector>

#include "tools/books/sample_tables.h"
#include "tools/books/sql_statement.h"
#include "tools/books/utf8_literal.h"

namespace stmtlink {
namespace {

using namespace chart;

constexpr std::int64_t kNoteYen = 10000; // 1 yen
constexpr std::int64_t kSharesIssued = 200, kTreasuryShares = 8;
// Depreciation taken off the tangible fixed assets before this year.
constexpr std::int64_t kEarlierDepreciation = 18'650'000 * kNoteYen;

struct SampleNote {
  long number;
  bool shown;
  std::vector<std::string> lines; // UTF-8, already with entities
};

std::string Grouped(std::int64_t value) {
  std::string digits = std::to_string(value < 0 ? -value : value);
  for (int at = static_cast<int>(digits.size()) - 3; at > 0; at -= 3)
    digits.insert(static_cast<std::size_t>(at), ",");
  return digits;
}

std::string YenText(std::int64_t units) { return Grouped(units / kNoteYen) + U(u8"円"); }

// An amount per share in yen and sen, rounded to the sen; a negative one
// with △ unless signed: a loss per share is named a loss instead.
std::string PerShare(std::int64_t units, std::int64_t shares, bool signed_amount) {
  const std::int64_t sen = ((units < 0 ? -units : units) / shares + 50) / 100;
  const std::string cents = std::to_string(sen % 100);
  return (signed_amount && units < 0 && sen != 0 ? U(u8"△") : "") + Grouped(sen / 100) +
         U(u8"円") + (cents.size() == 1 ? "0" : "") + cents + U(u8"銭");
}

class NoteFigures {
 public:
  explicit NoteFigures(const SampleContext& c) : c_(c) {}

  std::int64_t Balance(std::int64_t code) const {
    const auto it = c_.year_end.balances.find(code);
    return it == c_.year_end.balances.end() ? 0 : it->second;
  }
  // Net assets less the share warrants: shareholders' equity with the year's
  // income, and the valuation differences.
  std::int64_t NetAssetsForShares() const {
    std::int64_t total = c_.year_end.net_income;
    for (const ChartAccount& a : c_.chart.accounts)
      if (a.line_type != 2 && (a.nature & 0x80200000u) == 0x80200000u &&
          (a.nature & 0xFFFF0000u) != 0x80220000u)
        total -= Balance(a.code);
    return total;
  }

 private:
  const SampleContext& c_;
};

std::vector<SampleNote> AccountingPolicies(const SampleOptions& o) {
  const std::string inventories =
      o.manufacturing ? U(u8"商品、原材料及び仕掛品　総平均法による原価法") : U(u8"商品　最終仕入原価法による原価法");
  return {
      {1010010, true, {}},
      {1010020, true, {U(u8"1. 資産の評価基準及び評価方法")}},
      {1010030, true,
       {U(u8"(1) 有価証券の評価基準及び評価方法　その他有価証券（市場価格のない株式等）　移動平均法による原価法")}},
      {1010040, true,
       {U(u8"(2) 棚卸資産の評価基準及び評価方法　") + inventories +
        U(u8"（貸借対照表価額は収益性の低下に基づく簿価切下げの方法により算定）")}},
      {1010050, true,
       {U(u8"2. 固定資産の減価償却の方法"),
        U(u8"(1) 有形固定資産　定率法（ただし、平成10年4月1日以降に取得した建物並びに平成28年4月1日以降に取得した建物附属設備及び構築物については定額法）"),
        U(u8"(2) 無形固定資産　定額法（自社利用のソフトウェアについては、社内における利用可能期間（5年）に基づく定額法）")}},
      {1010060, true,
       {U(u8"3. 引当金の計上基準"),
        U(u8"貸倒引当金　債権の貸倒れによる損失に備えるため、回収不能見込額を計上することとしておりますが、当事業年度末においては計上すべき金額はありません。")}},
      // Switched off in the books: the receiver must not see it.
      {1010070, false, {U(u8"収益及び費用の計上基準　商品の販売については、出荷時に収益を認識しております。")}},
      {1010080, true, {U(u8"4. その他計算書類作成のための基本となる重要な事項")}},
      {1010100, true,
       {o.tax_included ? U(u8"消費税等の会計処理　税込方式によっております。")
                       : U(u8"消費税等の会計処理　税抜方式によっております。")}},
      {1020010, false, {}},
  };
}

std::vector<SampleNote> StatementNotes(const SampleContext& c) {
  const NoteFigures f(c);
  const std::int64_t income = c.year_end.net_income;
  const std::int64_t accumulated = kEarlierDepreciation + c.year_end.depreciation;
  const std::int64_t per_share_shares = kSharesIssued - kTreasuryShares;
  return {
      {1060010, true, {}},
      {1060020, true,
       {U(u8"1. 担保に供している資産及び担保に係る債務"),
        U(u8"(1) 担保に供している資産　建物　") + YenText(f.Balance(Stored(kBuildings))) +
            U(u8"　土地　") + YenText(f.Balance(Stored(kLand))),
        U(u8"(2) 担保に係る債務　長期借入金　") + YenText(-f.Balance(Stored(kLongLoan)))}},
      {1060060, true, {U(u8"2. 有形固定資産の減価償却累計額　") + YenText(accumulated)}},
      {1060130, true,
       {U(u8"3. 関係会社に対する短期金銭債権　") + YenText(f.Balance(Stored(kLoanReceivable)))}},
      // A hidden heading whose shown children stand in its place.
      {1070010, false, {}},
      {1070020, true, {U(u8"関係会社（株式会社S&amp;Kサービス）との営業取引による取引高")}},
      {1070030, true, {U(u8"売上高　3,600,000円")}},
      {1070040, true, {U(u8"仕入高　1,800,000円")}},
      {1080010, true, {}},
      {1080020, true,
       {U(u8"1. 当事業年度の末日における発行済株式の種類及び総数　普通株式　") +
            std::to_string(kSharesIssued) + U(u8"株"),
        U(u8"2. 当事業年度の末日における自己株式の種類及び株式数　普通株式　") +
            std::to_string(kTreasuryShares) + U(u8"株"),
        U(u8"3. 当事業年度中に行った剰余金の配当に関する事項　該当事項はありません。")}},
      {1100010, true,
       {U(u8"所有権移転外ファイナンス・リース取引については、通常の賃貸借取引に係る方法に準じた会計処理によっております。")}},
      // Its group is switched off in the settings.
      {1130010, true,
       {U(u8"当社代表取締役からの事務所の賃借　年額3,600,000円（近隣の相場を勘案して決定しております。）")}},
      {1140010, true, {}},
      {1140020, true,
       {U(u8"1株当たり純資産額　") + PerShare(f.NetAssetsForShares(), per_share_shares, true)}},
      {1140030, true,
       {(income < 0 ? U(u8"1株当たり当期純損失　") : U(u8"1株当たり当期純利益　")) +
        PerShare(income, per_share_shares, false)}},
      {1150010, true, {U(u8"重要な後発事象はありません。")}},
  };
}

std::string NoteRecords(const SampleContext& context) {
  std::vector<SampleNote> notes = AccountingPolicies(context.options);
  for (SampleNote& note : StatementNotes(context)) notes.push_back(std::move(note));
  std::string text;
  for (const SampleNote& note : notes) {
    const std::string number = std::to_string(note.number);
    text += "<ID>" + number + "</ID>\r\n";
    text += "<Name>" + number + "</Name>\r\n";
    text += "<Group>" + number.substr(1, 2) + "</Group>\r\n";
    text += std::string("<Disp>") + (note.shown ? "1" : "0") + "</Disp>\r\n";
    text += "<Value>\r\n";
    for (const std::string& line : note.lines) text += "<Line>" + line + "</Line>\r\n";
    text += "</Value>\r\n";
  }
  return text;
}

std::string DisplaySettings() {
  std::string text = "[Kessansho]\r\nInputMode=1\r\n";
  for (int group = 0; group <= 10; ++group) {
    text += "[Note_" + std::to_string(group + 1) + "]\r\n";
    text += std::string("Disp=") + (group == 7 ? "0" : "1") + "\r\n";
  }
  return text;
}

} // namespace

bool WriteSampleNotes(SampleContext& context, std::string* error) {
  SqlStatement insert(error);
  if (!insert.Prepare(context.db,
                      "INSERT INTO statement_setting (data_no, kind, text) VALUES (1, ?1, ?2)"))
    return false;
  const std::pair<int, std::string> rows[] = {
      {100, DisplaySettings()},
      {0, "[Output]\r\nNote=1\r\n"},
      {1000, NoteRecords(context)},
  };
  for (const auto& [kind, text] : rows)
    if (!insert.Run(kind, text)) return false;
  return true;
}

} // namespace stmtlink

#include "tools/books/chart_csv.h"

#include <cerrno>
#include <cstdlib>
#include <map>
#include <set>

#include "tools/books/books_language.h"
#include "tools/books/book_values.h"
#include "tools/books/user_text.h"
#include "tools/books/utf8_literal.h"

namespace stmtlink {
namespace {


constexpr std::int64_t kMaxMain = 214747; // code = main x 10,000 + sub fits 32 bits
constexpr std::int64_t kMaxSub = 9999;

const std::vector<std::string_view> kChartColumns = {
    U(u8"code|科目コード|コード"),
    U(u8"sub|補助コード|補助科目コード"),
    U(u8"name|勘定科目|勘定科目名|科目名"),
    U(u8"statement_name|決算書表示名|表示名"),
    U(u8"nature|科目区分|区分"),
    U(u8"side|貸借|貸借区分|正残区分"),
    U(u8"line_type|行区分|種別"),
    U(u8"members|集計対象"),
    U(u8"ledger_excluded|元帳除外"),
    U(u8"only|製造原価")};

bool ParseWhole(std::string_view text, std::int64_t* out) {
  if (text.empty() || text.size() > 12 ||
      text.find_first_not_of("0123456789") != std::string_view::npos)
    return false;
  *out = std::strtoll(std::string(text).c_str(), nullptr, 10);
  return true;
}

// A nature code: 0x hexadecimal or decimal, 32 bits.
bool ParseNatureCode(std::string_view text, std::uint32_t* out) {
  std::string t(text);
  int base = 10;
  if (t.rfind("0x", 0) == 0 || t.rfind("0X", 0) == 0) {
    t = t.substr(2);
    base = 16;
  }
  if (t.empty() || t.size() > 10 ||
      t.find_first_not_of(base == 16 ? "0123456789abcdefABCDEF" : "0123456789") !=
          std::string::npos)
    return false;
  errno = 0;
  const unsigned long long value = std::strtoull(t.c_str(), nullptr, base);
  if (errno != 0 || value > 0xFFFFFFFFull) return false;
  *out = static_cast<std::uint32_t>(value);
  return true;
}

const NatureKeyword* FindKeyword(std::string_view name) {
  for (const NatureKeyword& k : NatureKeywords())
    if (name == k.name) return &k;
  return nullptr;
}

bool ParseSide(std::string_view text, int* side) {
  if (text == "D" || text == "d" || text == "1" || text == "debit" || text == U(u8"借方"))
    *side = 1;
  else if (text == "C" || text == "c" || text == "2" || text == "credit" || text == U(u8"貸方"))
    *side = 2;
  else
    return false;
  return true;
}

bool ParseLineType(std::string_view text, int* type) {
  static const char* const kNames[] = {"account", "heading", "total", "computed"};
  static const char8_t* const kJapanese[] = {u8"科目", u8"見出し", u8"合計", u8"計算"};
  for (int i = 0; i < 4; ++i)
    if (text == kNames[i] || text == std::to_string(i) || text == U(kJapanese[i])) {
      *type = i;
      return true;
    }
  if (text.empty()) {
    *type = 0;
    return true;
  }
  return false;
}

std::string Hex(std::uint32_t code) {
  char text[16];
  std::snprintf(text, sizeof text, "0x%08X", code);
  return text;
}

std::vector<std::string_view> SplitMembers(std::string_view text) {
  std::vector<std::string_view> parts;
  std::size_t start = 0;
  while (start <= text.size()) {
    std::size_t end = text.find_first_of(" ;", start);
    if (end == std::string_view::npos) end = text.size();
    if (end > start) parts.push_back(text.substr(start, end - start));
    start = end + 1;
  }
  return parts;
}

// An account's record before its nature is settled.
struct PendingNature {
  std::size_t account; // index into chart->accounts
  const NatureKeyword* keyword;
};

} // namespace

const std::vector<NatureKeyword>& NatureKeywords() {
  static const std::vector<NatureKeyword> kKeywords = {
      // Categories: an account gets the bits plus a low number of its own.
      {U(u8"流動資産"), 0x80880000, true, 1},
      {U(u8"有形固定資産"), 0x80848000, true, 1},
      {U(u8"無形固定資産"), 0x80844000, true, 1},
      {U(u8"投資その他の資産"), 0x80842000, true, 1},
      {U(u8"繰延資産"), 0x80820000, true, 1},
      {U(u8"流動負債"), 0x80480000, true, 2},
      {U(u8"固定負債"), 0x80440000, true, 2},
      {U(u8"売上高"), 0x40888000, true, 2},
      {U(u8"売上原価"), 0x40884000, true, 1},
      {U(u8"販売費及び一般管理費"), 0x40882000, true, 1},
      {U(u8"営業外収益"), 0x40848000, true, 2},
      {U(u8"営業外費用"), 0x40844000, true, 1},
      {U(u8"特別利益"), 0x40480000, true, 2},
      {U(u8"特別損失"), 0x40440000, true, 1},
      {U(u8"法人税等"), 0x40200000, true, 1},
      {U(u8"材料費"), 0x20800000, true, 1},
      {U(u8"労務費"), 0x20400000, true, 1},
      {U(u8"製造経費"), 0x20200000, true, 1},
      {U(u8"諸口"), 0x08000000, true, 1},
      // Accounts that the statements find by their exact code: the twelve
      // equity items, the consumption-tax accounts, the carried profit.
      {U(u8"資本金"), 0x80288000, false, 2},
      {U(u8"新株式申込証拠金"), 0x80288040, false, 2},
      {U(u8"資本準備金"), 0x80282080, false, 2},
      {U(u8"その他資本剰余金"), 0x80282040, false, 2},
      {U(u8"利益準備金"), 0x80281080, false, 2},
      {U(u8"任意積立金"), 0x80281040, false, 2},
      {U(u8"繰越利益剰余金"), 0x80281048, false, 2},
      {U(u8"自己株式"), 0x80280800, false, 1},
      {U(u8"その他有価証券評価差額金"), 0x80248000, false, 2},
      {U(u8"繰延ヘッジ損益"), 0x80244000, false, 2},
      {U(u8"土地再評価差額金"), 0x80242000, false, 2},
      {U(u8"新株予約権"), 0x80220000, false, 2},
      {U(u8"仮払消費税"), 0x80880810, false, 1},
      {U(u8"仮受消費税"), 0x80484010, false, 2},
      {U(u8"前期繰越利益"), 0x80202010, false, 2},
      // Sections and subtotals, for the totals' natures and members.
      {U(u8"資産"), 0x80800000, false, 1},
      {U(u8"負債"), 0x80400000, false, 2},
      {U(u8"株主資本"), 0x80280000, false, 2},
      {U(u8"評価・換算差額等"), 0x80240000, false, 2},
      {U(u8"純資産"), 0x80200000, false, 2},
      {U(u8"負債・純資産"), 0x80100000, false, 2},
      {U(u8"売上総利益"), 0x40880008, false, 2},
      {U(u8"営業利益"), 0x40880000, false, 2},
      {U(u8"経常利益"), 0x40800000, false, 2},
      {U(u8"特別損益"), 0x40400000, false, 2},
      {U(u8"税引前当期純利益"), 0x40200080, false, 2},
      {U(u8"当期純利益"), 0x40200040, false, 2},
  };
  return kKeywords;
}

bool ReadChartCsv(CsvFile& file, bool keeps_mfg_schedule, ImportedChart* chart,
                  ImportProblems* problems) {
  const std::size_t before = problems->count();
  CsvRecord record;
  CsvColumns columns;
  if (!file.Next(&record, problems)) {
    if (problems->count() == before) problems->Add(file.name() + ": " + Say("the file is empty", u8"ファイルが空です"));
    return false;
  }
  if (!columns.Read(file, record, kChartColumns, problems)) return false;
  for (std::string_view required : {"code", "name"})
    if (!columns.Has(required)) {
      problems->Add(file.name(), record.line, 0,
                    Say("the header has no column '{0}'", u8"見出しに列 '{0}' がありません",
                        {required}));
      return false;
    }
  const int c_code = columns.Index("code"), c_sub = columns.Index("sub"),
            c_name = columns.Index("name"), c_statement = columns.Index("statement_name"),
            c_nature = columns.Index("nature"), c_side = columns.Index("side"),
            c_type = columns.Index("line_type"), c_members = columns.Index("members"),
            c_excluded = columns.Index("ledger_excluded"), c_only = columns.Index("only");

  std::map<std::int64_t, std::size_t> by_code; // stored code -> account index
  std::vector<PendingNature> pending;
  std::set<std::uint32_t> used_natures;
  std::vector<std::size_t> inherit; // sub-accounts that take their main's nature
  auto column_of = [](int index) { return index + 1; };
  while (file.Next(&record, problems)) {
    if (!columns.Fits(file, record, problems)) continue;
    const long line = record.line;
    auto bad = [&](int index, const std::string& message) {
      problems->Add(file.name(), line, column_of(index), message);
    };
    auto field = [&](int index) { return CsvColumns::Field(record, index); };
    const std::string_view only = field(c_only);
    if (!only.empty() && only != "manufacturing") {
      bad(c_only, Say("only '{0}' is not empty or manufacturing",
                      u8"製造原価 '{0}' が空でも manufacturing でもありません",
                      {TextForMessage(only)}));
      continue;
    }
    if (only == "manufacturing" && !keeps_mfg_schedule) continue;
    ChartAccount a;
    std::int64_t main = 0, sub = 0;
    if (!ParseWhole(field(c_code), &main) || main < 1 || main > kMaxMain) {
      bad(c_code,
          Say("code '{0}' is not a main code from 1 to 214747",
              u8"科目コード '{0}' が 1 から 214747 のコードではありません",
              {TextForMessage(field(c_code))}));
      continue;
    }
    if (!field(c_sub).empty() && (!ParseWhole(field(c_sub), &sub) || sub > kMaxSub)) {
      bad(c_sub,
          Say("sub '{0}' is not a sub-account number from 1 to 9999",
              u8"補助コード '{0}' が 1 から 9999 の番号ではありません",
              {TextForMessage(field(c_sub))}));
      continue;
    }
    a.code = main * 10000 + sub;
    a.seq = static_cast<std::int64_t>(chart->accounts.size()) + 1;
    a.formal_name = WithoutFormulaGuard(field(c_name));
    a.statement_name = WithoutFormulaGuard(field(c_statement));
    if (a.formal_name.empty())
      bad(c_name, Say("the account has no name", u8"勘定科目に名前がありません"));
    for (auto [index, name] :
         {std::pair{c_name, &a.formal_name}, std::pair{c_statement, &a.statement_name}}) {
      std::string why;
      if (!FitsReportText(*name, &why)) bad(index, Say("the name {0}", u8"名前が{0}", {why}));
    }
    if (auto seen = by_code.find(a.code); seen != by_code.end()) {
      bad(sub ? c_sub : c_code,
          Say("code {0} is already the account on line {1}",
              u8"コード {0} は {1} 行目の勘定科目にもう使われています",
              {std::to_string(main) + (sub ? "-" + std::to_string(sub) : ""),
               std::to_string(chart->lines[seen->second])}));
      continue;
    }
    const ChartAccount* main_account = nullptr;
    if (sub > 0) {
      auto found = by_code.find(main * 10000);
      if (found == by_code.end()) {
        bad(c_code,
            Say("sub-account of main code {0}, which no line above defines",
                u8"科目コード {0} の補助科目ですが、その科目が上の行にありません",
                {std::to_string(main)}));
        continue;
      }
      main_account = &chart->accounts[found->second];
    }
    const bool type_read = ParseLineType(field(c_type), &a.line_type);
    if (!type_read)
      bad(c_type, Say("line type '{0}' is not account, heading, total or computed",
                      u8"行区分 '{0}' が account, heading, total, computed のどれでもありません",
                      {TextForMessage(field(c_type))}));

    const std::string_view nature = field(c_nature);
    const NatureKeyword* keyword = FindKeyword(nature);
    if (nature.empty()) {
      if (main_account)
        inherit.push_back(chart->accounts.size());
      else if (a.line_type != 1)
        bad(c_nature, Say("the account has no nature code or keyword",
                          u8"勘定科目に科目区分 (コードかキーワード) がありません"));
    } else if (keyword) {
      a.nature = keyword->code;
      if (keyword->category && (a.line_type == 0 || a.line_type == 3) && !main_account)
        pending.push_back({chart->accounts.size(), keyword});
    } else if (!ParseNatureCode(nature, &a.nature)) {
      bad(c_nature, Say("nature '{0}' is neither a code (0x80880001) nor a keyword such as "
                        "\xE6\xB5\x81\xE5\x8B\x95\xE8\xB3\x87\xE7\x94\xA3",
                        u8"科目区分 '{0}' がコード (0x80880001) でも 流動資産 などのキーワード"
                        u8"でもありません",
                        {TextForMessage(nature)}));
    }
    if (!keyword || !keyword->category || a.line_type == 2) used_natures.insert(a.nature);

    const std::string_view side = field(c_side);
    if (side.empty()) {
      if (main_account)
        a.normal_side = main_account->normal_side;
      else if (keyword)
        a.normal_side = keyword->side;
      else
        bad(c_side, Say("the account has no side (D or C)",
                        u8"勘定科目に貸借 (D か C) がありません"));
    } else if (!ParseSide(side, &a.normal_side)) {
      bad(c_side, Say("side '{0}' is not D or C", u8"貸借 '{0}' が D でも C でもありません",
                      {TextForMessage(side)}));
    }

    const std::string_view excluded = field(c_excluded);
    if (excluded == "a" || excluded == "ab") a.ledger_excluded_a = 1;
    if (excluded == "b" || excluded == "ab") a.ledger_excluded_b = 1;
    if (!excluded.empty() && excluded != "a" && excluded != "b" && excluded != "ab")
      bad(c_excluded, Say("ledger_excluded '{0}' is not a, b or ab",
                          u8"元帳除外 '{0}' が a, b, ab のどれでもありません",
                          {TextForMessage(excluded)}));

    // Only a total or a computed item sums members: on any other row the
    // masks would be kept and never used, or read as a total's.
    const bool sums_members = a.line_type == 2 || a.line_type == 3;
    if (!field(c_members).empty() && !sums_members && type_read)
      bad(c_members, a.line_type == 1
                         ? Say("members belong to a total or a computed item, and this row is a "
                               "heading",
                               u8"集計対象は合計か計算科目のものですが、この行は見出しです")
                         : Say("members belong to a total or a computed item, and this row is an "
                               "account",
                               u8"集計対象は合計か計算科目のものですが、この行は勘定科目です"));
    for (std::string_view member : SplitMembers(sums_members ? field(c_members) : "")) {
      std::uint32_t mask = 0;
      if (const NatureKeyword* k = FindKeyword(member))
        mask = k->code;
      else if (!ParseNatureCode(member, &mask)) {
        bad(c_members, Say("member '{0}' is neither a code nor a keyword",
                           u8"集計対象 '{0}' がコードでもキーワードでもありません",
                           {TextForMessage(member)}));
        continue;
      }
      chart->members.push_back({a.code, mask});
    }
    if ((a.line_type == 2) && field(c_members).empty())
      bad(c_members, Say("a total needs its members", u8"合計には集計対象が要ります"));

    by_code[a.code] = chart->accounts.size();
    chart->accounts.push_back(std::move(a));
    chart->lines.push_back(line);
  }
  // Category accounts: the category's bits and the first low number that
  // no account of the chart holds yet. Sub-accounts follow their main.
  std::map<std::uint32_t, std::uint32_t> next_low;
  for (const PendingNature& p : pending) {
    std::uint32_t& low = next_low[p.keyword->code];
    std::uint32_t nature = 0;
    do nature = p.keyword->code | ++low;
    while (used_natures.count(nature) && low < 0x7FF);
    used_natures.insert(nature);
    chart->accounts[p.account].nature = nature;
  }
  for (std::size_t i : inherit) {
    ChartAccount& a = chart->accounts[i];
    a.nature = chart->accounts[by_code[a.code / 10000 * 10000]].nature;
  }
  if (chart->accounts.empty() && problems->count() == before)
    problems->Add(file.name() + ": " + Say("the chart has no accounts", u8"勘定科目表に科目がありません"));
  return problems->count() == before;
}

void WriteChartCsv(const std::vector<ChartAccount>& accounts,
                   const std::vector<ChartMember>& members, std::ostream& out) {
  static const char* const kTypes[] = {"account", "heading", "total", "computed"};
  std::multimap<std::int64_t, std::uint32_t> masks;
  for (const ChartMember& m : members) masks.emplace(m.total_code, m.mask);
  out << "code,sub,name,statement_name,nature,side,line_type,members,ledger_excluded\r\n";
  for (const ChartAccount& a : accounts) {
    std::string member_text;
    auto [first, last] = masks.equal_range(a.code);
    for (auto it = first; it != last; ++it)
      member_text += (member_text.empty() ? "" : " ") + Hex(it->second);
    const std::int64_t sub = a.code % 10000;
    const std::string excluded =
        std::string(a.ledger_excluded_a ? "a" : "") + (a.ledger_excluded_b ? "b" : "");
    out << a.code / 10000 << ',' << (sub ? std::to_string(sub) : "") << ','
        << CsvTextField(a.formal_name) << ',' << CsvTextField(a.statement_name) << ','
        << Hex(a.nature)
        << ',' << (a.normal_side == 2 ? 'C' : 'D') << ','
        << (a.line_type >= 0 && a.line_type <= 3 ? kTypes[a.line_type]
                                                 : std::to_string(a.line_type).c_str())
        << ',' << member_text << ',' << excluded << "\r\n";
  }
}

} // namespace stmtlink

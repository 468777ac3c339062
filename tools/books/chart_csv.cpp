#include "tools/books/chart_csv.h"

#include <cerrno>
#include <cstdlib>
#include <map>
#include <set>

#include "tools/books/books_language.h"
#include "tools/books/csv_record_reader.h"
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

namespace {

// The chart's columns; CsvColumns::kAbsent where the header lacks one.
struct ChartColumnIndex {
  int code, sub, name, statement, nature, side, type, members, excluded, only;
};

// Reads the chart record by record into *chart. The natures of category
// accounts and of sub-accounts that take their main's are settled once
// every record is read.
class ChartReader : CsvRecordReader {
 public:
  ChartReader(CsvFile& file, bool keeps_mfg_schedule, ImportedChart* chart,
              ImportProblems* problems)
      : CsvRecordReader(file, problems), keeps_mfg_schedule_(keeps_mfg_schedule), chart_(chart),
        before_(problems->count()) {}

  bool Read() {
    if (!ReadHeader()) return false;
    while (NextRecord()) ReadAccount();
    SettleNatures();
    if (chart_->accounts.empty() && problems_->count() == before_)
      problems_->Add(file_.name() + ": " +
                     Say("the chart has no accounts", u8"勘定科目表に科目がありません"));
    return problems_->count() == before_;
  }

 private:
  bool ReadHeader();
  void ReadAccount();
  bool TakesRow();
  bool ReadCode(std::int64_t* main, std::int64_t* sub, ChartAccount* a);
  void ReadNames(ChartAccount* a);
  bool FindPlace(std::int64_t main, std::int64_t sub, const ChartAccount& a,
                 const ChartAccount** main_account);
  const NatureKeyword* ReadNature(const ChartAccount* main_account, ChartAccount* a);
  void ReadSide(const ChartAccount* main_account, const NatureKeyword* keyword, ChartAccount* a);
  void ReadExcluded(ChartAccount* a);
  void ReadMembers(bool type_read, const ChartAccount& a);
  void SettleNatures();

  const bool keeps_mfg_schedule_;
  ImportedChart* chart_;
  const std::size_t before_; // the problems' count before the chart
  ChartColumnIndex c_{};

  std::map<std::int64_t, std::size_t> by_code_; // stored code -> account index
  std::vector<PendingNature> pending_;
  std::set<std::uint32_t> used_natures_;
  std::vector<std::size_t> inherit_; // sub-accounts that take their main's nature
};

bool ChartReader::ReadHeader() {
  if (!file_.Next(&record_, problems_)) {
    if (problems_->count() == before_)
      problems_->Add(file_.name() + ": " + Say("the file is empty", u8"ファイルが空です"));
    return false;
  }
  if (!columns_.Read(file_, record_, kChartColumns, problems_)) return false;
  for (std::string_view required : {"code", "name"})
    if (!columns_.Has(required)) {
      problems_->Add(file_.name(), record_.line, 0,
                     Say("the header has no column '{0}'", u8"見出しに列 '{0}' がありません",
                         {required}));
      return false;
    }
  c_.code = columns_.Index("code");
  c_.sub = columns_.Index("sub");
  c_.name = columns_.Index("name");
  c_.statement = columns_.Index("statement_name");
  c_.nature = columns_.Index("nature");
  c_.side = columns_.Index("side");
  c_.type = columns_.Index("line_type");
  c_.members = columns_.Index("members");
  c_.excluded = columns_.Index("ledger_excluded");
  c_.only = columns_.Index("only");
  return true;
}

// One record: an account, heading, total or computed item of the chart.
void ChartReader::ReadAccount() {
  if (!TakesRow()) return;
  ChartAccount a;
  std::int64_t main = 0, sub = 0;
  if (!ReadCode(&main, &sub, &a)) return;
  a.seq = static_cast<std::int64_t>(chart_->accounts.size()) + 1;
  ReadNames(&a);
  const ChartAccount* main_account = nullptr;
  if (!FindPlace(main, sub, a, &main_account)) return;
  const bool type_read = ParseLineType(Field(c_.type), &a.line_type);
  if (!type_read)
    Bad(c_.type, Say("line type '{0}' is not account, heading, total or computed",
                     u8"行区分 '{0}' が account, heading, total, computed のどれでもありません",
                     {TextForMessage(Field(c_.type))}));
  const NatureKeyword* keyword = ReadNature(main_account, &a);
  ReadSide(main_account, keyword, &a);
  ReadExcluded(&a);
  ReadMembers(type_read, a);
  by_code_[a.code] = chart_->accounts.size();
  chart_->accounts.push_back(std::move(a));
  chart_->lines.push_back(record_.line);
}

// False for a row the chart does not take: one of the manufacturing
// schedule for a company that keeps none, or one whose only column holds
// anything else (a problem).
bool ChartReader::TakesRow() {
  const std::string_view only = Field(c_.only);
  if (!only.empty() && only != "manufacturing") {
    Bad(c_.only, Say("only '{0}' is not empty or manufacturing",
                     u8"製造原価 '{0}' が空でも manufacturing でもありません",
                     {TextForMessage(only)}));
    return false;
  }
  return only != "manufacturing" || keeps_mfg_schedule_;
}

bool ChartReader::ReadCode(std::int64_t* main, std::int64_t* sub, ChartAccount* a) {
  if (!ParseWhole(Field(c_.code), main) || *main < 1 || *main > kMaxMain) {
    Bad(c_.code, Say("code '{0}' is not a main code from 1 to 214747",
                     u8"科目コード '{0}' が 1 から 214747 のコードではありません",
                     {TextForMessage(Field(c_.code))}));
    return false;
  }
  if (!Field(c_.sub).empty() && (!ParseWhole(Field(c_.sub), sub) || *sub > kMaxSub)) {
    Bad(c_.sub, Say("sub '{0}' is not a sub-account number from 1 to 9999",
                    u8"補助コード '{0}' が 1 から 9999 の番号ではありません",
                    {TextForMessage(Field(c_.sub))}));
    return false;
  }
  a->code = *main * 10000 + *sub;
  return true;
}

void ChartReader::ReadNames(ChartAccount* a) {
  a->formal_name = WithoutFormulaGuard(Field(c_.name));
  a->statement_name = WithoutFormulaGuard(Field(c_.statement));
  if (a->formal_name.empty())
    Bad(c_.name, Say("the account has no name", u8"勘定科目に名前がありません"));
  for (auto [index, name] :
       {std::pair{c_.name, &a->formal_name}, std::pair{c_.statement, &a->statement_name}}) {
    std::string why;
    if (!FitsReportText(*name, &why)) Bad(index, Say("the name {0}", u8"名前が{0}", {why}));
  }
}

// False when the code is taken already, or when a sub-account's main
// account is not above it; else *main_account is the main (null for one).
bool ChartReader::FindPlace(std::int64_t main, std::int64_t sub, const ChartAccount& a,
                            const ChartAccount** main_account) {
  if (auto seen = by_code_.find(a.code); seen != by_code_.end()) {
    Bad(sub ? c_.sub : c_.code,
        Say("code {0} is already the account on line {1}",
            u8"コード {0} は {1} 行目の勘定科目にもう使われています",
            {std::to_string(main) + (sub ? "-" + std::to_string(sub) : ""),
             std::to_string(chart_->lines[seen->second])}));
    return false;
  }
  if (sub == 0) return true;
  auto found = by_code_.find(main * 10000);
  if (found == by_code_.end()) {
    Bad(c_.code, Say("sub-account of main code {0}, which no line above defines",
                     u8"科目コード {0} の補助科目ですが、その科目が上の行にありません",
                     {std::to_string(main)}));
    return false;
  }
  *main_account = &chart_->accounts[found->second];
  return true;
}

// The nature code or keyword; a category's low number and a sub-account's
// main's nature wait for SettleNatures. Returns the keyword, if one.
const NatureKeyword* ChartReader::ReadNature(const ChartAccount* main_account, ChartAccount* a) {
  const std::string_view nature = Field(c_.nature);
  const NatureKeyword* keyword = FindKeyword(nature);
  if (nature.empty()) {
    if (main_account)
      inherit_.push_back(chart_->accounts.size());
    else if (a->line_type != 1)
      Bad(c_.nature, Say("the account has no nature code or keyword",
                         u8"勘定科目に科目区分 (コードかキーワード) がありません"));
  } else if (keyword) {
    a->nature = keyword->code;
    if (keyword->category && (a->line_type == 0 || a->line_type == 3) && !main_account)
      pending_.push_back({chart_->accounts.size(), keyword});
  } else if (!ParseNatureCode(nature, &a->nature)) {
    Bad(c_.nature, Say("nature '{0}' is neither a code (0x80880001) nor a keyword such as "
                       "\xE6\xB5\x81\xE5\x8B\x95\xE8\xB3\x87\xE7\x94\xA3",
                       u8"科目区分 '{0}' がコード (0x80880001) でも 流動資産 などのキーワード"
                       u8"でもありません",
                       {TextForMessage(nature)}));
  }
  if (!keyword || !keyword->category || a->line_type == 2) used_natures_.insert(a->nature);
  return keyword;
}

void ChartReader::ReadSide(const ChartAccount* main_account, const NatureKeyword* keyword,
                           ChartAccount* a) {
  const std::string_view side = Field(c_.side);
  if (side.empty()) {
    if (main_account)
      a->normal_side = main_account->normal_side;
    else if (keyword)
      a->normal_side = keyword->side;
    else
      Bad(c_.side, Say("the account has no side (D or C)",
                       u8"勘定科目に貸借 (D か C) がありません"));
  } else if (!ParseSide(side, &a->normal_side)) {
    Bad(c_.side, Say("side '{0}' is not D or C", u8"貸借 '{0}' が D でも C でもありません",
                     {TextForMessage(side)}));
  }
}

void ChartReader::ReadExcluded(ChartAccount* a) {
  const std::string_view excluded = Field(c_.excluded);
  if (excluded == "a" || excluded == "ab") a->ledger_excluded_a = 1;
  if (excluded == "b" || excluded == "ab") a->ledger_excluded_b = 1;
  if (!excluded.empty() && excluded != "a" && excluded != "b" && excluded != "ab")
    Bad(c_.excluded, Say("ledger_excluded '{0}' is not a, b or ab",
                         u8"元帳除外 '{0}' が a, b, ab のどれでもありません",
                         {TextForMessage(excluded)}));
}

// Only a total or a computed item sums members: on any other row the
// masks would be kept and never used, or read as a total's.
void ChartReader::ReadMembers(bool type_read, const ChartAccount& a) {
  const bool sums_members = a.line_type == 2 || a.line_type == 3;
  const std::string_view members = Field(c_.members);
  if (!members.empty() && !sums_members && type_read)
    Bad(c_.members, a.line_type == 1
                        ? Say("members belong to a total or a computed item, and this row is a "
                              "heading",
                              u8"集計対象は合計か計算科目のものですが、この行は見出しです")
                        : Say("members belong to a total or a computed item, and this row is an "
                              "account",
                              u8"集計対象は合計か計算科目のものですが、この行は勘定科目です"));
  for (std::string_view member : SplitMembers(sums_members ? members : "")) {
    std::uint32_t mask = 0;
    if (const NatureKeyword* k = FindKeyword(member))
      mask = k->code;
    else if (!ParseNatureCode(member, &mask)) {
      Bad(c_.members, Say("member '{0}' is neither a code nor a keyword",
                          u8"集計対象 '{0}' がコードでもキーワードでもありません",
                          {TextForMessage(member)}));
      continue;
    }
    chart_->members.push_back({a.code, mask});
  }
  if ((a.line_type == 2) && members.empty())
    Bad(c_.members, Say("a total needs its members", u8"合計には集計対象が要ります"));
}

// Category accounts: the category's bits and the first low number that
// no account of the chart holds yet. Sub-accounts follow their main.
void ChartReader::SettleNatures() {
  std::map<std::uint32_t, std::uint32_t> next_low;
  for (const PendingNature& p : pending_) {
    std::uint32_t& low = next_low[p.keyword->code];
    std::uint32_t nature = 0;
    do nature = p.keyword->code | ++low;
    while (used_natures_.count(nature) && low < 0x7FF);
    used_natures_.insert(nature);
    chart_->accounts[p.account].nature = nature;
  }
  for (std::size_t i : inherit_) {
    ChartAccount& a = chart_->accounts[i];
    a.nature = chart_->accounts[by_code_[a.code / 10000 * 10000]].nature;
  }
}

} // namespace

bool ReadChartCsv(CsvFile& file, bool keeps_mfg_schedule, ImportedChart* chart,
                  ImportProblems* problems) {
  return ChartReader(file, keeps_mfg_schedule, chart, problems).Read();
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

#include "tools/books/hledger_csv.h"

#include <cstdlib>
#include <unordered_set>

#include "tools/books/books_language.h"
#include "tools/books/book_values.h"
#include "tools/books/user_text.h"

namespace stmtlink {
namespace {

const std::vector<std::string_view> kHledgerColumns = {
    "txnidx",  "date",   "date2",     "status", "code",  "description",    "comment",
    "account", "amount", "commodity", "credit", "debit", "posting-status", "posting-comment"};

bool IsYen(std::string_view commodity) {
  for (std::string_view yen : {"", "\xC2\xA5", "\xEF\xBF\xA5", "\xE5\x86\x86", "JPY"})
    if (commodity == yen) return true;
  return false;
}

// A posting before its entry is complete.
struct Posting {
  std::int64_t code;
  std::int64_t amount; // positive debit, negative credit
  long line;
  bool unreadable = false; // its amount or commodity was refused
};

} // namespace

bool LooksLikeHledgerCsv(const CsvRecord& header) {
  return !header.fields.empty() && header.fields[0] == "txnidx";
}

bool ReadAccountMap(CsvFile& file, const AccountFinder& accounts, AccountMap* map,
                    ImportProblems* problems) {
  const std::size_t before = problems->count();
  CsvRecord record;
  CsvColumns columns;
  if (!file.Next(&record, problems)) {
    problems->Add(file.name() + ": " + Say("the file is empty", u8"ファイルが空です"));
    return false;
  }
  if (!columns.Read(file, record, {"account", "code"}, problems)) return false;
  const int c_account = columns.Index("account"), c_code = columns.Index("code");
  std::unordered_map<std::string, long> seen;
  std::string why;
  while (file.Next(&record, problems)) {
    if (!columns.Fits(file, record, problems)) continue;
    const std::string name(WithoutOuterSpaces(CsvColumns::Field(record, c_account)));
    std::int64_t code = 0;
    if (auto [it, fresh] = seen.emplace(name, record.line); !fresh) {
      problems->Add(
          file.name(), record.line, c_account + 1,
          Say("account '{0}' is already mapped on line {1}",
              u8"勘定科目 '{0}' は {1} 行目でもう対応づけられています",
              {TextForMessage(name), std::to_string(it->second)}));
    } else if (!accounts.Find(WithoutFormulaGuard(CsvColumns::Field(record, c_code)), &code,
                              &why)) {
      problems->Add(file.name(), record.line, c_code + 1, why);
    } else {
      (*map)[name] = code;
    }
  }
  return problems->count() == before;
}

void ReadHledgerCsv(CsvFile& file, const AccountFinder& accounts, const AccountMap& map,
                    EntrySink* sink, ImportProblems* problems, ChangedLines* joined_descriptions) {
  CsvRecord record;
  CsvColumns columns;
  if (!file.Next(&record, problems)) {
    problems->Add(file.name() + ": " + Say("the file is empty", u8"ファイルが空です"));
    return;
  }
  if (!columns.Read(file, record, kHledgerColumns, problems, UnknownColumns::kIgnored)) return;
  for (std::string_view required : {"txnidx", "date", "account", "amount"})
    if (!columns.Has(required)) {
      problems->Add(file.name(), record.line, 0,
                    Say("the header has no column '{0}'", u8"見出しに列 '{0}' がありません",
                        {required}));
      return;
    }
  const int c_index = columns.Index("txnidx"), c_date = columns.Index("date"),
            c_description = columns.Index("description"), c_account = columns.Index("account"),
            c_amount = columns.Index("amount"), c_commodity = columns.Index("commodity");

  std::vector<Posting> postings;
  std::string index, description;
  std::int64_t date = 0;
  long first_line = 0;
  std::string why;
  std::vector<JournalRow> lines;
  auto flush = [&] {
    if (postings.empty()) return;
    lines.clear();
    auto row = [&](long line) {
      JournalRow r;
      r.entry_no = std::atoll(index.c_str());
      r.date = date;
      r.slot = -1;
      r.description = description;
      r.source_line = line;
      for (const Posting& p : postings) r.unreadable = r.unreadable || p.unreadable;
      return r;
    };
    if (postings.size() == 2 && postings[0].amount == -postings[1].amount) {
      const Posting& debit = postings[0].amount >= 0 ? postings[0] : postings[1];
      const Posting& credit = postings[0].amount >= 0 ? postings[1] : postings[0];
      JournalRow r = row(first_line);
      r.debit_code = debit.code;
      r.debit_amount = debit.amount;
      r.credit_code = credit.code;
      r.credit_amount = -credit.amount;
      lines.push_back(std::move(r));
    } else {
      for (const Posting& p : postings) {
        JournalRow r = row(p.line);
        (p.amount >= 0 ? r.debit_code : r.credit_code) = p.code;
        (p.amount >= 0 ? r.debit_amount : r.credit_amount) = p.amount >= 0 ? p.amount : -p.amount;
        lines.push_back(std::move(r));
      }
    }
    sink->Entry(file.name(), 0, lines);
    postings.clear();
  };
  while (file.Next(&record, problems)) {
    if (!columns.Fits(file, record, problems)) continue;
    const long line = record.line;
    auto field = [&](int i) { return CsvColumns::Field(record, i); };
    auto bad = [&](int i, const std::string& message) {
      problems->Add(file.name(), line, i + 1, message);
    };
    if (field(c_index) != index) {
      flush();
      index = field(c_index);
      description = field(c_description);
      first_line = line;
      if (index.empty() || index.find_first_not_of("0123456789") != std::string::npos ||
          index.size() > 9)
        bad(c_index, Say("txnidx '{0}' is not a transaction number",
                         u8"txnidx '{0}' が取引の番号ではありません", {TextForMessage(index)}));
      if (!ParseBookDate(field(c_date), &date))
        bad(c_date, Say("date '{0}' is not a calendar day", u8"日付 '{0}' が実在する日ではありません",
                        {TextForMessage(field(c_date))}));
      else if (sink->period().start == 0)
        sink->SetPeriodFrom(date);
      std::string character;
      const DescriptionCleaning cleaning = CleanDescription(&description, &why);
      if (cleaning == DescriptionCleaning::kRefused)
        bad(c_description, Say("the description {0}", u8"摘要が{0}", {why}));
      else if (!FitsShiftJis(description, &character))
        bad(c_description, Say("the description cannot be written in Shift_JIS: {0}",
                               u8"摘要を Shift_JIS で書けません: {0}", {character}));
      else if (cleaning == DescriptionCleaning::kJoined && joined_descriptions)
        joined_descriptions->Add(line);
    }
    Posting p{0, 0, line};
    const std::string account(field(c_account));
    if (auto mapped = map.find(account); mapped != map.end()) {
      p.code = mapped->second;
    } else {
      const std::size_t colon = account.rfind(':');
      const std::string last = colon == std::string::npos ? account : account.substr(colon + 1);
      if (!accounts.Find(account, &p.code, &why) && !accounts.Find(last, &p.code, &why))
        bad(c_account, Say("account '{0}' is not in the map, and {1}",
                           u8"勘定科目 '{0}' は対応表になく、{1}", {TextForMessage(account), why}));
    }
    if (!IsYen(field(c_commodity))) {
      bad(c_commodity, Say("commodity '{0}' is not yen (yen is written as JPY, \xC2\xA5, "
                           "\xEF\xBF\xA5, \xE5\x86\x86 or nothing)",
                           u8"通貨 '{0}' が円ではありません (円は JPY, ¥, ￥, 円 か空で書きます)",
                           {TextForMessage(field(c_commodity))}));
      p.unreadable = true;
    } else if (!ParseYenAmount(field(c_amount), &p.amount, &why)) {
      bad(c_amount, Say("amount '{0}': {1}", u8"金額 '{0}': {1}",
                        {TextForMessage(field(c_amount)), why}));
      p.unreadable = true;
    }
    postings.push_back(p);
  }
  flush();
}

} // namespace stmtlink

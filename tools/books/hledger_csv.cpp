#include "tools/books/hledger_csv.h"

#include <cstdlib>
#include <unordered_set>

#include "tools/books/books_language.h"
#include "tools/books/csv_record_reader.h"
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

namespace {

// Reads hledger's postings record by record; the postings of one txnidx
// go to the sink as one entry when the next transaction starts.
class HledgerReader : CsvRecordReader {
 public:
  HledgerReader(CsvFile& file, const AccountFinder& accounts, const AccountMap& map,
                EntrySink* sink, ImportProblems* problems, ChangedLines* joined_descriptions)
      : CsvRecordReader(file, problems), accounts_(accounts), map_(map), sink_(sink),
        joined_descriptions_(joined_descriptions) {}

  void Read() {
    if (!ReadHeader()) return;
    while (NextRecord()) {
      if (Field(c_index_) != index_) StartTransaction();
      ReadPosting();
    }
    Flush();
  }

 private:
  bool ReadHeader();
  void StartTransaction();
  void ReadDescription();
  void ReadPosting();
  bool FindAccount(std::string_view account, std::int64_t* code);
  JournalRow Row(long line) const;
  void Flush();

  const AccountFinder& accounts_;
  const AccountMap& map_;
  EntrySink* sink_;
  ChangedLines* joined_descriptions_;
  int c_index_ = 0, c_date_ = 0, c_description_ = 0, c_account_ = 0, c_amount_ = 0,
      c_commodity_ = 0;
  std::string why_;

  // The transaction at hand: its txnidx, description, date, first line and
  // postings so far.
  std::string index_, description_;
  std::int64_t date_ = 0;
  long first_line_ = 0;
  std::vector<Posting> postings_;
  std::vector<JournalRow> lines_; // the entry as handed to the sink
};

bool HledgerReader::ReadHeader() {
  if (!file_.Next(&record_, problems_)) {
    problems_->Add(file_.name() + ": " + Say("the file is empty", u8"ファイルが空です"));
    return false;
  }
  if (!columns_.Read(file_, record_, kHledgerColumns, problems_, UnknownColumns::kIgnored))
    return false;
  for (std::string_view required : {"txnidx", "date", "account", "amount"})
    if (!columns_.Has(required)) {
      problems_->Add(file_.name(), record_.line, 0,
                     Say("the header has no column '{0}'", u8"見出しに列 '{0}' がありません",
                         {required}));
      return false;
    }
  c_index_ = columns_.Index("txnidx");
  c_date_ = columns_.Index("date");
  c_description_ = columns_.Index("description");
  c_account_ = columns_.Index("account");
  c_amount_ = columns_.Index("amount");
  c_commodity_ = columns_.Index("commodity");
  return true;
}

// A record with another txnidx than the one before starts a transaction:
// the one before goes to the sink, and this record's number, date and
// description are the new one's.
void HledgerReader::StartTransaction() {
  Flush();
  index_ = Field(c_index_);
  description_ = Field(c_description_);
  first_line_ = record_.line;
  if (index_.empty() || index_.find_first_not_of("0123456789") != std::string::npos ||
      index_.size() > 9)
    Bad(c_index_, Say("txnidx '{0}' is not a transaction number",
                      u8"txnidx '{0}' が取引の番号ではありません", {TextForMessage(index_)}));
  if (!ParseBookDate(Field(c_date_), &date_))
    Bad(c_date_, Say("date '{0}' is not a calendar day", u8"日付 '{0}' が実在する日ではありません",
                     {TextForMessage(Field(c_date_))}));
  else if (sink_->period().start == 0)
    sink_->SetPeriodFrom(date_);
  ReadDescription();
}

// Descriptions are cleaned as the journal CSV's are.
void HledgerReader::ReadDescription() {
  std::string character;
  const DescriptionCleaning cleaning = CleanDescription(&description_, &why_);
  if (cleaning == DescriptionCleaning::kRefused)
    Bad(c_description_, Say("the description {0}", u8"摘要が{0}", {why_}));
  else if (!FitsShiftJis(description_, &character))
    Bad(c_description_, Say("the description cannot be written in Shift_JIS: {0}",
                            u8"摘要を Shift_JIS で書けません: {0}", {character}));
  else if (cleaning == DescriptionCleaning::kJoined && joined_descriptions_)
    joined_descriptions_->Add(record_.line);
}

// The map's code for the account, else the chart's account of its name or
// of its last component.
bool HledgerReader::FindAccount(std::string_view account, std::int64_t* code) {
  if (auto mapped = map_.find(std::string(account)); mapped != map_.end()) {
    *code = mapped->second;
    return true;
  }
  const std::size_t colon = account.rfind(':');
  const std::string_view last =
      colon == std::string_view::npos ? account : account.substr(colon + 1);
  return accounts_.Find(account, code, &why_) || accounts_.Find(last, code, &why_);
}

void HledgerReader::ReadPosting() {
  Posting p{0, 0, record_.line};
  const std::string_view account = Field(c_account_);
  if (!FindAccount(account, &p.code))
    Bad(c_account_, Say("account '{0}' is not in the map, and {1}",
                        u8"勘定科目 '{0}' は対応表になく、{1}", {TextForMessage(account), why_}));
  if (!IsYen(Field(c_commodity_))) {
    Bad(c_commodity_, Say("commodity '{0}' is not yen (yen is written as JPY, \xC2\xA5, "
                          "\xEF\xBF\xA5, \xE5\x86\x86 or nothing)",
                          u8"通貨 '{0}' が円ではありません (円は JPY, ¥, ￥, 円 か空で書きます)",
                          {TextForMessage(Field(c_commodity_))}));
    p.unreadable = true;
  } else if (!ParseYenAmount(Field(c_amount_), &p.amount, &why_)) {
    Bad(c_amount_, Say("amount '{0}': {1}", u8"金額 '{0}': {1}",
                       {TextForMessage(Field(c_amount_)), why_}));
    p.unreadable = true;
  }
  postings_.push_back(p);
}

JournalRow HledgerReader::Row(long line) const {
  JournalRow r;
  r.entry_no = std::atoll(index_.c_str());
  r.date = date_;
  r.slot = -1;
  r.description = description_;
  r.source_line = line;
  for (const Posting& p : postings_) r.unreadable = r.unreadable || p.unreadable;
  return r;
}

// An entry of two postings that cancel is one line with both sides; any
// other, a line per posting.
void HledgerReader::Flush() {
  if (postings_.empty()) return;
  lines_.clear();
  if (postings_.size() == 2 && postings_[0].amount == -postings_[1].amount) {
    const Posting& debit = postings_[0].amount >= 0 ? postings_[0] : postings_[1];
    const Posting& credit = postings_[0].amount >= 0 ? postings_[1] : postings_[0];
    JournalRow r = Row(first_line_);
    r.debit_code = debit.code;
    r.debit_amount = debit.amount;
    r.credit_code = credit.code;
    r.credit_amount = -credit.amount;
    lines_.push_back(std::move(r));
  } else {
    for (const Posting& p : postings_) {
      JournalRow r = Row(p.line);
      (p.amount >= 0 ? r.debit_code : r.credit_code) = p.code;
      (p.amount >= 0 ? r.debit_amount : r.credit_amount) = p.amount >= 0 ? p.amount : -p.amount;
      lines_.push_back(std::move(r));
    }
  }
  sink_->Entry(file_.name(), 0, lines_);
  postings_.clear();
}

} // namespace

void ReadHledgerCsv(CsvFile& file, const AccountFinder& accounts, const AccountMap& map,
                    EntrySink* sink, ImportProblems* problems, ChangedLines* joined_descriptions) {
  HledgerReader(file, accounts, map, sink, problems, joined_descriptions).Read();
}

} // namespace stmtlink

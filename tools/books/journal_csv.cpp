#include "tools/books/journal_csv.h"

#include <cstdlib>
#include <unordered_set>

#include "tools/books/book_values.h"
#include "tools/books/books_language.h"
#include "tools/books/csv_record_reader.h"
#include "tools/books/sql_statement.h"
#include "tools/books/user_text.h"
#include "tools/books/utf8_literal.h"

namespace stmtlink {
namespace {

const std::vector<std::string_view> kColumns = {
    U(u8"entry|伝票番号|伝票No|伝票No.|伝票NO"),
    U(u8"id|仕訳ID"),
    U(u8"date|取引日|日付|伝票日付"),
    "slot",
    U(u8"debit|借方科目|借方勘定科目"),
    U(u8"debit_sub|借方補助|借方補助科目"),
    U(u8"debit_amount|借方金額"),
    U(u8"debit_tax_category|借方税区分"),
    U(u8"debit_tax|借方税額|借方消費税額|借方税金額"),
    U(u8"credit|貸方科目|貸方勘定科目"),
    U(u8"credit_sub|貸方補助|貸方補助科目"),
    U(u8"credit_amount|貸方金額"),
    U(u8"credit_tax_category|貸方税区分"),
    U(u8"credit_tax|貸方税額|貸方消費税額|貸方税金額"),
    U(u8"amount|金額"),
    U(u8"tax_category|税区分"),
    U(u8"tax_method|税計算区分"),
    U(u8"description|摘要"),
    U(u8"tax|税額|税金額|消費税額"),
    U(u8"adjustment|決算|決算整理|整理区分|仕訳区分"),
    // Kept aside: the books have no departments.
    U(u8"debit_department|借方部門"),
    U(u8"credit_department|貸方部門"),
    U(u8"department|部門"),
};

bool ParseCount(std::string_view text, std::int64_t most, std::int64_t* out) {
  if (text.empty() || text.size() > 10 ||
      text.find_first_not_of("0123456789") != std::string_view::npos)
    return false;
  std::int64_t n = 0;
  for (char c : text) n = n * 10 + (c - '0');
  *out = n;
  return n >= 1 && n <= most;
}

bool ParseSlot(std::string_view text, int* slot) {
  if (text == "opening")
    *slot = kOpeningSlot;
  else if (text == "year-end")
    *slot = kYearEndSlot;
  else if (text == "interim")
    *slot = kInterimSlot;
  else {
    std::int64_t n = 0;
    if (!ParseCount(text, kInterimSlot, &n)) return false;
    *slot = static_cast<int>(n);
  }
  return true;
}

std::string CodeText(std::int64_t code) {
  if (code == 0) return std::string();
  const std::int64_t sub = code % 10000;
  return std::to_string(code / 10000) + (sub ? "-" + std::to_string(sub) : "");
}

std::string AmountText(std::int64_t units) { return units ? FormatYenAmount(units) : ""; }

} // namespace

bool LooksLikeJournalCsv(const CsvRecord& header) {
  for (const std::string& field : header.fields)
    if (field == "debit_amount" || field == "debit amount" || field == U(u8"借方金額") ||
        field == U(u8"借方科目") || field == U(u8"借方勘定科目"))
      return true;
  return false;
}

namespace {

// The columns of one side of a line; kAbsent where the header lacks one.
struct SideColumns {
  int account, sub, amount, category, tax;
};

struct JournalColumns {
  int entry, id, date, slot, adjustment, amount, tax, category, method, description;
  SideColumns sides[2]; // debit, credit
};

JournalColumns IndexColumns(const CsvColumns& c) {
  JournalColumns j{};
  j.entry = c.Index("entry");
  j.id = c.Index("id");
  j.date = c.Index("date");
  j.slot = c.Index("slot");
  j.adjustment = c.Index("adjustment");
  j.amount = c.Index("amount");
  j.tax = c.Index("tax");
  j.category = c.Index("tax_category");
  j.method = c.Index("tax_method");
  j.description = c.Index("description");
  for (int side = 0; side < 2; ++side) {
    const std::string name = side == 0 ? "debit" : "credit";
    j.sides[side] = {c.Index(name), c.Index(name + "_sub"), c.Index(name + "_amount"),
                     c.Index(name + "_tax_category"), c.Index(name + "_tax")};
  }
  return j;
}

// The adjustment column's value as a slot: 本決 (決算, 決算整理) the
// year-end adjustments, 中決 (中間決算) the interim ones; -1 for a line of
// the month (empty, 通常, 通常仕訳). False for anything else.
bool ParseAdjustment(std::string_view text, int* slot) {
  text = WithoutOuterSpaces(text);
  *slot = -1;
  if (text.empty() || text == U(u8"通常") || text == U(u8"通常仕訳")) return true;
  for (const char8_t* year_end : {u8"本決", u8"決算", u8"決算整理", u8"year-end"})
    if (text == U(year_end)) {
      *slot = kYearEndSlot;
      return true;
    }
  for (const char8_t* interim : {u8"中決", u8"中間決算", u8"interim"})
    if (text == U(interim)) {
      *slot = kInterimSlot;
      return true;
    }
  return false;
}

std::string AmountRefusal(std::string_view field, const std::string& why) {
  return Say("amount '{0}': {1}", u8"金額 '{0}': {1}", {TextForMessage(field), why});
}

std::string NoAccountForAmount() {
  return Say("an amount with no account on its side", u8"勘定科目のない側に金額があります");
}

// One side of a line as the reader works it out.
struct SideState {
  std::string_view account; // as named, without its outer spaces
  std::int64_t* code;
  std::int64_t* amount;
  std::int64_t* tax;
  bool amount_shared = false; // read from the line's one amount column
  bool tax_given = false;     // the file gives the tax (else it is computed)
  int tax_column = CsvColumns::kAbsent;
  TaxCategory category;
  bool has_category = false;
  int category_column = CsvColumns::kAbsent;
  bool taxed = false;
};

// Reads the journal record by record into whole entries for the sink.
class JournalReader : CsvRecordReader {
 public:
  JournalReader(CsvFile& file, AccountFinder& accounts, EntrySink* sink,
                ImportProblems* problems, const JournalReadOptions& options)
      : CsvRecordReader(file, problems), accounts_(accounts), sink_(sink), options_(options) {}

  void Read() {
    if (!ReadHeader()) return;
    while (NextRecord()) {
      JournalRow row = NewRow();
      GroupIntoEntry(&row);
      ReadWhen(&row);
      ReadSides(&row);
      ReadDescription(&row);
      entry_.push_back(std::move(row));
    }
    Flush();
  }

 private:
  bool ReadHeader();
  JournalRow NewRow();
  void GroupIntoEntry(JournalRow* row);
  void ReadWhen(JournalRow* row);
  void ReadSides(JournalRow* row);
  int LineCategorySide(JournalRow* row, TaxCategory* category);
  bool FindAccount(std::string_view name, std::int64_t* code);
  bool ReadAccount(const SideColumns& c, SideState* s);
  void ReadAmounts(const SideColumns& c, std::int64_t shared_amount, SideState* s, JournalRow* row);
  void ApplyTax(bool excludes_tax, SideState* s, JournalRow* row);
  bool CategoryOf(int cache, std::string_view text, TaxCategory* out);
  void ReadDescription(JournalRow* row);
  void Flush();

  AccountFinder& accounts_;
  EntrySink* sink_;
  const JournalReadOptions& options_;
  JournalColumns c_{};
  std::string why_;

  std::vector<JournalRow> entry_;
  // The entry and id fields of the entry's first line; keyed_ marks that
  // one has been read.
  std::string entry_key_no_, entry_key_id_;
  bool keyed_ = false;
  std::int64_t entry_id_ = 0, numbered_ = 0;
  // The descriptions' buffers of earlier entries, reused line after line.
  std::vector<std::string> spare_texts_;
  std::unordered_set<std::string> good_texts_; // descriptions repeat; check each once
  // A column's category is most often the one of the line before: the
  // last text read and its category, for each side's column and the line's.
  struct LastCategory {
    std::string text;
    TaxCategory category;
    bool known = false;
  } last_category_[3];
};

bool JournalReader::ReadHeader() {
  if (!file_.Next(&record_, problems_)) {
    problems_->Add(file_.name() + ": " + Say("the file is empty", u8"ファイルが空です"));
    return false;
  }
  const UnknownColumns unknown = options_.strict ? UnknownColumns::kRefused : UnknownColumns::kNoted;
  if (!columns_.Read(file_, record_, kColumns, problems_, unknown)) return false;
  if (options_.unread_columns) *options_.unread_columns = columns_.unread();
  for (std::string_view required : {"date", "debit", "credit"})
    if (!columns_.Has(required)) {
      std::string spellings;
      for (std::string_view k : kColumns)
        if (k.substr(0, k.find('|')) == required) spellings = std::string(k);
      for (char& c : spellings)
        if (c == '|') c = '/';
      problems_->Add(file_.name(), record_.line, 0,
                     Say("the header has no column '{0}' ({1})",
                         u8"見出しに列 '{0}' がありません ({1})", {required, spellings}));
      return false;
    }
  c_ = IndexColumns(columns_);
  return true;
}

JournalRow JournalReader::NewRow() {
  JournalRow row;
  if (!spare_texts_.empty()) {
    row.description = std::move(spare_texts_.back());
    spare_texts_.pop_back();
  }
  row.source_line = record_.line;
  return row;
}

// A line with an entry number (and id) other than the entry's before it
// starts an entry; a line with an empty one goes on with the entry. Without
// the column each line is an entry of its own.
void JournalReader::GroupIntoEntry(JournalRow* row) {
  const std::string_view no = Field(c_.entry), id = Field(c_.id);
  const auto id_problem = [&] {
    return Say("id '{0}' is not a number from 1 to 2147483647",
               u8"仕訳 ID '{0}' が 1 から 2147483647 の数ではありません", {TextForMessage(id)});
  };
  if (c_.entry == CsvColumns::kAbsent) {
    Flush();
    entry_id_ = 0;
    if (c_.id != CsvColumns::kAbsent && !id.empty() && !ParseCount(id, 0x7FFFFFFF, &entry_id_))
      Bad(c_.id, id_problem());
    row->entry_no = ++numbered_;
    return;
  }
  if (!no.empty() && (!keyed_ || no != entry_key_no_ || id != entry_key_id_)) {
    Flush();
    entry_key_no_ = no;
    entry_key_id_ = id;
    keyed_ = true;
    entry_id_ = 0;
    if (c_.id != CsvColumns::kAbsent && !ParseCount(id, 0x7FFFFFFF, &entry_id_))
      Bad(c_.id, id_problem());
  } else if (entry_.empty() && no.empty() && !keyed_) {
    Bad(c_.entry, Say("the first line of the journal has no entry number",
                      u8"仕訳の最初の行に伝票番号がありません"));
  }
  if (!no.empty() && !ParseCount(no, 0x7FFFFFFF, &row->entry_no))
    Bad(c_.entry, Say("entry '{0}' is not a number from 1 to 2147483647",
                      u8"伝票番号 '{0}' が 1 から 2147483647 の数ではありません",
                      {TextForMessage(no)}));
  if (no.empty() && !entry_.empty()) row->entry_no = entry_.front().entry_no;
}

// The slot (or the adjustment column's) and the date.
void JournalReader::ReadWhen(JournalRow* row) {
  const std::string_view slot = Field(c_.slot);
  row->slot = -1; // from the date
  if (!slot.empty() && !ParseSlot(slot, &row->slot))
    Bad(c_.slot,
        Say("slot '{0}' is not year-end, interim, opening or 1 to 14",
            u8"区分 '{0}' が year-end, interim, opening, 1 から 14 のどれでもありません",
            {TextForMessage(slot)}));
  int adjustment = -1;
  if (!ParseAdjustment(Field(c_.adjustment), &adjustment))
    Bad(c_.adjustment,
        Say("adjustment '{0}' is not \xE6\x9C\xAC\xE6\xB1\xBA (\xE6\xB1\xBA\xE7\xAE\x97, "
            "\xE6\xB1\xBA\xE7\xAE\x97\xE6\x95\xB4\xE7\x90\x86), \xE4\xB8\xAD\xE6\xB1\xBA ("
            "\xE4\xB8\xAD\xE9\x96\x93\xE6\xB1\xBA\xE7\xAE\x97) or empty",
            u8"決算区分 '{0}' が 本決 (決算, 決算整理)、中決 (中間決算)、空 のどれでもありません",
            {TextForMessage(Field(c_.adjustment))}));
  else if (adjustment >= 0 && !slot.empty() && row->slot != adjustment)
    Bad(c_.adjustment, Say("the adjustment and the slot '{0}' disagree",
                           u8"決算区分と区分 '{0}' が食い違います", {TextForMessage(slot)}));
  else if (adjustment >= 0)
    row->slot = adjustment;
  if (row->slot == kInterimSlot && !options_.interim_closing)
    Bad(adjustment == kInterimSlot ? c_.adjustment : c_.slot,
        Say("an interim adjustment, but the data set keeps no interim closing (give --interim)",
            u8"中間決算の整理仕訳ですが、データに中間決算がありません (--interim を付けてください)"));
  const std::string_view date = Field(c_.date);
  if (!ParseBookDate(date, &row->date)) {
    if (!(row->slot == kOpeningSlot && date.empty()))
      Bad(c_.date,
          Say("date '{0}' is not a calendar day ({1})", u8"日付 '{0}' が実在する日ではありません ({1})",
              {TextForMessage(date), DateForms()}));
  } else if (sink_->period().start == 0) {
    sink_->SetPeriodFrom(row->date);
  }
}

bool JournalReader::CategoryOf(int cache, std::string_view text, TaxCategory* out) {
  LastCategory& last = last_category_[cache];
  if (text != last.text) {
    last.text = text;
    last.known = ParseTaxCategory(text, &last.category);
  }
  *out = last.category;
  return last.known;
}

// The side that the line's one tax category (and its one tax) belongs to:
// the credit side for sales, the debit side for purchases, or the only
// side that names an account. -1 without a line category.
int JournalReader::LineCategorySide(JournalRow* row, TaxCategory* category) {
  const std::string_view text = Field(c_.category);
  if (text.empty()) return -1;
  if (!CategoryOf(2, text, category)) {
    Bad(c_.category, TaxCategoryRefusal(text));
    row->unreadable = true;
    return -1;
  }
  const int side = category->sales ? 1 : 0;
  if (WithoutOuterSpaces(Field(c_.sides[side].account)).empty() &&
      !WithoutOuterSpaces(Field(c_.sides[1 - side].account)).empty())
    return 1 - side;
  return side;
}

// A company's own name by the map, else the chart's account.
bool JournalReader::FindAccount(std::string_view name, std::int64_t* code) {
  if (options_.map && !options_.map->empty())
    if (auto mapped = options_.map->find(std::string(name)); mapped != options_.map->end()) {
      *code = mapped->second;
      return true;
    }
  return accounts_.Find(name, code, &why_);
}

// The side's account, and its sub-account by name (made when the options say).
bool JournalReader::ReadAccount(const SideColumns& c, SideState* s) {
  s->account = WithoutFormulaGuard(WithoutOuterSpaces(Field(c.account)));
  if (!s->account.empty() && !FindAccount(s->account, s->code)) {
    Bad(c.account, why_);
    return false;
  }
  const std::string_view sub = WithoutFormulaGuard(WithoutOuterSpaces(Field(c.sub)));
  if (sub.empty()) return true;
  if (s->account.empty())
    Bad(c.sub, Say("a sub-account with no account on its side",
                   u8"勘定科目のない側に補助科目があります"));
  else if (accounts_.FindSub(*s->code, sub, s->code, &why_))
    return true;
  else if (!options_.create_sub_accounts || *s->code % 10000 != 0) // not unknown: refused
    Bad(c.sub, why_);
  else if (!FitsReportText(sub, &why_))
    Bad(c.sub, Say("the sub-account name {0}", u8"補助科目名が{0}", {why_}));
  else if (!accounts_.AddSub(*s->code, sub, s->code, &why_))
    Bad(c.sub, why_);
  return true;
}

void JournalReader::ReadAmounts(const SideColumns& c, std::int64_t shared_amount, SideState* s,
                                JournalRow* row) {
  if (c.amount == CsvColumns::kAbsent) {
    s->amount_shared = true;
    *s->amount = s->account.empty() ? 0 : shared_amount;
  } else if (!ParseYenAmount(Field(c.amount), s->amount, &why_)) {
    Bad(c.amount, AmountRefusal(Field(c.amount), why_));
    row->unreadable = true;
  } else if (*s->amount != 0 && s->account.empty()) {
    Bad(c.amount, NoAccountForAmount());
  }
  if (!ParseYenAmount(Field(s->tax_column), s->tax, &why_)) {
    Bad(s->tax_column, AmountRefusal(Field(s->tax_column), why_));
    row->unreadable = true;
  } else if (*s->tax != 0 && s->account.empty()) {
    Bad(s->tax_column, NoAccountForAmount());
  }
  s->tax_given = !Field(s->tax_column).empty();
}

// On a side with a taxed category: the tax computed unless the file gives
// it (then a figure more than a yen off is noted), and an amount that
// holds its tax made one without it.
void JournalReader::ApplyTax(bool excludes_tax, SideState* s, JournalRow* row) {
  if (!s->has_category || row->unreadable) return;
  if (s->account.empty()) {
    Bad(s->category_column, Say("a tax category with no account on its side",
                                u8"勘定科目のない側に税区分があります"));
    return;
  }
  if (s->category.rate == 0) {
    if (*s->tax != 0)
      Bad(s->tax_column, Say("a tax on a line whose category bears none",
                             u8"税のかからない税区分の行に税額があります"));
    return;
  }
  const std::int64_t computed =
      TaxOf(*s->amount, s->category.rate, !excludes_tax, options_.rounding);
  if (!s->tax_given) {
    *s->tax = computed;
  } else if (options_.notes &&
             (*s->tax - computed > kUnitsPerYen || computed - *s->tax > kUnitsPerYen)) {
    options_.notes->Add(file_.name(), record_.line, s->tax_column + 1,
                        Say("the tax {0} yen differs from {1} yen computed at {2}%; the file's "
                            "figure is kept",
                            u8"税額 {0} 円が {2}% で計算した {1} 円と違います。ファイルの額の"
                            u8"ままにします",
                            {FormatYenForPeople(*s->tax), FormatYenForPeople(computed),
                             std::to_string(s->category.rate)}));
  }
  if (!excludes_tax && std::llabs(*s->tax) > std::llabs(*s->amount)) {
    Bad(s->tax_column, Say("the tax is larger than the amount that holds it",
                           u8"税額がそれを含む金額より大きいです"));
    row->unreadable = true;
    return;
  }
  if (!excludes_tax) *s->amount -= *s->tax;
  s->taxed = true;
}

void JournalReader::ReadSides(JournalRow* row) {
  SideState sides[2];
  sides[0].code = &row->debit_code, sides[0].amount = &row->debit_amount;
  sides[0].tax = &row->debit_tax;
  sides[1].code = &row->credit_code, sides[1].amount = &row->credit_amount;
  sides[1].tax = &row->credit_tax;
  TaxCategory line_category;
  const int line_side = LineCategorySide(row, &line_category);
  bool excludes_tax = options_.amounts_exclude_tax;
  if (!Field(c_.method).empty() && !ParseTaxMethod(Field(c_.method), &excludes_tax)) {
    Bad(c_.method,
        Say("tax method '{0}' is not \xE5\x86\x85\xE7\xA8\x8E (\xE7\xA8\x8E\xE8\xBE\xBC) or "
            "\xE5\xA4\x96\xE7\xA8\x8E (\xE7\xA8\x8E\xE6\x8A\x9C)",
            u8"税計算区分 '{0}' が 内税 (税込) でも 外税 (税抜) でもありません",
            {TextForMessage(Field(c_.method))}));
    row->unreadable = true;
  }
  std::int64_t shared_amount = 0; // the line's one amount column, read once
  if (!ParseYenAmount(Field(c_.amount), &shared_amount, &why_)) {
    Bad(c_.amount, AmountRefusal(Field(c_.amount), why_));
    row->unreadable = true;
  }
  for (int side = 0; side < 2; ++side) {
    const SideColumns& c = c_.sides[side];
    SideState& s = sides[side];
    ReadAccount(c, &s);
    // The line's one tax (税額) is the tax of the side its category takes.
    s.tax_column = side == line_side && Field(c.tax).empty() ? c_.tax : c.tax;
    ReadAmounts(c, shared_amount, &s, row);
    s.category_column = c.category;
    if (!Field(c.category).empty()) {
      s.has_category = CategoryOf(side, Field(c.category), &s.category);
      if (!s.has_category) {
        Bad(c.category, TaxCategoryRefusal(Field(c.category)));
        row->unreadable = true;
      }
    } else if (line_side == side) {
      s.category = line_category;
      s.has_category = true;
      s.category_column = c_.category;
    }
    ApplyTax(excludes_tax, &s, row);
  }
  if (!Field(c_.tax).empty() && line_side < 0 && !row->unreadable)
    Bad(c_.tax, Say("a tax on a line with no tax category",
                    u8"税区分のない行に税額があります"));
  // One amount for both sides, written without the tax: the side that
  // bears none takes the amount and the tax.
  if (!row->unreadable && excludes_tax && sides[0].amount_shared && sides[1].amount_shared &&
      sides[0].taxed != sides[1].taxed) {
    const SideState& taxed = sides[0].taxed ? sides[0] : sides[1];
    SideState& other = sides[0].taxed ? sides[1] : sides[0];
    if (*other.amount != 0) *other.amount += *taxed.tax;
  }
  if (sides[0].account.empty() && sides[1].account.empty())
    Bad(c_.sides[0].account, Say("the line names no account on either side",
                                 u8"行の借方にも貸方にも勘定科目がありません"));
}

void JournalReader::ReadDescription(JournalRow* row) {
  row->description = WithoutFormulaGuard(Field(c_.description));
  const DescriptionCleaning cleaning = CleanDescription(&row->description, &why_);
  if (cleaning == DescriptionCleaning::kRefused)
    Bad(c_.description, Say("the description {0}", u8"摘要が{0}", {why_}));
  else if (cleaning == DescriptionCleaning::kJoined && options_.joined_descriptions)
    options_.joined_descriptions->Add(record_.line);
  if (cleaning != DescriptionCleaning::kRefused && !good_texts_.count(row->description)) {
    std::string character;
    if (!FitsShiftJis(row->description, &character))
      Bad(c_.description, Say("the description cannot be written in Shift_JIS: {0}",
                              u8"摘要を Shift_JIS で書けません: {0}", {character}));
    else if (good_texts_.size() < 100000)
      good_texts_.insert(row->description);
  }
}

void JournalReader::Flush() {
  if (!entry_.empty()) sink_->Entry(file_.name(), entry_id_, entry_);
  for (JournalRow& row : entry_) spare_texts_.push_back(std::move(row.description));
  entry_.clear();
}

} // namespace

void ReadJournalCsv(CsvFile& file, AccountFinder& accounts, EntrySink* sink,
                    ImportProblems* problems, const JournalReadOptions& options) {
  JournalReader(file, accounts, sink, problems, options).Read();
}

bool WriteJournalCsv(BooksDb& db, std::int64_t data_no, const FiscalPeriod& period,
                     std::ostream& out, std::string* error) {
  SqlStatement lines(error);
  if (!lines.Prepare(db,
                     "SELECT entry_id, entry_no, date, slot, debit_code, debit_amount, debit_tax, "
                     "credit_code, credit_amount, credit_tax, description FROM journal_line "
                     "WHERE data_no = ?1 ORDER BY entry_id, line_no",
                     data_no))
    return false;
  out << "entry,id,date,slot,debit,debit_amount,debit_tax,credit,credit_amount,credit_tax,"
         "description\r\n";
  std::int64_t last_id = -1;
  return lines.ForEachRow([&](const BooksStatement& row) {
    const std::int64_t id = row.Int64(0), date = row.Int64(2), slot = row.Int64(3);
    std::string slot_text;
    if (slot == kYearEndSlot)
      slot_text = "year-end";
    else if (slot == kInterimSlot)
      slot_text = "interim";
    else if (!IsCalendarDate(date) || slot != period.MonthPosition(date))
      slot_text = std::to_string(slot);
    // Later lines of an entry leave entry and id empty: the entry goes on.
    if (id != last_id)
      out << row.Int64(1) << ',' << id;
    else
      out << ',';
    out << ',' << FormatBookDate(date) << ',' << slot_text << ',' << CodeText(row.Int64(4)) << ','
        << AmountText(row.Int64(5)) << ',' << AmountText(row.Int64(6)) << ','
        << CodeText(row.Int64(7)) << ',' << AmountText(row.Int64(8)) << ','
        << AmountText(row.Int64(9)) << ',' << CsvTextField(row.Text(10)) << "\r\n";
    last_id = id;
  });
}

} // namespace stmtlink

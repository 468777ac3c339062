#include "tools/books/journal_csv.h"

#include <cstdlib>
#include <unordered_set>

#include "tools/books/book_values.h"
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
    U(u8"debit_tax|借方税額|借方消費税額"),
    U(u8"credit|貸方科目|貸方勘定科目"),
    U(u8"credit_sub|貸方補助|貸方補助科目"),
    U(u8"credit_amount|貸方金額"),
    U(u8"credit_tax_category|貸方税区分"),
    U(u8"credit_tax|貸方税額|貸方消費税額"),
    U(u8"amount|金額"),
    U(u8"tax_category|税区分"),
    U(u8"tax_method|税計算区分"),
    U(u8"description|摘要"),
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

// One side of a line as the file gives it, and as the books will hold it.
struct SideFields {
  int account, sub, amount, category, tax;
  std::int64_t *code, *amount_out, *tax_out;
  bool natural_for_sales; // the credit side
  bool amount_shared = false; // read from the line's one amount column
  bool taxed = false;
};

} // namespace

void ReadJournalCsv(CsvFile& file, AccountFinder& accounts, EntrySink* sink,
                    ImportProblems* problems, const JournalReadOptions& options) {
  CsvRecord record;
  CsvColumns columns;
  if (!file.Next(&record, problems)) {
    problems->Add(file.name() + ": the file is empty");
    return;
  }
  if (!columns.Read(file, record, kColumns, problems)) return;
  for (std::string_view required : {"date", "debit", "credit"})
    if (!columns.Has(required)) {
      std::string spellings;
      for (std::string_view k : kColumns)
        if (k.substr(0, k.find('|')) == required) spellings = std::string(k);
      for (char& c : spellings)
        if (c == '|') c = '/';
      problems->Add(file.name(), record.line, 0,
                    "the header has no column '" + std::string(required) + "' (" + spellings +
                        ")");
      return;
    }
  const int c_entry = columns.Index("entry"), c_id = columns.Index("id"),
            c_date = columns.Index("date"), c_slot = columns.Index("slot"),
            c_amount = columns.Index("amount"), c_category = columns.Index("tax_category"),
            c_method = columns.Index("tax_method"), c_description = columns.Index("description");
  int c_side[2][5]; // account, sub, amount, tax category, tax of the debit and the credit side
  for (int side = 0; side < 2; ++side) {
    const std::string name = side == 0 ? "debit" : "credit";
    int i = 0;
    for (const char* suffix : {"", "_sub", "_amount", "_tax_category", "_tax"})
      c_side[side][i++] = columns.Index(name + suffix);
  }

  std::vector<JournalRow> entry;
  // The entry and id fields of the entry's first line; keyed marks that
  // one has been read.
  std::string entry_key_no, entry_key_id;
  bool keyed = false;
  std::int64_t entry_id = 0, numbered = 0;
  // The descriptions' buffers of earlier entries, reused line after line.
  std::vector<std::string> spare_texts;
  auto flush = [&] {
    if (!entry.empty()) sink->Entry(file.name(), entry_id, entry);
    for (JournalRow& row : entry) spare_texts.push_back(std::move(row.description));
    entry.clear();
  };
  std::string why;
  std::unordered_set<std::string> good_texts; // descriptions repeat; check each once
  // A column's category is most often the one of the line before: the
  // last text read and its category, for the line's and each side's column.
  struct LastCategory {
    std::string text;
    TaxCategory category;
    bool known = false;
  } last_category[3];
  auto category_of = [&](int slot, std::string_view text, TaxCategory* out) {
    LastCategory& last = last_category[slot];
    if (text != last.text) {
      last.text = text;
      last.known = ParseTaxCategory(text, &last.category);
    }
    *out = last.category;
    return last.known;
  };
  while (file.Next(&record, problems)) {
    if (!columns.Fits(file, record, problems)) continue;
    const long line = record.line;
    auto field = [&](int index) { return CsvColumns::Field(record, index); };
    auto bad = [&](int index, const std::string& message) {
      problems->Add(file.name(), line, index + 1, message);
    };
    if (c_entry == CsvColumns::kAbsent) {
      // No entry numbers: each line is an entry of its own.
      flush();
      entry_id = 0;
      if (c_id != CsvColumns::kAbsent && !field(c_id).empty() &&
          !ParseCount(field(c_id), 0x7FFFFFFF, &entry_id))
        bad(c_id, "id '" + TextForMessage(field(c_id)) + "' is not a number from 1 to 2147483647");
    } else if (!field(c_entry).empty() &&
               (!keyed || field(c_entry) != entry_key_no || field(c_id) != entry_key_id)) {
      flush();
      entry_key_no = field(c_entry);
      entry_key_id = field(c_id);
      keyed = true;
      entry_id = 0;
      if (c_id != CsvColumns::kAbsent && !ParseCount(field(c_id), 0x7FFFFFFF, &entry_id))
        bad(c_id, "id '" + TextForMessage(field(c_id)) + "' is not a number from 1 to 2147483647");
    } else if (entry.empty() && field(c_entry).empty() && !keyed) {
      bad(c_entry, "the first line of the journal has no entry number");
    }
    JournalRow row;
    if (!spare_texts.empty()) {
      row.description = std::move(spare_texts.back());
      spare_texts.pop_back();
    }
    row.source_line = line;
    if (!field(c_entry).empty() && !ParseCount(field(c_entry), 0x7FFFFFFF, &row.entry_no))
      bad(c_entry,
          "entry '" + TextForMessage(field(c_entry)) + "' is not a number from 1 to 2147483647");
    if (field(c_entry).empty() && !entry.empty()) row.entry_no = entry.front().entry_no;
    if (c_entry == CsvColumns::kAbsent) row.entry_no = ++numbered;

    const std::string_view slot = field(c_slot);
    row.slot = -1; // from the date
    if (!slot.empty() && !ParseSlot(slot, &row.slot))
      bad(c_slot,
          "slot '" + TextForMessage(slot) + "' is not year-end, interim, opening or 1 to 14");
    if (!ParseBookDate(field(c_date), &row.date)) {
      if (!(row.slot == kOpeningSlot && field(c_date).empty()))
        bad(c_date, "date '" + TextForMessage(field(c_date)) + "' is not a calendar day (" +
                        kDateForms + ")");
    } else if (sink->period().start == 0) {
      sink->SetPeriodFrom(row.date);
    }

    SideFields sides[] = {
        {c_side[0][0], c_side[0][1], c_side[0][2], c_side[0][3], c_side[0][4], &row.debit_code,
         &row.debit_amount, &row.debit_tax, false},
        {c_side[1][0], c_side[1][1], c_side[1][2], c_side[1][3], c_side[1][4], &row.credit_code,
         &row.credit_amount, &row.credit_tax, true},
    };
    // The line's one tax category goes to the side it belongs to.
    TaxCategory line_category;
    int line_category_side = -1;
    if (!field(c_category).empty()) {
      if (!category_of(2, field(c_category), &line_category)) {
        bad(c_category, TaxCategoryRefusal(field(c_category)));
        row.unreadable = true;
      } else {
        line_category_side = line_category.sales ? 1 : 0;
        if (field(sides[line_category_side].account).empty() &&
            !field(sides[1 - line_category_side].account).empty())
          line_category_side = 1 - line_category_side;
      }
    }
    bool excludes_tax = options.amounts_exclude_tax;
    if (!field(c_method).empty() && !ParseTaxMethod(field(c_method), &excludes_tax)) {
      bad(c_method, "tax method '" + TextForMessage(field(c_method)) +
                        U(u8"' is not 内税 (税込) or 外税 (税抜)"));
      row.unreadable = true;
    }

    std::int64_t shared_amount = 0; // the line's one amount column, read once
    if (!ParseYenAmount(field(c_amount), &shared_amount, &why)) {
      bad(c_amount, "amount '" + TextForMessage(field(c_amount)) + "': " + why);
      row.unreadable = true;
    }
    for (int side = 0; side < 2; ++side) {
      SideFields& s = sides[side];
      const std::string_view account = WithoutFormulaGuard(WithoutOuterSpaces(field(s.account)));
      if (!account.empty() && !accounts.Find(account, s.code, &why)) {
        bad(s.account, why);
      } else if (!field(s.sub).empty()) {
        const std::string_view sub = WithoutFormulaGuard(WithoutOuterSpaces(field(s.sub)));
        if (account.empty())
          bad(s.sub, "a sub-account with no account on its side");
        else if (accounts.FindSub(*s.code, sub, s.code, &why))
          ;
        else if (!options.create_sub_accounts || why.rfind("unknown", 0) != 0)
          bad(s.sub, why);
        else if (!FitsReportText(sub, &why))
          bad(s.sub, "the sub-account name " + why);
        else if (!accounts.AddSub(*s.code, sub, s.code, &why))
          bad(s.sub, why);
      }
      if (s.amount == CsvColumns::kAbsent) {
        s.amount_shared = true;
        *s.amount_out = account.empty() ? 0 : shared_amount;
      } else if (!ParseYenAmount(field(s.amount), s.amount_out, &why)) {
        bad(s.amount, "amount '" + TextForMessage(field(s.amount)) + "': " + why);
        row.unreadable = true;
      } else if (*s.amount_out != 0 && account.empty()) {
        bad(s.amount, "an amount with no account on its side");
      }
      if (!ParseYenAmount(field(s.tax), s.tax_out, &why)) {
        bad(s.tax, "amount '" + TextForMessage(field(s.tax)) + "': " + why);
        row.unreadable = true;
      } else if (*s.tax_out != 0 && account.empty()) {
        bad(s.tax, "an amount with no account on its side");
      }

      TaxCategory category;
      bool has_category = false;
      if (!field(s.category).empty()) {
        has_category = category_of(side, field(s.category), &category);
        if (!has_category) {
          bad(s.category, TaxCategoryRefusal(field(s.category)));
          row.unreadable = true;
        }
      } else if (line_category_side == side) {
        category = line_category;
        has_category = true;
      }
      if (!has_category || row.unreadable) continue;
      if (account.empty()) {
        bad(field(s.category).empty() ? c_category : s.category,
            "a tax category with no account on its side");
        continue;
      }
      const bool tax_given = !field(s.tax).empty();
      if (category.rate == 0) {
        if (*s.tax_out != 0)
          bad(s.tax, "a tax on a line whose category bears none");
        continue;
      }
      const std::int64_t computed = TaxOf(*s.amount_out, category.rate, !excludes_tax,
                                          options.rounding);
      if (!tax_given) {
        *s.tax_out = computed;
      } else if (options.notes && (*s.tax_out - computed > kUnitsPerYen ||
                                   computed - *s.tax_out > kUnitsPerYen)) {
        options.notes->Add(file.name(), line, s.tax + 1,
                           "the tax " + FormatYenForPeople(*s.tax_out) + " yen differs from " +
                               FormatYenForPeople(computed) + " yen computed at " +
                               std::to_string(category.rate) + "%; the file's figure is kept");
      }
      if (!excludes_tax && std::llabs(*s.tax_out) > std::llabs(*s.amount_out)) {
        bad(s.tax, "the tax is larger than the amount that holds it");
        row.unreadable = true;
        continue;
      }
      if (!excludes_tax) *s.amount_out -= *s.tax_out;
      s.taxed = true;
    }
    // One amount for both sides, written without the tax: the side that
    // bears none takes the amount and the tax.
    if (!row.unreadable && excludes_tax && sides[0].amount_shared && sides[1].amount_shared &&
        sides[0].taxed != sides[1].taxed) {
      const SideFields& taxed = sides[0].taxed ? sides[0] : sides[1];
      SideFields& other = sides[0].taxed ? sides[1] : sides[0];
      if (*other.amount_out != 0) *other.amount_out += *taxed.tax_out;
    }
    if (field(sides[0].account).empty() && field(sides[1].account).empty())
      bad(sides[0].account, "the line names no account on either side");
    row.description = WithoutFormulaGuard(field(c_description));
    const DescriptionCleaning cleaning = CleanDescription(&row.description, &why);
    if (cleaning == DescriptionCleaning::kRefused)
      bad(c_description, "the description " + why);
    else if (cleaning == DescriptionCleaning::kJoined && options.joined_descriptions)
      options.joined_descriptions->Add(line);
    if (cleaning != DescriptionCleaning::kRefused && !good_texts.count(row.description)) {
      std::string character;
      if (!FitsShiftJis(row.description, &character))
        bad(c_description, "the description cannot be written in Shift_JIS: " + character);
      else if (good_texts.size() < 100000)
        good_texts.insert(row.description);
    }
    entry.push_back(std::move(row));
  }
  flush();
}

bool WriteJournalCsv(BooksDb& db, std::int64_t data_no, const FiscalPeriod& period,
                     std::ostream& out, std::string* error) {
  BooksStatement rows;
  if (!db.Prepare("SELECT entry_id, entry_no, date, slot, debit_code, debit_amount, debit_tax, "
                  "credit_code, credit_amount, credit_tax, description FROM journal_line "
                  "WHERE data_no = ?1 ORDER BY entry_id, line_no",
                  &rows, error) ||
      !rows.BindInt64(1, data_no, error))
    return false;
  out << "entry,id,date,slot,debit,debit_amount,debit_tax,credit,credit_amount,credit_tax,"
         "description\r\n";
  std::int64_t last_id = -1;
  for (;;) {
    const BooksStatement::Step step = rows.Next(error);
    if (step == BooksStatement::Step::kError) return false;
    if (step == BooksStatement::Step::kDone) break;
    const std::int64_t id = rows.Int64(0), date = rows.Int64(2), slot = rows.Int64(3);
    std::string slot_text;
    if (slot == kYearEndSlot)
      slot_text = "year-end";
    else if (slot == kInterimSlot)
      slot_text = "interim";
    else if (!IsCalendarDate(date) || slot != period.MonthPosition(date))
      slot_text = std::to_string(slot);
    // Later lines of an entry leave entry and id empty: the entry goes on.
    if (id != last_id)
      out << rows.Int64(1) << ',' << id;
    else
      out << ',';
    out << ',' << FormatBookDate(date) << ',' << slot_text << ',' << CodeText(rows.Int64(4)) << ','
        << AmountText(rows.Int64(5)) << ',' << AmountText(rows.Int64(6)) << ','
        << CodeText(rows.Int64(7)) << ',' << AmountText(rows.Int64(8)) << ','
        << AmountText(rows.Int64(9)) << ',' << CsvTextField(rows.Text(10)) << "\r\n";
    last_id = id;
  }
  return true;
}

} // namespace stmtlink

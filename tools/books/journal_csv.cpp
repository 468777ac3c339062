#include "tools/books/journal_csv.h"

#include <cstdlib>
#include <unordered_set>

#include "tools/books/book_values.h"

namespace stmtlink {
namespace {

const std::vector<std::string_view> kColumns = {
    "entry",     "id",     "date",          "slot",       "debit",      "debit_amount",
    "debit_tax", "credit", "credit_amount", "credit_tax", "description"};

bool ParseCount(std::string_view text, std::int64_t most, std::int64_t* out) {
  if (text.empty() || text.size() > 10 ||
      text.find_first_not_of("0123456789") != std::string_view::npos)
    return false;
  *out = std::atoll(std::string(text).c_str());
  return *out >= 1 && *out <= most;
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
    if (field == "debit_amount" || field == "debit amount") return true;
  return false;
}

void ReadJournalCsv(CsvFile& file, const AccountFinder& accounts, EntrySink* sink,
                    ImportProblems* problems) {
  CsvRecord record;
  CsvColumns columns;
  if (!file.Next(&record, problems)) {
    problems->Add(file.name() + ": the file is empty");
    return;
  }
  if (!columns.Read(file, record, kColumns, problems)) return;
  for (std::string_view required : {"entry", "date", "debit", "credit"})
    if (!columns.Has(required)) {
      problems->Add(file.name(), record.line, 0,
                    "the header has no column '" + std::string(required) + "'");
      return;
    }
  const int c_entry = columns.Index("entry"), c_id = columns.Index("id"),
            c_date = columns.Index("date"), c_slot = columns.Index("slot"),
            c_debit = columns.Index("debit"), c_debit_amount = columns.Index("debit_amount"),
            c_debit_tax = columns.Index("debit_tax"), c_credit = columns.Index("credit"),
            c_credit_amount = columns.Index("credit_amount"),
            c_credit_tax = columns.Index("credit_tax"),
            c_description = columns.Index("description");

  std::vector<JournalRow> entry;
  std::string entry_key; // the entry and id fields of the entry's first line
  std::int64_t entry_id = 0;
  auto flush = [&] {
    if (!entry.empty()) sink->Entry(file.name(), entry_id, entry);
    entry.clear();
  };
  std::string why;
  std::unordered_set<std::string> good_texts; // descriptions repeat; check each once
  while (file.Next(&record, problems)) {
    if (!columns.Fits(file, record, problems)) continue;
    const long line = record.line;
    auto field = [&](int index) { return CsvColumns::Field(record, index); };
    auto bad = [&](int index, const std::string& message) {
      problems->Add(file.name(), line, index + 1, message);
    };
    const std::string key = std::string(field(c_entry)) + "," + std::string(field(c_id));
    if (!field(c_entry).empty() && key != entry_key) {
      flush();
      entry_key = key;
      entry_id = 0;
      if (c_id != CsvColumns::kAbsent && !ParseCount(field(c_id), 0x7FFFFFFF, &entry_id))
        bad(c_id, "id '" + std::string(field(c_id)) + "' is not a number from 1 to 2147483647");
    } else if (entry.empty() && field(c_entry).empty() && entry_key.empty()) {
      bad(c_entry, "the first line of the journal has no entry number");
    }
    JournalRow row;
    row.source_line = line;
    if (!field(c_entry).empty() && !ParseCount(field(c_entry), 0x7FFFFFFF, &row.entry_no))
      bad(c_entry,
          "entry '" + std::string(field(c_entry)) + "' is not a number from 1 to 2147483647");
    if (field(c_entry).empty() && !entry.empty()) row.entry_no = entry.front().entry_no;

    const std::string_view slot = field(c_slot);
    row.slot = -1; // from the date
    if (!slot.empty() && !ParseSlot(slot, &row.slot))
      bad(c_slot, "slot '" + std::string(slot) + "' is not year-end, interim, opening or 1 to 14");
    if (!ParseBookDate(field(c_date), &row.date)) {
      if (!(row.slot == kOpeningSlot && field(c_date).empty()))
        bad(c_date, "date '" + std::string(field(c_date)) +
                        "' is not a calendar day written as 2025-04-01");
    } else if (sink->period().start == 0) {
      sink->SetPeriodFrom(row.date);
    }

    struct Side {
      int account, amount, tax;
      std::int64_t *code, *amount_out, *tax_out;
    } sides[] = {
        {c_debit, c_debit_amount, c_debit_tax, &row.debit_code, &row.debit_amount, &row.debit_tax},
        {c_credit, c_credit_amount, c_credit_tax, &row.credit_code, &row.credit_amount,
         &row.credit_tax},
    };
    for (const Side& s : sides) {
      const std::string_view account = field(s.account);
      if (!account.empty() && !accounts.Find(account, s.code, &why)) bad(s.account, why);
      for (auto [index, out] : {std::pair{s.amount, s.amount_out}, std::pair{s.tax, s.tax_out}}) {
        if (!ParseYenAmount(field(index), out, &why))
          bad(index, "amount '" + std::string(field(index)) + "': " + why);
        else if (*out != 0 && account.empty())
          bad(index, "an amount with no account on its side");
      }
    }
    if (field(c_debit).empty() && field(c_credit).empty())
      bad(c_debit, "the line names no account on either side");
    row.description = field(c_description);
    if (!good_texts.count(row.description)) {
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
        << AmountText(rows.Int64(9)) << ',' << CsvField(rows.Text(10)) << "\r\n";
    last_id = id;
  }
  return true;
}

} // namespace stmtlink

// Reading the CSV files of an import: the whole file is decoded to UTF-8
// first (UTF-8 with or without a byte-order mark, or CP932; detected, or
// as given), then walked record by record. Records follow RFC 4180: commas,
// double quotes around a field that holds commas, quotes or line breaks,
// "" for a quote inside one; CR LF or LF ends a record. Empty rows (blank
// lines, or only separators and spaces, as a spreadsheet leaves them) are
// skipped wherever they are, and counted. The first record is the header,
// naming the columns.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "tools/books/import_problems.h"

namespace stmtlink {

enum class TextEncoding { kAuto, kUtf8, kCp932 };

// "auto", "utf-8" (or "utf8"), "cp932" (or "shift_jis", "sjis").
bool ParseTextEncoding(std::string_view name, TextEncoding* out);

// Valid UTF-8 (no overlong forms, no surrogates); on false *bad_offset is
// the first offending byte.
bool IsValidUtf8(std::string_view text, std::size_t* bad_offset);

struct CsvRecord {
  long line = 0;                   // physical line where the record starts
  std::vector<std::string> fields; // UTF-8, unquoted
};

class CsvFile {
 public:
  // Reads and decodes path; false with the reason added to *problems.
  static bool Load(const std::string& path, TextEncoding encoding, CsvFile* out,
                   ImportProblems* problems);
  // For tests and for text already in memory (UTF-8).
  static CsvFile FromText(std::string name, std::string utf8);

  const std::string& name() const { return name_; }

  // The next record into *record (its fields vector is reused); false at the
  // end. An unterminated quote is added to *problems and ends the walk.
  bool Next(CsvRecord* record, ImportProblems* problems);
  // Back to the first record.
  void Rewind() {
    pos_ = 0;
    line_ = 1;
    empty_rows_ = 0;
  }
  // The empty rows skipped so far (blank lines aside).
  long empty_rows() const { return empty_rows_; }

 private:
  bool NextRecord(CsvRecord* record, ImportProblems* problems);

  std::string name_;
  std::string text_;
  std::size_t pos_ = 0;
  long line_ = 1;
  long empty_rows_ = 0;
};

// One field as written: quoted (with "" for a quote) only when it holds a
// comma, a quote, a line break or leading or trailing spaces.
std::string CsvField(std::string_view text);

// A text cell (a name, a description; never an amount, a code or a date)
// as the export writes it: a spreadsheet would take one that starts with
// =, +, -, @, a tab or a CR for a formula, so it gets a leading
// apostrophe; so does one that starts with an apostrophe before one of
// those or before another apostrophe. WithoutFormulaGuard, which the import
// applies to its text cells, then gives every text back exactly.
std::string CsvTextField(std::string_view text);
// One leading apostrophe before =, +, -, @, ', a tab or a CR is dropped.
std::string_view WithoutFormulaGuard(std::string_view field);

// What a reader does with a column it does not know.
enum class UnknownColumns {
  kRefused, // a problem
  kNoted,   // skipped, and kept in unread() for a notice
  kIgnored, // skipped quietly (files another program writes, whose later
            // versions may add columns)
};

// The header's column names, matched without regard to case, spaces of
// either width, hyphens or underscores against the names a reader knows. A
// known column may have several spellings, "date|取引日|日付": the first is
// its name for Index() and Has(), the others are read as the same column.
// A header that names no known column at all is reported once, as a
// missing header line.
class CsvColumns {
 public:
  static constexpr int kAbsent = -1;
  // Reads the header record. Repeated names are problems. An unknown name
  // within a character or two of a known column that the header lacks is a
  // typo, refused with that column's spelling (unless kIgnored); any other
  // unknown name is treated as unknown says.
  bool Read(const CsvFile& file, const CsvRecord& header,
            const std::vector<std::string_view>& known, ImportProblems* problems,
            UnknownColumns unknown = UnknownColumns::kRefused);
  // The headings skipped under kNoted, as written.
  const std::vector<std::string>& unread() const { return unread_; }
  // The field's index of a known column, kAbsent when the header lacks it.
  int Index(std::string_view name) const;
  bool Has(std::string_view name) const { return Index(name) != kAbsent; }
  // False, with a problem, when the record has more fields than the header:
  // most often an amount with thousands separators left unquoted.
  bool Fits(const CsvFile& file, const CsvRecord& record, ImportProblems* problems) const;
  // The field at a column index, "" when the column or the field is missing.
  static std::string_view Field(const CsvRecord& record, int index) {
    return index >= 0 && static_cast<std::size_t>(index) < record.fields.size()
               ? std::string_view(record.fields[index])
               : std::string_view();
  }

 private:
  std::vector<std::pair<std::string, int>> columns_; // normalized name, index
  std::size_t width_ = 0;                            // fields of the header
  std::vector<std::string> unread_;
};

} // namespace stmtlink

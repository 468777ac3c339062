// What a reader of one of the import's CSV files keeps while it walks the
// records: the file, the problems, the header's columns and the record at
// hand; the field of a column, and a problem named by its column.
#pragma once

#include <string>
#include <string_view>

#include "tools/books/csv_file.h"
#include "tools/books/import_problems.h"

namespace stmtlink {

class CsvRecordReader {
 protected:
  CsvRecordReader(CsvFile& file, ImportProblems* problems) : file_(file), problems_(problems) {}

  // The next record that fits the header into record_ (one that does not
  // is a problem, and skipped); false at the end.
  bool NextRecord() {
    while (file_.Next(&record_, problems_))
      if (columns_.Fits(file_, record_, problems_)) return true;
    return false;
  }
  std::string_view Field(int index) const { return CsvColumns::Field(record_, index); }
  // A problem of the record at hand, in the column at index.
  void Bad(int index, const std::string& message) {
    problems_->Add(file_.name(), record_.line, index + 1, message);
  }

  CsvFile& file_;
  ImportProblems* problems_;
  CsvColumns columns_;
  CsvRecord record_;
};

} // namespace stmtlink

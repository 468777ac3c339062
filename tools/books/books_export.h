// `stmtlink-books export`: one data set of a home's books as the CSV files
// that the import reads (chart.csv, journal.csv, opening.csv, company.csv,
// notes.csv), so that importing them gives books with the same report.
// Accounts are written in master order with their codes, the journal in
// entry order with codes, amounts exact to 1/10,000 yen.
#pragma once

#include <cstdint>
#include <string>

namespace stmtlink {

struct ExportOptions {
  std::string home;
  std::string folder;       // made when missing
  std::int64_t data_no = 0; // 0: the data set host.ini selects, else the first
  bool replace = false;     // overwrite CSV files already in the folder
};

// The names of the files the export writes, in the folder.
inline constexpr const char* kExportFiles[] = {"company.csv", "chart.csv", "opening.csv",
                                               "journal.csv", "notes.csv"};

// False with *error set; a refusal (files present) writes nothing.
bool ExportBooks(const ExportOptions& options, std::string* summary, std::string* error);

} // namespace stmtlink

#include "tools/books/sample_books.h"

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <memory>

#include "host/books_db.h"
#include "host/books_schema.h"
#include "tools/books/sample_host_ini.h"
#include "tools/books/sample_tables.h"

namespace stmtlink {
namespace {

namespace fs = std::filesystem;

bool MakeFolder(const fs::path& folder, std::string* error) {
  std::error_code ec;
  fs::create_directories(folder, ec);
  if (ec) {
    *error = "cannot create folder " + folder.string() + ": " + ec.message();
    return false;
  }
  return true;
}

bool RemoveIfPresent(const fs::path& file, std::string* error) {
  std::error_code ec;
  fs::remove(file, ec);
  if (ec) {
    *error = "cannot remove " + file.string() + ": " + ec.message();
    return false;
  }
  return true;
}

bool MoveInto(const fs::path& from, const fs::path& to, std::string* error) {
  std::error_code ec;
  fs::rename(from, to, ec);
  if (ec) {
    *error = "cannot rename " + from.string() + " to " + to.string() + ": " + ec.message();
    return false;
  }
  return true;
}

// The table writers in order; a new table of the books adds its writer here.
bool WriteTables(SampleContext& context, std::string* error) {
  return WriteSampleDataSets(context, error) && WriteSampleEras(context, error) &&
         WriteSampleAccounts(context, error) && WriteSampleOpeningBalances(context, error) &&
         WriteSampleJournal(context, error) && WriteSampleNotes(context, error);
}

bool WriteBooks(const SampleOptions& options, const fs::path& file, std::string* error) {
  if (!RemoveIfPresent(file, error)) return false; // a leftover of a failed run
  std::shared_ptr<BooksDb> db;
  if (!BooksDb::Open(file.string(), BooksDb::Mode::kCreate, &db, error)) return false;
  if (!CreateBooksSchema(db->handle(), error)) return false;
  if (!db->Exec("BEGIN", error)) return false;
  SampleContext context{options, *db, std::mt19937(options.seed), BuildSampleChart(options)};
  if (!WriteTables(context, error)) return false;
  return db->Exec("COMMIT", error);
}

bool WriteTextFile(const fs::path& file, const std::string& text, std::string* error) {
  std::ofstream out(file, std::ios::binary | std::ios::trunc);
  out << text;
  out.close();
  if (!out) {
    *error = "cannot write " + file.string();
    return false;
  }
  return true;
}

} // namespace

SampleStatus WriteSampleHome(const SampleOptions& options, std::string* error) {
  std::string ignored;
  if (!error) error = &ignored;
  if (options.home.empty()) {
    *error = "no host home folder given";
    return SampleStatus::kFailed;
  }
  const fs::path home(options.home);
  const fs::path books = home / "books.db";
  std::error_code ec;
  if (fs::exists(books, ec) && !options.force) {
    *error = books.string() + " already exists; use --force to replace it";
    return SampleStatus::kRefused;
  }
  if (!MakeFolder(home / "drive_c", error)) return SampleStatus::kFailed;
  for (const std::string& folder : SampleAppFolders(options))
    if (!MakeFolder(folder, error)) return SampleStatus::kFailed;

  const fs::path new_books = home / "books.db.new";
  if (!WriteBooks(options, new_books, error)) {
    *error = new_books.string() + ": " + *error;
    fs::remove(new_books, ec);
    return SampleStatus::kFailed;
  }
  const fs::path new_ini = home / "host.ini.new";
  if (!WriteTextFile(new_ini, SampleHostIniText(options), error) ||
      !MoveInto(new_ini, home / "host.ini", error) || !MoveInto(new_books, books, error)) {
    fs::remove(new_ini, ec);
    fs::remove(new_books, ec);
    return SampleStatus::kFailed;
  }
  return SampleStatus::kWritten;
}

} // namespace stmtlink

#include "tools/books/sample_books.h"

#include <filesystem>
#include <memory>

#include "host/substitute/books_db.h"
#include "host/substitute/books_schema.h"
#include "platform/env.h"
#include "platform/replacing_file.h"
#include "tools/books/books_language.h"
#include "tools/books/books_replacement.h"
#include "tools/books/home_lock.h"
#include "tools/books/sample_host_ini.h"
#include "tools/books/sample_tables.h"

namespace stmtlink {
namespace {

namespace fs = std::filesystem;

bool MakeFolder(const fs::path& folder, std::string* error) {
  std::error_code ec;
  fs::create_directories(folder, ec);
  if (ec) {
    *error = Say("cannot create folder {0}: {1}", u8"フォルダ {0} を作れません: {1}",
                 {folder.string(), ec.message()});
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
  std::shared_ptr<BooksDb> db;
  if (!BooksDb::Open(file.string(), BooksDb::Mode::kCreate, &db, error)) return false;
  if (!CreateBooksSchema(db->handle(), error)) return false;
  if (!db->Exec("BEGIN", error)) return false;
  SampleContext context{options, *db, std::mt19937(options.seed), BuildSampleChart(options)};
  if (!WriteTables(context, error)) return false;
  return db->Exec("COMMIT", error);
}

} // namespace

SampleStatus WriteSampleHome(const SampleOptions& options, std::string* error) {
  std::string ignored;
  if (!error) error = &ignored;
  if (options.home.empty()) {
    *error = Say("no host home folder given", u8"ホームのフォルダがありません");
    return SampleStatus::kFailed;
  }
  const fs::path home(options.home);
  HomeLock::Failure failure;
  const std::unique_ptr<HomeLock> lock =
      HomeLock::Acquire(options.home, options.lock_timeout_ms, options.on_wait, &failure, error);
  if (!lock)
    return failure == HomeLock::Failure::kBusy ? SampleStatus::kRefused : SampleStatus::kFailed;
  const fs::path books = home / "books.db";
  std::error_code ec;
  if (fs::exists(books, ec) && !options.force) {
    *error = Say("{0} already exists; use --force to replace it",
                 u8"{0} はもうあります。置き換えるには --force を付けてください", {books.string()});
    return SampleStatus::kRefused;
  }
  if (!MakeFolder(home / "drive_c", error)) return SampleStatus::kFailed;
  for (const std::string& folder : SampleAppFolders(options))
    if (!MakeFolder(folder, error)) return SampleStatus::kFailed;

  RemoveLeftoverBooks(options.home);
  NewBooks fresh;
  if (!PrepareNewBooks(options.home, &fresh, error)) return SampleStatus::kFailed;
  if (!WriteBooks(options, fresh.temporary, error)) {
    *error = fresh.temporary + ": " + *error;
    fs::remove(fresh.temporary, ec);
    return SampleStatus::kFailed;
  }
  const std::string ini = (home / "host.ini").string();
  if (!ReplaceFileContents(Env::Current(), ini, SampleHostIniText(options))) {
    *error = Say("cannot write {0}", u8"{0} を書けません", {ini});
    fs::remove(fresh.temporary, ec);
    return SampleStatus::kFailed;
  }
  if (!PutBooksInPlace(options.home, fresh, error)) return SampleStatus::kFailed;
  return SampleStatus::kWritten;
}

} // namespace stmtlink

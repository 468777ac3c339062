// Writers of one host home at one time: imports and samples started
// together each end in words, one after the other, and leave whole books,
// the books the last one displaced as books.db.bak, and no temporary. A
// writer that finds the home held says that it waits, and gives up in
// words when the other keeps it too long.
#include <gtest/gtest.h>
#include <unistd.h>

#include <atomic>
#include <ctime>
#include <filesystem>
#include <memory>
#include <thread>

#include "host/substitute/books_db.h"
#include "platform/file_lock.h"
#include "tests/support/temp_dir.h"
#include "tests/support/utf8.h"
#include "tools/books/books_import.h"
#include "tools/books/sample_books.h"

namespace stmtlink {
namespace {

using testing::FolderEntries;
using testing::TempDir;
using testing::U8;
using testing::WriteTextFile;
namespace fs = std::filesystem;

ImportOptions LockedHomeImport(const TempDir& dir, const std::string& company) {
  ImportOptions o;
  o.home = dir.File("home");
  o.journal = dir.File("journal.csv");
  o.company_name = company;
  o.period_start = 20250401;
  o.period_end = 20260331;
  o.replace = true;
  return o;
}

// The company of the books in file, "" when they do not open whole.
std::string CompanyOf(const std::string& file) {
  std::shared_ptr<BooksDb> db;
  BooksStatement row;
  std::string error;
  if (!BooksDb::Open(file, BooksDb::Mode::kReadOnly, &db, &error) ||
      !db->Prepare("SELECT company_name FROM data_set", &row, &error) ||
      row.Next(&error) != BooksStatement::Step::kRow)
    return std::string();
  return row.Text(0);
}

std::string Temporaries(const std::string& home) {
  std::string found;
  for (const std::string& name : FolderEntries(home))
    if (name.size() > 4 && (name.rfind(".tmp") == name.size() - 4 ||
                            name.rfind(".new") == name.size() - 4))
      found += name + " ";
  return found;
}

TEST(BooksHomeLock, WritersStartedTogetherEachEndWholeOneAfterTheOther) {
  TempDir dir;
  ASSERT_TRUE(WriteTextFile(dir.File("journal.csv"),
                            U8(u8"entry,date,debit,debit_amount,credit,credit_amount\n"
                               u8"1,2025-04-05,現金,100,売上高,100\n")));
  const std::string home = dir.File("home"), first = "A", second = "B";
  const std::time_t give_up = std::time(nullptr) + 60;
  for (int round = 0; round < 4 && !HasFailure() && std::time(nullptr) < give_up; ++round) {
    std::atomic<int> ready{0};
    ImportStatus status[2] = {ImportStatus::kFailed, ImportStatus::kFailed};
    std::string messages[2];
    auto import = [&](int i) {
      ++ready;
      while (ready.load() < 2) std::this_thread::yield();
      std::string summary;
      status[i] = ImportBooks(LockedHomeImport(dir, i == 0 ? first : second), &summary,
                              &messages[i]);
    };
    std::thread a(import, 0), b(import, 1);
    a.join();
    b.join();
    EXPECT_EQ(ImportStatus::kImported, status[0]) << "round " << round << ": " << messages[0];
    EXPECT_EQ(ImportStatus::kImported, status[1]) << "round " << round << ": " << messages[1];
    // The later import displaced the earlier one's books, whole.
    const std::string books = CompanyOf(home + "/books.db");
    EXPECT_TRUE(books == first || books == second) << "round " << round;
    EXPECT_EQ(books == first ? second : first, CompanyOf(home + "/books.db.bak"))
        << "round " << round;
    EXPECT_EQ("", Temporaries(home)) << "round " << round;
  }
  // A sample that replaces the books while an import runs.
  std::string sample_error, import_messages, summary;
  std::thread sample([&] {
    SampleOptions options;
    options.home = home;
    options.entries = 50;
    options.force = true;
    EXPECT_EQ(SampleStatus::kWritten, WriteSampleHome(options, &sample_error)) << sample_error;
  });
  EXPECT_EQ(ImportStatus::kImported,
            ImportBooks(LockedHomeImport(dir, first), &summary, &import_messages))
      << import_messages;
  sample.join();
  EXPECT_FALSE(CompanyOf(home + "/books.db").empty());
  EXPECT_FALSE(CompanyOf(home + "/books.db.bak").empty());
  EXPECT_EQ("", Temporaries(home));
}

TEST(BooksHomeLock, AWriterThatFindsTheHomeHeldSaysItWaitsAndGivesUpInWords) {
  TempDir dir;
  ASSERT_TRUE(WriteTextFile(dir.File("journal.csv"),
                            U8(u8"entry,date,debit,debit_amount,credit,credit_amount\n"
                               u8"1,2025-04-05,現金,100,売上高,100\n")));
  const std::string home = dir.File("home");
  fs::create_directories(home);
  std::unique_ptr<FileLock> held = FileLock::Acquire(home + "/.stmtlink-books.lock", 0);
  ASSERT_TRUE(held != nullptr);

  std::vector<std::string> told;
  std::atomic<int> waits{0};
  ImportOptions o = LockedHomeImport(dir, "A");
  o.lock_timeout_ms = 300;
  o.on_wait = [&](const std::string& message) {
    told.push_back(message);
    ++waits;
  };
  std::string summary, messages;
  EXPECT_EQ(ImportStatus::kRefused, ImportBooks(o, &summary, &messages));
  EXPECT_EQ("another import or sample into " + home +
                " has not finished within 0.3 seconds; nothing was changed, try again when it "
                "has\n",
            messages);
  ASSERT_EQ(1u, told.size());
  EXPECT_EQ("Waiting for another import or sample into " + home +
                " to finish (at most 0.3 seconds)...",
            told[0]);
  SampleOptions sample;
  sample.home = home;
  sample.lock_timeout_ms = 300;
  std::string error;
  EXPECT_EQ(SampleStatus::kRefused, WriteSampleHome(sample, &error));
  EXPECT_NE(std::string::npos, error.find("has not finished within 0.3 seconds")) << error;
  EXPECT_FALSE(fs::exists(home + "/books.db"));

  // Let go while the import waits: it goes on.
  o.lock_timeout_ms = 20000;
  std::thread release([&] {
    for (int i = 0; i < 2000 && waits.load() < 2; ++i)
      usleep(5 * 1000);
    usleep(50 * 1000);
    held.reset();
  });
  EXPECT_EQ(ImportStatus::kImported, ImportBooks(o, &summary, &messages)) << messages;
  release.join();
  EXPECT_EQ(2u, told.size());
  EXPECT_EQ("A", CompanyOf(home + "/books.db"));
}

} // namespace
} // namespace stmtlink

// The sample home, read back through the host substitute.
#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <string>

#include "host/acc_connect.h"
#include "host/substitute/books_db.h"
#include "host/data_mgr.h"
#include "host/file_mgr.h"
#include "host/set_data.h"
#include "host/set_shohizei.h"
#include "host/sys_user.h"
#include "tests/host/host_test_home.h"
#include "tools/books/sample_books.h"

namespace {

namespace fs = std::filesystem;
using stmtlink::testing::TestHome;
using stmtlink::testing::Utf8;

stmtlink::SampleOptions OptionsFor(const TestHome& home) {
  stmtlink::SampleOptions options;
  options.home = home.dir() + "/nested/home"; // parents are made too
  return options;
}

TEST(SampleBooks, HomeIsReadBackByTheSubstitute) {
  TestHome home;
  stmtlink::SampleOptions options = OptionsFor(home);
  std::string error;
  ASSERT_EQ(stmtlink::SampleStatus::kWritten, stmtlink::WriteSampleHome(options, &error)) << error;
  stmtlink::SetHostHome(options.home);
  stmtlink::ResetHostSubstitute();

  const StDATAINFO* data =
      static_cast<ClSetData*>(ClDataMgr::Inst()->GetSetObject(5, 1))->GetSelectedInfo();
  ASSERT_NE(nullptr, data);
  EXPECT_EQ(1, data->dataNo);
  EXPECT_STREQ("D0000001", data->dataId);
  EXPECT_STREQ("株式会社　山桜商事", data->companyNameText);
  EXPECT_EQ(20250401, data->periodStart);
  EXPECT_EQ(20260331, data->periodEnd);
  EXPECT_EQ(1, data->companyLaw);
  EXPECT_EQ(0, data->introductionMonth);
  EXPECT_EQ(0, data->interimClosing);

  auto* tax = static_cast<ClSetShohizei*>(ClDataMgr::Inst()->GetSetObject(4, 1));
  ASSERT_EQ(0, tax->SetCurDataID(data->dataId));
  StSHOHIZEIINFO record;
  ASSERT_EQ(0, tax->Get(&record));
  EXPECT_EQ(0, record.taxIncluded);

  char user[65];
  ASSERT_EQ(0, ClDataMgr::Inst()->GetSysUserObject()->GetCurUserID(user));
  EXPECT_STREQ("USER01", user);
  EXPECT_EQ(0, ClAccConnect::Inst()->Initiate());
  EXPECT_EQ(0, ClAccConnect::Inst()->ExpSysLink());

  // The application folders are under drive C, and exist.
  for (int type : {0, 1}) {
    std::string folder = ClFileMgr::Inst()->GetAppFolderPath(type);
    ASSERT_EQ(0u, folder.rfind("C:\\", 0)) << folder;
    std::string linux_folder = options.home + "/drive_c/" + folder.substr(3);
    for (char& c : linux_folder)
      if (c == '\\') c = '/';
    EXPECT_TRUE(fs::is_directory(linux_folder)) << linux_folder;
  }
}

TEST(SampleBooks, EraTableIsTheRealOne) {
  TestHome home;
  stmtlink::SampleOptions options = OptionsFor(home);
  ASSERT_EQ(stmtlink::SampleStatus::kWritten, stmtlink::WriteSampleHome(options, nullptr));
  std::shared_ptr<stmtlink::BooksDb> db;
  std::string error;
  ASSERT_TRUE(stmtlink::BooksDb::Open(options.home + "/books.db",
                                      stmtlink::BooksDb::Mode::kReadOnly, &db, &error));
  stmtlink::BooksStatement rows;
  ASSERT_TRUE(db->Prepare("SELECT first_day, name, abbreviation FROM era ORDER BY first_day",
                          &rows, &error));
  std::string eras;
  while (rows.Next(&error) == stmtlink::BooksStatement::Step::kRow)
    eras += std::to_string(rows.Int64(0)) + rows.Text(1) + rows.Text(2) + ";";
  EXPECT_EQ(Utf8(u8"18681023明治M;19120730大正T;19261225昭和S;19890108平成H;20190501令和R;"),
            eras);
}

TEST(SampleBooks, ExistingBooksAreKeptUnlessForced) {
  TestHome home;
  stmtlink::SampleOptions options = OptionsFor(home);
  ASSERT_EQ(stmtlink::SampleStatus::kWritten, stmtlink::WriteSampleHome(options, nullptr));
  const std::string books = options.home + "/books.db";
  fs::resize_file(books, 0); // a mark: a refused run must not touch it

  std::string error;
  EXPECT_EQ(stmtlink::SampleStatus::kRefused, stmtlink::WriteSampleHome(options, &error));
  EXPECT_NE(std::string::npos, error.find("--force")) << error;
  EXPECT_EQ(0u, fs::file_size(books));

  options.force = true;
  ASSERT_EQ(stmtlink::SampleStatus::kWritten, stmtlink::WriteSampleHome(options, &error)) << error;
  EXPECT_GT(fs::file_size(books), 0u);
  EXPECT_FALSE(fs::exists(books + ".new"));
  EXPECT_FALSE(fs::exists(options.home + "/host.ini.new"));
}

TEST(SampleBooks, UnwritableHomeFailsWithAReason) {
  TestHome home;
  // A file where the home folder should be.
  std::string blocker = home.dir() + "/file";
  { std::ofstream(blocker) << "x"; }
  stmtlink::SampleOptions options;
  options.home = blocker + "/home";
  std::string error;
  EXPECT_EQ(stmtlink::SampleStatus::kFailed, stmtlink::WriteSampleHome(options, &error));
  EXPECT_FALSE(error.empty());
}

} // namespace

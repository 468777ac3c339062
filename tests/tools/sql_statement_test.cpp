// The books tool's statement helper: values of each kind bound where they
// belong (also from an offset, as the journal's multi-row insert binds
// them) and read back, and every failure ending as false with a message.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "host/substitute/books_db.h"
#include "tests/support/temp_dir.h"
#include "tools/books/sql_statement.h"

namespace stmtlink {
namespace {

using testing::TempDir;

struct StoredRow {
  std::int64_t number;
  std::string text;
  friend bool operator==(const StoredRow&, const StoredRow&) = default;
};

class SqlStatementTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(BooksDb::Open(dir_.File("books.db"), BooksDb::Mode::kCreate, &db_, &error_))
        << error_;
    ASSERT_TRUE(db_->Exec("CREATE TABLE t (n INTEGER UNIQUE, s TEXT)", &error_)) << error_;
  }

  std::vector<StoredRow> Stored() {
    std::vector<StoredRow> rows;
    SqlStatement query(&error_);
    EXPECT_TRUE(query.Prepare(*db_, "SELECT n, s FROM t WHERE n > ?1 ORDER BY rowid",
                              std::int64_t{-1000}) &&
                query.ForEachRow([&](const BooksStatement& row) {
                  rows.push_back({row.Int64(0), row.Text(1)});
                }))
        << error_;
    return rows;
  }

  TempDir dir_;
  std::shared_ptr<BooksDb> db_;
  std::string error_;
};

TEST_F(SqlStatementTest, ValuesOfEachKindAreBoundInOrderAndReadBack) {
  SqlStatement insert(&error_), pair(&error_);
  ASSERT_TRUE(insert.Prepare(*db_, "INSERT INTO t (n, s) VALUES (?1, ?2)")) << error_;
  const std::string owned = "owned";
  std::string in_place = "in place";
  // A nature code above 2^31 stays positive; the statement is reset
  // between the rows, so each takes its own values.
  EXPECT_TRUE(insert.Run(std::uint32_t{0x80880001u}, owned)) << error_;
  EXPECT_TRUE(insert.Run(-7, "literal")) << error_;
  EXPECT_TRUE(insert.Run(std::int64_t{1} << 40, std::string_view("view"))) << error_;
  EXPECT_TRUE(insert.Run(true, TextInPlace{in_place})) << error_;
  // Two rows to one statement: the second row's values from ?3 on.
  ASSERT_TRUE(pair.Prepare(*db_, "INSERT INTO t (n, s) VALUES (?, ?), (?, ?)")) << error_;
  EXPECT_TRUE(pair.Bind(10, "ten") && pair.BindFrom(2, 20, "twenty") && pair.Run()) << error_;
  const std::vector<StoredRow> expected = {{0x80880001, "owned"}, {-7, "literal"},
                                           {std::int64_t{1} << 40, "view"}, {1, "in place"},
                                           {10, "ten"}, {20, "twenty"}};
  EXPECT_EQ(Stored(), expected);

  SqlStatement one(&error_);
  ASSERT_TRUE(one.Prepare(*db_, "SELECT s FROM t WHERE n = ?1", 20)) << error_;
  ASSERT_EQ(one.Next(), BooksStatement::Step::kRow);
  EXPECT_EQ(one.row().Text(0), "twenty");
  EXPECT_EQ(one.Next(), BooksStatement::Step::kDone);
}

TEST_F(SqlStatementTest, EveryFailureIsFalseWithTheReason) {
  SqlStatement bad(&error_);
  EXPECT_FALSE(bad.Prepare(*db_, "INSERT INTO missing VALUES (?1)", 1));
  EXPECT_NE(error_.find("no such table: missing"), std::string::npos) << error_;

  error_.clear();
  SqlStatement insert(&error_);
  ASSERT_TRUE(insert.Prepare(*db_, "INSERT INTO t (n, s) VALUES (?1, ?2)")) << error_;
  EXPECT_TRUE(insert.Run(1, "first")) << error_;
  EXPECT_FALSE(insert.Run(1, "again"));
  EXPECT_NE(error_.find("UNIQUE constraint failed"), std::string::npos) << error_;

  error_.clear();
  SqlStatement too_many(&error_);
  ASSERT_TRUE(too_many.Prepare(*db_, "INSERT INTO t (n) VALUES (?1)")) << error_;
  EXPECT_FALSE(too_many.Run(2, "no second parameter"));
  EXPECT_FALSE(error_.empty());

  // A statement run as one that writes, which returns a row, fails.
  error_.clear();
  SqlStatement query(&error_);
  ASSERT_TRUE(query.Prepare(*db_, "SELECT n FROM t")) << error_;
  EXPECT_FALSE(query.Run());
  EXPECT_EQ(error_, "a statement that writes returned a row");

  error_.clear();
  SqlStatement unprepared(&error_);
  EXPECT_FALSE(unprepared.ForEachRow([](const BooksStatement&) {}));
  EXPECT_FALSE(error_.empty());
  EXPECT_EQ(Stored(), (std::vector<StoredRow>{{1, "first"}}));
}

} // namespace
} // namespace stmtlink

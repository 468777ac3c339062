// A host home in a fresh temporary folder for one test: made current (with a
// fresh substitute) on construction, removed on destruction. Texts given to
// it are UTF-8 (u8 literals), as the books and host.ini keep them.
#pragma once

#include <gtest/gtest.h>
#include <stdlib.h>

#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <string_view>

#include "host/substitute/books_db.h"
#include "host/substitute/books_schema.h"
#include "host/substitute/substitute_control.h"
#include "platform/host_home.h"

namespace stmtlink::testing {

inline std::string Utf8(std::u8string_view text) {
  return std::string(reinterpret_cast<const char*>(text.data()), text.size());
}

class TestHome {
 public:
  TestHome() {
    char pattern[] = "/tmp/stmtlink-host-XXXXXX";
    const char* made = mkdtemp(pattern);
    if (!made) ADD_FAILURE() << "mkdtemp failed";
    dir_ = made ? made : "/tmp";
    SetHostHome(dir_);
    ResetHostSubstitute();
  }
  ~TestHome() {
    ResetHostSubstitute(); // closes the books before their folder goes
    SetHostHome("");
    std::error_code ec;
    if (dir_ != "/tmp") std::filesystem::remove_all(dir_, ec);
  }
  TestHome(const TestHome&) = delete;
  TestHome& operator=(const TestHome&) = delete;

  const std::string& dir() const { return dir_; }

  void WriteHostIni(std::u8string_view text) const {
    std::ofstream out(dir_ + "/host.ini", std::ios::binary | std::ios::trunc);
    out << Utf8(text);
    if (!out) ADD_FAILURE() << "cannot write host.ini";
  }

  // Creates books.db with the full schema, then runs sql.
  void WriteBooks(std::u8string_view sql) const {
    std::shared_ptr<BooksDb> db;
    std::string error;
    if (!BooksDb::Open(dir_ + "/books.db", BooksDb::Mode::kCreate, &db, &error) ||
        !CreateBooksSchema(db->handle(), &error) || !db->Exec(Utf8(sql).c_str(), &error))
      ADD_FAILURE() << "cannot write books: " << error;
  }

 private:
  std::string dir_;
};

} // namespace stmtlink::testing

#include "tools/books/books_replacement.h"

#include <filesystem>

#include "platform/env.h"
#include "platform/replacing_file.h"
#include "tools/books/books_language.h"

namespace stmtlink {
namespace {

namespace fs = std::filesystem;

const char kBooks[] = "books.db";
const char kBackup[] = "books.db.bak";

// ".books.db.<pid>-<n>.tmp" and ".books.db.bak.<pid>-<n>.tmp", as
// replacing_file.h names its temporaries.
bool IsBooksTemporary(const std::string& name) {
  for (const std::string target : {kBooks, kBackup}) {
    const std::string head = "." + target + ".";
    if (name.rfind(head, 0) != 0 || name.size() <= head.size() + 4 ||
        name.compare(name.size() - 4, 4, ".tmp") != 0)
      continue;
    const std::string number = name.substr(head.size(), name.size() - head.size() - 4);
    if (number.find_first_not_of("0123456789-") == std::string::npos) return true;
  }
  return false;
}

// The present books, kept as books.db.bak: a second name for the same
// file where the file system allows it (no copy of large books), a copy
// elsewhere; in place in one rename either way.
bool KeepBackup(const std::string& home, const std::string& books, std::string* error) {
  Env* env = Env::Current();
  std::string target, temporary;
  if (!PrepareReplacement(env, (fs::path(home) / kBackup).string(), &target, &temporary)) {
    *error = Say("cannot replace {0}", u8"{0} を置き換えられません",
                 {(fs::path(home) / kBackup).string()});
    return false;
  }
  std::error_code ec;
  fs::create_hard_link(books, temporary, ec);
  if (ec) {
    ec.clear();
    fs::copy_file(books, temporary, ec);
  }
  if (ec || !CommitReplacement(env, temporary, target)) {
    fs::remove(temporary, ec);
    *error = Say("cannot keep the old books as {0}", u8"古い帳簿を {0} として残せません", {target});
    return false;
  }
  return true;
}

} // namespace

bool PrepareNewBooks(const std::string& home, NewBooks* books, std::string* error) {
  const std::string path = (fs::path(home) / kBooks).string();
  if (PrepareReplacement(Env::Current(), path, &books->target, &books->temporary)) return true;
  *error = Say("{0} cannot be replaced (not a file, or not writable)",
               u8"{0} を置き換えられません (ファイルでないか、書き込めません)", {path});
  return false;
}

bool PutBooksInPlace(const std::string& home, const NewBooks& books, std::string* error) {
  std::error_code ec;
  if (fs::exists(books.target, ec) && !KeepBackup(home, books.target, error)) {
    fs::remove(books.temporary, ec);
    return false;
  }
  if (CommitReplacement(Env::Current(), books.temporary, books.target)) return true;
  *error = Say("cannot move the new books into place as {0}",
               u8"新しい帳簿を {0} に置けません", {books.target});
  return false;
}

void RemoveLeftoverBooks(const std::string& home) {
  std::error_code ec;
  fs::remove(fs::path(home) / "books.db.new", ec);
  for (fs::directory_iterator it(home, ec), end; !ec && it != end; it.increment(ec)) {
    std::error_code ignored;
    if (IsBooksTemporary(it->path().filename().string())) fs::remove(it->path(), ignored);
  }
}

} // namespace stmtlink

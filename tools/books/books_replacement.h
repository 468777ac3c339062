// New books for a host home take the place of its books.db in one step.
// Their writer writes them under a temporary name beside books.db (its own
// name, so that no other writer's file is ever taken for it); putting them
// in place first keeps the books they displace as books.db.bak, so that
// books.db.bak always holds the books the latest replacement displaced,
// and then renames the new books over books.db: a reader finds whole books
// at every moment. The caller holds the home's lock (home_lock.h).
#pragma once

#include <string>

namespace stmtlink {

struct NewBooks {
  std::string target;    // books.db (a link there followed)
  std::string temporary; // where the writer writes them
};

// False with *error when books.db may not be replaced.
bool PrepareNewBooks(const std::string& home, NewBooks* books, std::string* error);

// Keeps the present books as books.db.bak and puts the new ones in place.
// False with *error when either fails: books.db is then as it was, and the
// temporary is gone.
bool PutBooksInPlace(const std::string& home, const NewBooks& books, std::string* error);

// Removes the new books of writers that ended before they could (a crash,
// a kill): their temporaries beside books.db and books.db.bak, and the
// books.db.new of earlier versions of the tool. Only under the lock.
void RemoveLeftoverBooks(const std::string& home);

} // namespace stmtlink

// A host home for the runs on a real display: sample books of a given size
// and the output folder C:\out made beforehand, so that no folder question
// comes between the dialog and the run.
#pragma once

#include <cstdint>
#include <filesystem>
#include <string>

#include "tests/support/temp_dir.h"
#include "tools/books/sample_books.h"

namespace stmtlink::testing {

// True when the books are written; otherwise false with *error set.
inline bool WriteSampleHomeWithOutFolder(const TempDir& home, std::uint32_t entries,
                                         std::string* error) {
  SampleOptions books;
  books.home = home.path();
  books.entries = entries;
  if (WriteSampleHome(books, error) != SampleStatus::kWritten) return false;
  std::filesystem::create_directories(home.File("drive_c/out"));
  return true;
}

} // namespace stmtlink::testing

// A fresh host home for one test: a new temporary folder (TempDir) with an
// empty drive_c/, installed with SetHostHome. The destructor goes back to
// the earlier home and current folder, forgets the drive map and removes
// the folder with everything in it.
#pragma once

#include <string>
#include <string_view>

#include "tests/support/temp_dir.h"

namespace stmtlink {

class ScratchHome {
 public:
  ScratchHome();
  ~ScratchHome();
  ScratchHome(const ScratchHome&) = delete;
  ScratchHome& operator=(const ScratchHome&) = delete;

  // The home folder (Linux, UTF-8, no trailing slash).
  const std::string& dir() const { return dir_; }
  // dir() joined with a relative UTF-8 path.
  std::string Path(std::string_view relative) const;

  // Writes host.ini (UTF-8) and reloads the drive map.
  void WriteHostIni(std::string_view content) const;
  // Creates a folder (and its parents) under the home; returns its path.
  std::string MakeDir(std::string_view relative) const;
  // Writes a file under the home; returns its path.
  std::string WriteFile(std::string_view relative, std::string_view content) const;

 private:
  testing::TempDir temp_;
  std::string dir_;
  std::string previous_home_;
  std::string previous_cwd_;
};

} // namespace stmtlink

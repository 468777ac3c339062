// A fresh folder under the temporary folder, removed with everything in it
// when the object goes away.
#pragma once

#include <string>
#include <vector>

namespace stmtlink::testing {

class TempDir {
 public:
  TempDir();
  ~TempDir();
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;

  const std::string& path() const { return path_; }
  // path() + "/" + name
  std::string File(const std::string& name) const;

 private:
  std::string path_;
};

// Writes content to a Linux path (creating nothing but the file); asserts
// nothing, returns false on failure.
bool WriteTextFile(const std::string& path, const std::string& content);
std::string ReadTextFile(const std::string& path);
// The names in a folder, sorted (hidden ones included): to see that a
// writer left no temporary behind.
std::vector<std::string> FolderEntries(const std::string& path);

// Changes the process's current folder and restores it on destruction.
class ScopedCurrentDir {
 public:
  explicit ScopedCurrentDir(const std::string& dir);
  ~ScopedCurrentDir();

 private:
  std::string saved_;
};

} // namespace stmtlink::testing

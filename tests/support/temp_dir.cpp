#include "tests/support/temp_dir.h"

#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

namespace stmtlink::testing {

TempDir::TempDir() {
  std::string pattern = (std::filesystem::temp_directory_path() / "stmtlink-test-XXXXXX").string();
  if (mkdtemp(pattern.data()) != nullptr) path_ = pattern;
}

TempDir::~TempDir() {
  if (path_.empty()) return;
  std::error_code ignored;
  std::filesystem::remove_all(path_, ignored);
}

std::string TempDir::File(const std::string& name) const { return path_ + "/" + name; }

bool WriteTextFile(const std::string& path, const std::string& content) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out << content;
  return static_cast<bool>(out.flush());
}

std::string ReadTextFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream content;
  content << in.rdbuf();
  return content.str();
}

std::vector<std::string> FolderEntries(const std::string& path) {
  std::vector<std::string> names;
  std::error_code ec;
  for (const auto& entry : std::filesystem::directory_iterator(path, ec))
    names.push_back(entry.path().filename().string());
  std::sort(names.begin(), names.end());
  return names;
}

ScopedCurrentDir::ScopedCurrentDir(const std::string& dir) {
  saved_ = std::filesystem::current_path().string();
  std::filesystem::current_path(dir);
}

ScopedCurrentDir::~ScopedCurrentDir() {
  std::error_code ignored;
  std::filesystem::current_path(saved_, ignored);
}

} // namespace stmtlink::testing

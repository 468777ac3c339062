#include "platform/same_file.h"

#include <limits.h>
#include <stdlib.h>
#include <sys/stat.h>

#include <algorithm>
#include <memory>
#include <vector>

namespace stmtlink {
namespace {

// The absolute path with links, "." and ".." resolved as far as the path
// exists, and the missing rest appended by name ("." and ".." applied to
// the names): the file a path will name once its folders are made.
std::string ResolvedPath(const std::string& path) {
  std::string existing = path;
  std::vector<std::string> missing; // innermost last
  for (;;) {
    std::unique_ptr<char, decltype(&free)> real(realpath(existing.empty() ? "." : existing.c_str(), nullptr), &free);
    if (real) {
      existing = real.get();
      break;
    }
    const std::size_t slash = existing.rfind('/');
    if (slash == std::string::npos) {
      missing.push_back(existing);
      existing.clear();
    } else {
      missing.push_back(existing.substr(slash + 1));
      existing.erase(slash);
    }
  }
  std::vector<std::string> parts;
  for (std::size_t i = 0; i < existing.size();) {
    const std::size_t next = std::min(existing.find('/', i), existing.size());
    if (next > i) parts.push_back(existing.substr(i, next - i));
    i = next + 1;
  }
  for (auto it = missing.rbegin(); it != missing.rend(); ++it) {
    if (it->empty() || *it == ".") continue;
    if (*it == "..") {
      if (!parts.empty()) parts.pop_back();
    } else {
      parts.push_back(*it);
    }
  }
  std::string out;
  for (const std::string& part : parts) out += "/" + part;
  return out.empty() ? "/" : out;
}

} // namespace

bool IsSameFile(const std::string& linux_a, const std::string& linux_b) {
  struct stat a {}, b {};
  const bool a_exists = stat(linux_a.c_str(), &a) == 0;
  const bool b_exists = stat(linux_b.c_str(), &b) == 0;
  if (a_exists && b_exists) return a.st_dev == b.st_dev && a.st_ino == b.st_ino;
  if (a_exists || b_exists) return false;
  return ResolvedPath(linux_a) == ResolvedPath(linux_b);
}

} // namespace stmtlink

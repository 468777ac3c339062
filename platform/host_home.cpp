#include "platform/host_home.h"

namespace stmtlink {
namespace {
std::string& HomeStorage() {
  static std::string home;
  return home;
}
} // namespace

namespace internal {
std::uint64_t host_home_generation = 0;
} // namespace internal

void SetHostHome(std::string linux_dir) {
  while (linux_dir.size() > 1 && linux_dir.back() == '/') linux_dir.pop_back();
  HomeStorage() = std::move(linux_dir);
  ++internal::host_home_generation;
}

const std::string& HostHome() { return HomeStorage(); }

std::string HostHomeFile(std::string_view name) {
  std::string path = HomeStorage();
  if (path.empty() || path.back() != '/') path.push_back('/');
  path.append(name);
  return path;
}

} // namespace stmtlink

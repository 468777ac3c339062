#include "host/host_ini.h"

#include <cerrno>
#include <cstdlib>

#include "platform/host_home.h"

namespace stmtlink {
namespace {

struct CachedIni {
  bool loaded = false;
  std::string path; // the file it was read from
  IniFile ini;
};

CachedIni& Cache() {
  static CachedIni cache;
  return cache;
}

} // namespace

const IniFile& HostIni() {
  CachedIni& cache = Cache();
  std::string path = HostHomeFile("host.ini");
  // A changed home (SetHostHome without a reset) must not see the old file.
  if (!cache.loaded || cache.path != path) {
    IniFile ini;
    if (!IniFile::Load(path, &ini)) ini = IniFile();
    cache.ini = std::move(ini);
    cache.path = std::move(path);
    cache.loaded = true;
  }
  return cache.ini;
}

long HostIniLong(std::string_view section, std::string_view key, long default_value) {
  std::string text;
  if (!HostIni().Get(section, key, &text) || text.empty()) return default_value;
  // Whole value only: "7x" or "" is a typing error, not code 7 or 0.
  char* end = nullptr;
  errno = 0;
  long value = std::strtol(text.c_str(), &end, 10);
  if (errno != 0 || end == text.c_str() || *end != '\0') return default_value;
  return value;
}

std::string HostIniText(std::string_view section, std::string_view key) {
  std::string text;
  if (!HostIni().Get(section, key, &text)) return std::string();
  return text;
}

void ForgetHostIni() { Cache() = CachedIni(); }

} // namespace stmtlink

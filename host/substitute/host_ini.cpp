#include "host/substitute/host_ini.h"

#include <cerrno>
#include <cstdlib>

#include "host/substitute/substitute_control.h"
#include "platform/host_home.h"

namespace stmtlink {
namespace {

struct CachedIni {
  bool loaded = false;
  std::uint64_t home = 0; // HostHomeGeneration() of the home it was read from
  IniFile ini;
  HostIniFaults faults;
  std::uint64_t generation = 0;
};

std::string AsciiLower(std::string_view text) {
  std::string out(text);
  for (char& c : out)
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  return out;
}

// Whole value only: "7x" or "" is a typing error, not code 7 or 0.
bool ParseLong(const std::string& text, long* value) {
  if (text.empty()) return false;
  char* end = nullptr;
  errno = 0;
  const long parsed = std::strtol(text.c_str(), &end, 10);
  if (errno != 0 || end == text.c_str() || *end != '\0') return false;
  *value = parsed;
  return true;
}

// Asked by every host call (through Loaded): inlined, it is a guard check.
[[gnu::always_inline]] inline CachedIni& Cache() {
  static CachedIni cache;
  return cache;
}

// Reads host.ini into the cache. Kept out of line: Loaded is asked by
// every host call and its usual path must stay a compare and a return.
[[gnu::noinline]] void Reload(CachedIni& cache) {
  {
    CachedIni fresh;
    if (!IniFile::Load(HostHomeFile("host.ini"), &fresh.ini)) fresh.ini = IniFile();
    for (const std::string& key : fresh.ini.Keys("Faults")) {
      std::string text;
      long code = 0;
      // The first occurrence of a key wins, as Get reads it.
      if (fresh.ini.Get("Faults", key, &text) && ParseLong(text, &code) && code != 0) {
        fresh.faults.codes.emplace(AsciiLower(key), code);
        if (key.find('#') != std::string::npos) fresh.faults.has_nth = true;
      }
    }
    std::string journal;
    if (fresh.ini.Get("Trace", "CallJournal", &journal) && !journal.empty())
      fresh.faults.journal_path = journal.front() == '/' ? journal : HostHomeFile(journal);
    static std::uint64_t readings = 0;
    fresh.generation = ++readings;
    fresh.home = HostHomeGeneration();
    fresh.loaded = true;
    cache = std::move(fresh);
  }
}

[[gnu::always_inline]] inline const CachedIni& Loaded() {
  CachedIni& cache = Cache();
  // A changed home (SetHostHome without a reset) must not see the old file.
  if (!cache.loaded || cache.home != HostHomeGeneration()) [[unlikely]]
    Reload(cache);
  return cache;
}

} // namespace

const IniFile& HostIni() { return Loaded().ini; }

const HostIniFaults& HostIniFaultTable() { return Loaded().faults; }

std::uint64_t HostIniGeneration() { return Loaded().generation; }

long HostIniLong(std::string_view section, std::string_view key, long default_value) {
  std::string text;
  long value = 0;
  if (!HostIni().Get(section, key, &text) || !ParseLong(text, &value)) return default_value;
  return value;
}

std::string HostIniText(std::string_view section, std::string_view key) {
  std::string text;
  if (!HostIni().Get(section, key, &text)) return std::string();
  return text;
}

void ForgetHostIni() {
  Cache() = CachedIni();
  ForgetHostCallsQuiet(); // its fault table may differ when read again
}

} // namespace stmtlink

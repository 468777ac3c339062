// The host home's host.ini (UTF-8), as the substitute reads it. Read on first
// use and kept until ResetHostSubstitute or until the host home changes; a
// missing file reads as an empty one (every key at its default). The cache
// is checked against the host home by comparing the folder, which is cheap
// enough for a look-up on every host call.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <unordered_map>

#include "platform/ini_file.h"

namespace stmtlink {

const IniFile& HostIni();
// The decimal value of a key (optional sign, digits, nothing else);
// default_value when the key is missing or its value is not such a number.
long HostIniLong(std::string_view section, std::string_view key, long default_value);
// The value of a key as written (UTF-8); empty when missing.
std::string HostIniText(std::string_view section, std::string_view key);
// The [Faults] section as a table: call name -> decimal code, names folded
// to ASCII lower case (keys compare without regard to case). A name may end
// in "#N" (N from 1): then only the Nth call of that name in the process
// fails. Built once per reading of the file: every host call asks it, and
// most runs have none. [Trace] CallJournal=FILE (a Linux path, relative to
// the host home) asks for the journal of the calls made (substitute_control.h).
struct HostIniFaults {
  std::unordered_map<std::string, long> codes;
  bool has_nth = false;       // some key names the Nth call only
  std::string journal_path;   // empty: no journal file
};
const HostIniFaults& HostIniFaultTable();
// A number that changes whenever the file is read again: a value taken
// from it stays good while the number stays the same.
std::uint64_t HostIniGeneration();
// Drops the cached file; the next call reads it again.
void ForgetHostIni();

} // namespace stmtlink

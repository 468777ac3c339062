// The host home's host.ini (UTF-8), as the substitute reads it. Read on first
// use and kept until ResetHostSubstitute or until the host home changes; a
// missing file reads as an empty one (every key at its default).
#pragma once

#include <string>
#include <string_view>

#include "platform/ini_file.h"

namespace stmtlink {

const IniFile& HostIni();
// The decimal value of a key (optional sign, digits, nothing else);
// default_value when the key is missing or its value is not such a number.
long HostIniLong(std::string_view section, std::string_view key, long default_value);
// The value of a key as written (UTF-8); empty when missing.
std::string HostIniText(std::string_view section, std::string_view key);
// Drops the cached file; the next call reads it again.
void ForgetHostIni();

} // namespace stmtlink

// Profile files (ZephonDef.ini, host.ini): the reader over any bytes.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "platform/ini_file.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view content(reinterpret_cast<const char*>(data), size);
  const stmtlink::IniFile ini = stmtlink::IniFile::Parse(content);
  std::string value;
  if (ini.Get("ProgramLevel", "HJ21", &value) && value.size() > size) __builtin_trap();
  for (const std::string& key : ini.Keys("Drives"))
    if (!ini.Get("Drives", key, &value)) __builtin_trap(); // every listed key reads
  return 0;
}

// SUPPORT.INF: the search of both keys in any bytes. A value never holds
// half a double-byte character, a line end or a zero byte.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "platform/mbcs.h"
#include "report/support_info_file.h"

namespace {

void CheckValue(const std::string& value) {
  if (value.find_first_of(std::string_view("\0\r\n", 3)) != std::string::npos) __builtin_trap();
  for (std::size_t i = 0; i < value.size(); ++i) {
    if (!_ismbblead(static_cast<unsigned char>(value[i]))) continue;
    if (i + 1 >= value.size() || !_ismbbtrail(static_cast<unsigned char>(value[i + 1]))) __builtin_trap();
    ++i;
  }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view content(reinterpret_cast<const char*>(data), size);
  // The keys as the program's code page writes them (half-width katakana).
  CheckValue(stmtlink::SupportInfoFile::ValueIn(content, "[=\x90\xBB\x95\x69\x96\xBC=]"));
  CheckValue(stmtlink::SupportInfoFile::ValueIn(content, "[=\x90\xBB\x95\x69\xCA\xDE\xB0\xBC\xDE\xAE\xDD=]"));
  return 0;
}

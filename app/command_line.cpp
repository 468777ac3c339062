// The host's command line: "window,message,function[,output path]".
#include <cstdlib>
#include <string>

#include "app/link_app.h"

namespace stmtlink {
namespace {

// The C library's leading-number conversion: leading blanks, an optional
// sign, digits; no digits give 0.
long LeadingField(const std::string& text) { return std::strtol(text.c_str(), nullptr, 10); }

} // namespace

int LinkApp::ParseCommandLine(const std::string& text) {
  if (text.empty()) return 0;
  // Read whole, however long: a fixed copy would cut an imposed output path.
  std::size_t first = text.find(',');
  if (first == std::string::npos) return 0;
  hostWindow = static_cast<HWND>(LeadingField(text.substr(0, first)));

  std::size_t second = text.find(',', first + 1);
  if (second == std::string::npos) return 0;
  doneMessage = static_cast<std::uint32_t>(LeadingField(text.substr(first + 1, second - first - 1)));

  std::size_t third = text.find(',', second + 1);
  if (third == std::string::npos) return 0;
  functionId = static_cast<std::int16_t>(LeadingField(text.substr(second + 1, third - second - 1)));

  // Further commas belong to the path.
  std::string rest = text.substr(third + 1);
  if (!rest.empty()) hostOutputPath = rest;
  return 1;
}

} // namespace stmtlink

// Asks libxml2's xmllint whether a file is well-formed XML in its declared
// encoding.
#pragma once

#include <cstdio>
#include <cstdlib>
#include <string>

namespace stmtlink::testing {

inline bool HaveXmllint() { return std::system("command -v xmllint >/dev/null 2>&1") == 0; }

// What xmllint says of the file ("" when it is well-formed); a text
// starting "exit" when xmllint failed without saying why.
inline std::string XmllintComplaints(const std::string& linux_path) {
  std::string command = "xmllint --noout '" + linux_path + "' 2>&1";
  FILE* pipe = popen(command.c_str(), "r");
  if (pipe == nullptr) return "exit: cannot run xmllint";
  std::string output;
  char buffer[512];
  while (std::fgets(buffer, sizeof(buffer), pipe) != nullptr) output += buffer;
  int status = pclose(pipe);
  if (status != 0 && output.empty()) output = "exit " + std::to_string(status);
  return output;
}

} // namespace stmtlink::testing

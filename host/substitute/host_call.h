// The first step of every substitute call: append it to the journal with its
// arguments, then ask for an injected failure. Usage:
//   if (long code = stmtlink::BeginHostCall("ClSetData::ReadyDat", cursor, mode)) return code;
#pragma once

#include <concepts>
#include <string>
#include <string_view>

#include "host/substitute/substitute_control.h"

namespace stmtlink {

inline void AppendCallArg(std::string* out, std::string_view text) { out->append(text); }
inline void AppendCallArg(std::string* out, const char* text) {
  out->append(text ? text : "(null)");
}
template <std::integral T>
void AppendCallArg(std::string* out, T value) {
  out->append(std::to_string(value));
}

// Records "name" or "name(a, b, ...)".
template <typename... Args>
void RecordCall(std::string_view name, const Args&... args) {
  if (!HostCallJournalOn()) return;
  std::string text(name);
  if constexpr (sizeof...(args) > 0) {
    text.push_back('(');
    const char* separator = "";
    ((text.append(separator), AppendCallArg(&text, args), separator = ", "), ...);
    text.push_back(')');
  }
  RecordHostCall(std::move(text));
}

// Records the call and returns its injected failure code (0: none).
template <typename... Args>
long BeginHostCall(std::string_view name, const Args&... args) {
  if (HostCallsQuiet()) [[likely]] return 0;
  RecordCall(name, args...);
  return HostFailureFor(name);
}

} // namespace stmtlink

#include "host/substitute/substitute_control.h"

#include <cstdio>
#include <map>
#include <unordered_map>

#include "host/acc_connect.h"
#include "host/substitute/substitute_home.h"
#include "host/data_mgr.h"
#include "host/substitute/host_ini.h"
#include "host/msg_mgr.h"
#include "platform/drive_map.h"

namespace stmtlink {
namespace {

// Keyed by the exact call name; std::less<> lets a string_view look up.
[[gnu::always_inline]] inline std::map<std::string, long, std::less<>>& InjectedFailures() {
  static std::map<std::string, long, std::less<>> failures;
  return failures;
}

// How many calls of each name (folded) this process made, for "#N" faults.
std::unordered_map<std::string, long>& CallCounts() {
  static std::unordered_map<std::string, long> counts;
  return counts;
}

std::vector<std::string>& Journal() {
  static std::vector<std::string> journal;
  return journal;
}

} // namespace

namespace internal {
std::uint64_t quiet_home_mark = 0;
} // namespace internal

void ForgetHostCallsQuiet() { internal::quiet_home_mark = 0; }

void InjectHostFailure(std::string_view call, long code) {
  ForgetHostCallsQuiet();
  // Code 0 withdraws the failure, so a test can switch one off again.
  if (code == 0) {
    auto it = InjectedFailures().find(call);
    if (it != InjectedFailures().end()) InjectedFailures().erase(it);
    return;
  }
  InjectedFailures()[std::string(call)] = code;
}

void ClearHostFailures() {
  InjectedFailures().clear();
  CallCounts().clear();
}

bool HostFailuresPossible() {
  if (HostCallsQuiet()) return false;
  return !InjectedFailures().empty() || !HostIniFaultTable().codes.empty();
}

namespace {

std::string AsciiLower(std::string_view text) {
  std::string key(text);
  for (char& c : key)
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  return key;
}

// The journal file that host.ini asks for: one call name a line, appended.
// Opened once per reading of host.ini; the C library flushes it at exit.
void WriteCallJournal(const std::string& path, std::string_view call) {
  static std::FILE* file = nullptr;
  static std::uint64_t opened_for = 0;
  if (opened_for != HostIniGeneration()) {
    if (file) std::fclose(file);
    file = std::fopen(path.c_str(), "a");
    opened_for = HostIniGeneration();
  }
  if (!file) return;
  std::fwrite(call.data(), 1, call.size(), file);
  std::fputc('\n', file);
}

} // namespace

long HostFailureFor(std::string_view call) {
  // Asked by every host call: a run without faults must pay next to nothing.
  const auto& injected = InjectedFailures();
  if (!injected.empty()) {
    if (auto it = injected.find(call); it != injected.end()) return it->second;
  }
  const HostIniFaults& table = HostIniFaultTable();
  // "Name@N" asks are a cursor's own second look at one call: neither
  // journalled nor counted again.
  const bool own_call = call.find('@') == std::string_view::npos;
  if (own_call && !table.journal_path.empty()) WriteCallJournal(table.journal_path, call);
  const auto& faults = table.codes;
  if (faults.empty()) {
    // Nothing to fail and nothing to record: the next calls need not ask.
    if (injected.empty() && !HostCallJournalOn() && table.journal_path.empty())
      internal::quiet_home_mark = HostHomeGeneration() + 1;
    return 0;
  }
  const std::string key = AsciiLower(call);
  if (own_call && table.has_nth) {
    const long n = ++CallCounts()[key];
    if (auto it = faults.find(key + "#" + std::to_string(n)); it != faults.end()) return it->second;
  }
  auto it = faults.find(key);
  return it == faults.end() ? 0 : it->second;
}

namespace {

bool& JournalSwitch() {
  static bool on = true;
  return on;
}

std::function<void()>& BusyHook() {
  static std::function<void()> hook;
  return hook;
}

} // namespace

void SetHostBusyHook(std::function<void()> hook) { BusyHook() = std::move(hook); }

void HostBusy() {
  if (BusyHook()) BusyHook()();
}

void RecordHostCall(std::string call) {
  if (JournalSwitch()) Journal().push_back(std::move(call));
}

void SetHostCallJournal(bool on) {
  JournalSwitch() = on;
  ForgetHostCallsQuiet();
}

bool HostCallJournalOn() { return JournalSwitch(); }

const std::vector<std::string>& HostCalls() { return Journal(); }

void ClearHostCalls() { Journal().clear(); }

void ResetHostSubstitute() {
  ForgetHostIni();
  ReloadDriveMap(); // the platform's reading of host.ini [Drives]
  CloseCurrentHome();
  ClearHostFailures();
  SetHostBusyHook(nullptr);
  // The singletons stay where they are (the program keeps pointers to them);
  // only their state goes back to that of a fresh process.
  ClAccConnect::Inst()->ResetForTesting();
  ClDataMgr::Inst()->ResetForTesting();
  ClMsgMgr::Inst()->ResetForTesting();
  ClearHostCalls();
}

} // namespace stmtlink

// Test and diagnosis hooks of the host substitute (not part of the host's
// interface): injected failures and the journal of host calls.
//
// Failures: any host call can be made to return a chosen code, from a test
// (InjectHostFailure) or from <home>/host.ini:
//   [Faults]
//   ClRuleKamoku::GetSumCount=7
// Each substitute call asks HostFailureFor("Class::Method") first and returns
// that code when it is nonzero (a call that returns a pointer gives null, a
// call that returns a text gives an empty one). Calls made on a data-set
// object are named by its class ("ClSetShohizei::SetCurDataID"). Calls with
// no result (SetAppType, Release, SetLastError) are only recorded.
//   ClRuleMotocho::MoveNext#200=9001
// fails only the 200th call of that name since the process started (or
// since ClearHostFailures), so that a test can fail one row of a cursor.
//
// The journal of the calls made, for a test that wants to fail each of
// them in turn: host.ini
//   [Trace]
//   CallJournal=calls.txt
// appends each call's name ("ClRuleMotocho::MoveNext"), one a line, to that
// file (relative to the host home). It is kept by the substitute in any
// process, the program's too.
#pragma once

#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/host_home.h"

namespace stmtlink {

// Code 0 withdraws an injected failure.
void InjectHostFailure(std::string_view call, long code);
void ClearHostFailures();
// The injected code for the call (tests first, then host.ini); 0 when none.
long HostFailureFor(std::string_view call);
// False when no failure is injected at all (the usual run): a call that
// builds a name to ask for (MoveNext@N) need not build it.
bool HostFailuresPossible();

// Whether host calls can skip both their journal entry and their failure
// look-up: the journal is off, no failure is injected, and the home's
// host.ini names none. A run over large books makes tens of millions of
// host calls, and this is the whole cost of each for those hooks. Worked
// out by the first call that finds it so; any change to the journal switch
// or the injected failures, a new home or a forgotten host.ini ends it.
namespace internal {
extern std::uint64_t quiet_home_mark; // HostHomeGeneration() + 1 while quiet; 0 not known
} // namespace internal
inline bool HostCallsQuiet() { return internal::quiet_home_mark == HostHomeGeneration() + 1; }
void ForgetHostCallsQuiet();

// Every substitute call appends "Class::Method" or "Class::Method(args)",
// arguments separated by ", " (texts as the program passed them, CP932):
//   ClAccConnect::SetAppType(3)   ClDataMgr::GetSetObject(5, 1)
//   ClSetData::WalkDat(1)         ClSetShohizei::SetCurDataID(D0000001)
void RecordHostCall(std::string call);
// The journal is kept unless switched off. The program switches it off: no
// one reads it there, and a run over large books makes millions of calls.
void SetHostCallJournal(bool on);
bool HostCallJournalOn();
const std::vector<std::string>& HostCalls();
void ClearHostCalls();

// A host call that works long (the first reading of a large journal) calls
// the busy hook now and then, always on the caller's thread, so that a
// caller with a progress window can show that it is alive while it waits
// (the program itself stays one thread with no timers). An empty hook
// (the default) does nothing. The program sets it through its port to
// the host's extras (host/host_extras.h).
void SetHostBusyHook(std::function<void()> hook);
void HostBusy();

// Makes the substitute as fresh as a new process over the current host home:
// forgets host.ini (with the platform's drive map read from it), closes
// the books and forgets what was read from them (substitute_home.h),
// drops injected failures, the journal, open cursors and the singletons'
// state (connection, current data IDs, last error). The
// singletons themselves stay valid.
void ResetHostSubstitute();

} // namespace stmtlink

// Test and diagnosis hooks of the host substitute (not part of the host's
// interface): injected failures and the journal of host calls.
//
// Failures: any host call can be made to return a chosen code, from a test
// (InjectHostFailure) or from <home>/host.ini:
//   [Faults]
//   ClRuleKamoku::GetSumCount=7
// Each substitute call asks HostFailureFor("Class::Method") first.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace stmtlink {

void InjectHostFailure(std::string_view call, long code);
void ClearHostFailures();
// The injected code for the call (tests first, then host.ini); 0 when none.
long HostFailureFor(std::string_view call);

// Every substitute call appends "Class::Method" or "Class::Method(args)".
void RecordHostCall(std::string call);
const std::vector<std::string>& HostCalls();
void ClearHostCalls();

// Forgets everything cached from the host home (host.ini, open books).
void ResetHostSubstitute();

} // namespace stmtlink

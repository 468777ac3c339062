#include "host/sys_user.h"

#include "host/substitute/host_call.h"
#include "host/host_errors.h"
#include "host/substitute/host_ini.h"
#include "platform/mbcs.h"
#include "platform/text_codec.h"

namespace {
constexpr std::size_t kUserIdBuffer = 65; // 64 bytes and the terminator
} // namespace

long ClSysUser::GetCurUserID(char* user_id) {
  if (long code = stmtlink::BeginHostCall("ClSysUser::GetCurUserID")) return code;
  if (!user_id) return stmtlink::kHostErrorArgument;
  // A missing key is a user with an empty ID, not a failure.
  std::string id = stmtlink::ToCp932(stmtlink::HostIniText("User", "CurrentUserID"));
  stmtlink::MbcsCopy(user_id, kUserIdBuffer, id);
  return 0;
}

long ClSysUser::GetSelectedNo(const char* user_id, long* first, long* second) {
  // The substitute's host has one user: the selection is the current user's
  // whatever ID is passed.
  if (long code = stmtlink::BeginHostCall("ClSysUser::GetSelectedNo", user_id)) return code;
  if (first) *first = stmtlink::HostIniLong("User", "SelectedNo1", 0);
  if (second) *second = stmtlink::HostIniLong("User", "SelectedNo2", 0);
  return 0;
}

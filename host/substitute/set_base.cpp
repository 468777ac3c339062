#include "host/set_base.h"

#include <string>

#include "host/substitute/host_call.h"

namespace {

std::string CallName(const ClSetBase& set, const char* method) {
  return std::string(set.ClassName()) + "::" + method;
}

} // namespace

long ClSetBase::AttachSetMgr(ClSetMgr* set_mgr) {
  if (long code = stmtlink::BeginHostCall(CallName(*this, "AttachSetMgr"))) return code;
  set_mgr_ = set_mgr;
  return 0;
}

long ClSetBase::SetCurDataID(const char* data_id) {
  if (long code = stmtlink::BeginHostCall(CallName(*this, "SetCurDataID"), data_id)) return code;
  // The ID is only remembered; the calls that read the data set report a
  // data set that does not exist.
  cur_data_id_ = data_id ? data_id : "";
  return 0;
}

void ClSetBase::ResetForTesting() {
  set_mgr_ = nullptr;
  cur_data_id_.clear();
}

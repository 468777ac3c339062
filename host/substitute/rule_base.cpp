#include "host/rule_base.h"

#include <string>

#include "host/substitute/host_call.h"

namespace {

std::string CallName(const ClRuleBase& rule, const char* method) {
  return std::string(rule.ClassName()) + "::" + method;
}

} // namespace

long ClRuleBase::AttachSetMgr(ClSetMgr* set_mgr) {
  if (long code = stmtlink::BeginHostCall(CallName(*this, "AttachSetMgr"))) return code;
  set_mgr_ = set_mgr;
  return 0;
}

long ClRuleBase::SetCurDataID(const char* data_id) {
  if (long code = stmtlink::BeginHostCall(CallName(*this, "SetCurDataID"), data_id)) return code;
  // Only remembered: the calls that read the data report a missing data set.
  cur_data_id_ = data_id ? data_id : "";
  return 0;
}

long ClRuleBase::AttachOptLink(ClOptLink* opt_link) {
  if (long code = stmtlink::BeginHostCall(CallName(*this, "AttachOptLink"))) return code;
  opt_link_ = opt_link;
  return 0;
}

// The set manager and the data and link managers that hand it out.
#include <memory>

#include "host/data_mgr.h"
#include "host/substitute/host_call.h"
#include "host/set_data.h"
#include "host/set_gengo.h"
#include "host/set_kamoku.h"
#include "host/set_shohizei.h"
#include "host/sys_user.h"

namespace {

// The objects of the kinds that the substitute builds; null for the others.
std::unique_ptr<ClSetBase> NewSetObject(int kind) {
  switch (kind) {
    case 1:
      return std::make_unique<ClSetKamoku>();
    case 4:
      return std::make_unique<ClSetShohizei>();
    case 5:
      return std::make_unique<ClSetData>();
    case 13:
      return std::make_unique<ClSetGengo>();
    default:
      return nullptr;
  }
}

} // namespace

ClSetMgr::ClSetMgr() = default;
ClSetMgr::~ClSetMgr() = default;

ClSetBase* ClSetMgr::ObjectOfKind(int kind) {
  auto it = objects_.find(kind);
  if (it != objects_.end()) return it->second.get();
  std::unique_ptr<ClSetBase> object = NewSetObject(kind);
  if (!object) return nullptr;
  return objects_.emplace(kind, std::move(object)).first->second.get();
}

ClSetBase* ClSetMgr::GetSetObject(int kind, int flag) {
  if (stmtlink::BeginHostCall("ClSetMgr::GetSetObject", kind, flag)) return nullptr;
  return ObjectOfKind(kind);
}

void ClSetMgr::ResetForTesting() {
  for (auto& [kind, object] : objects_) object->ResetForTesting();
}

ClDataMgr* ClDataMgr::Inst() {
  static ClDataMgr manager;
  return &manager;
}

ClSetBase* ClDataMgr::GetSetObject(int kind, int flag) {
  if (stmtlink::BeginHostCall("ClDataMgr::GetSetObject", kind, flag)) return nullptr;
  return set_mgr_.ObjectOfKind(kind);
}

ClSetMgr* ClDataMgr::GetSetMgr() {
  if (stmtlink::BeginHostCall("ClDataMgr::GetSetMgr")) return nullptr;
  return &set_mgr_;
}

ClSysUser* ClDataMgr::GetSysUserObject() {
  if (stmtlink::BeginHostCall("ClDataMgr::GetSysUserObject")) return nullptr;
  static ClSysUser user;
  return &user;
}

ClLinkMgr* ClLinkMgr::Inst() {
  static ClLinkMgr manager;
  return &manager;
}

ClOptLink* ClLinkMgr::GetOptLink() {
  if (stmtlink::BeginHostCall("ClLinkMgr::GetOptLink")) return nullptr;
  return &opt_link_;
}

// Attaching a host cursor or settings store to the open company data: the
// set manager, the selected data set's ID and the link options, every
// answer checked. A failure is noted (host_read_failure.h) with what the
// caller meant to read, and the cursor must not be used.
#pragma once

#include <cstring>
#include <string>
#include <string_view>

#include "AccUty/host_read_failure.h"
#include "host/data_mgr.h"
#include "host/set_data.h"

namespace stmtlink {

// The selected data set's ID (at most 16 bytes, terminated) into data_id.
inline bool ReadSelectedDataId(char (&data_id)[sizeof(StDATAINFO{}.dataId) + 1], std::string_view what) {
  std::memset(data_id, 0, sizeof(data_id));
  auto* data_set = static_cast<ClSetData*>(ClDataMgr::Inst()->GetSetObject(5, 1));
  if (!HostObjectOk(data_set, "ClDataMgr::GetSetObject", what)) return false;
  const StDATAINFO* selected = data_set->GetSelectedInfo();
  if (!HostObjectOk(selected, "ClSetData::GetSelectedInfo", what)) return false;
  std::memcpy(data_id, selected->dataId, sizeof(selected->dataId));
  return true;
}

// class_name: how the host names the calls on this object ("ClRuleMotocho",
// "ClSaveBase"). data_id: null for the selected data set's.
template <typename Cursor>
bool AttachToCompanyData(Cursor* cursor, std::string_view class_name, const char* data_id,
                         std::string_view what) {
  const std::string prefix = std::string(class_name) + "::";
  ClSetMgr* set_mgr = ClDataMgr::Inst()->GetSetMgr();
  if (!HostObjectOk(set_mgr, "ClDataMgr::GetSetMgr", what)) return false;
  if (!HostReadOk(cursor->AttachSetMgr(set_mgr), prefix + "AttachSetMgr", what)) return false;
  char selected_id[sizeof(StDATAINFO{}.dataId) + 1];
  if (data_id == nullptr) {
    if (!ReadSelectedDataId(selected_id, what)) return false;
    data_id = selected_id;
  }
  if (!HostReadOk(cursor->SetCurDataID(data_id), prefix + "SetCurDataID", what)) return false;
  ClOptLink* link = ClLinkMgr::Inst()->GetOptLink();
  if (!HostObjectOk(link, "ClLinkMgr::GetOptLink", what)) return false;
  return HostReadOk(cursor->AttachOptLink(link), prefix + "AttachOptLink", what);
}

} // namespace stmtlink

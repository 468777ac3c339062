// Attaching a host cursor or settings store to the open company data: the
// set manager, the selected data set's ID and the link options, every
// answer checked. A failure (run_failure.h) names the call and what the
// caller meant to read, and the cursor must not be used then.
#pragma once

#include <cstring>
#include <string>
#include <string_view>

#include "AccUty/run_failure.h"
#include "host/data_mgr.h"
#include "host/set_data.h"

namespace stmtlink {

// The selected data set's ID (at most 16 bytes, terminated) into data_id.
inline RunFailure ReadSelectedDataId(char (&data_id)[sizeof(StDATAINFO{}.dataId) + 1],
                                     std::string_view what) {
  RunFailure failure;
  std::memset(data_id, 0, sizeof(data_id));
  auto* data_set =
      static_cast<ClSetData*>(ClDataMgr::Inst()->GetSetObject(kSetKindDataList, kSetObjectShared));
  if (!HostObjectOk(data_set, "ClDataMgr::GetSetObject", what, &failure)) return failure;
  const StDATAINFO* selected = data_set->GetSelectedInfo();
  if (!HostObjectOk(selected, "ClSetData::GetSelectedInfo", what, &failure)) return failure;
  std::memcpy(data_id, selected->dataId, sizeof(selected->dataId));
  return failure;
}

// class_name: how the host names the calls on this object ("ClRuleMotocho",
// "ClSaveBase"). data_id: null for the selected data set's.
template <typename Cursor>
RunFailure AttachToCompanyData(Cursor* cursor, std::string_view class_name, const char* data_id,
                               std::string_view what) {
  RunFailure failure;
  const std::string prefix = std::string(class_name) + "::";
  ClSetMgr* set_mgr = ClDataMgr::Inst()->GetSetMgr();
  if (!HostObjectOk(set_mgr, "ClDataMgr::GetSetMgr", what, &failure) ||
      !HostReadOk(cursor->AttachSetMgr(set_mgr), prefix + "AttachSetMgr", what, &failure))
    return failure;
  char selected_id[sizeof(StDATAINFO{}.dataId) + 1];
  if (data_id == nullptr) {
    if (failure.Note(ReadSelectedDataId(selected_id, what))) return failure;
    data_id = selected_id;
  }
  if (!HostReadOk(cursor->SetCurDataID(data_id), prefix + "SetCurDataID", what, &failure))
    return failure;
  ClOptLink* link = ClLinkMgr::Inst()->GetOptLink();
  if (HostObjectOk(link, "ClLinkMgr::GetOptLink", what, &failure))
    HostReadOk(cursor->AttachOptLink(link), prefix + "AttachOptLink", what, &failure);
  return failure;
}

} // namespace stmtlink

// The selected company data set and its consumption-tax settings.
#include <cstring>

#include "app/link_app.h"
#include "host/data_mgr.h"
#include "host/set_data.h"
#include "host/set_shohizei.h"
#include "host/sys_user.h"

namespace stmtlink {

int LinkApp::ReadSelectedData(StDATAINFO* record) {
  if (dataSet == nullptr) dataSet = static_cast<ClSetData*>(ClDataMgr::Inst()->GetSetObject(5, 1));

  char user_id[65] = {};
  long first = 0;
  long selected = 0;
  ClSysUser* user = ClDataMgr::Inst()->GetSysUserObject();
  if (user != nullptr) {
    user->GetCurUserID(user_id);
    user->GetSelectedNo(user_id, &first, &selected);
  }

  std::memset(record, 0, sizeof(*record));
  if (dataSet == nullptr) return 0;
  int found = 0;
  long cursor = 0;
  dataSet->GetDatCursor(&cursor);
  dataSet->ReadyDat(cursor, 0);
  // The host's record is 1504 bytes; the program reads into one more byte.
  alignas(StDATAINFO) unsigned char work[sizeof(StDATAINFO) + 1] = {};
  StDATAINFO* walked = reinterpret_cast<StDATAINFO*>(work);
  while (dataSet->WalkDat(cursor, walked) == 0) {
    if (walked->dataNo == selected) {
      std::memcpy(record, work, sizeof(*record));
      found = 1;
      break;
    }
  }
  dataSet->ReleaseDatCursor(cursor);
  return found;
}

int LinkApp::ReadTaxSettings(StSHOHIZEIINFO* record, const StDATAINFO* data) {
  ClSetShohizei* tax = static_cast<ClSetShohizei*>(ClDataMgr::Inst()->GetSetObject(4, 1));
  if (tax == nullptr) return 0;
  tax->AttachSetMgr(ClDataMgr::Inst()->GetSetMgr());
  // The identifier field is 16 bytes; never read past it.
  char data_id[sizeof(data->dataId) + 1] = {};
  std::memcpy(data_id, data->dataId, sizeof(data->dataId));
  tax->SetCurDataID(data_id);
  StSHOHIZEIINFO read{};
  if (tax->Get(&read) != 0) return 0;
  *record = read;
  return 1;
}

} // namespace stmtlink

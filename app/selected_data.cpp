// The selected company data set and its consumption-tax settings. Every
// host answer is looked at: a failed read is kept in the run's failure, so
// that the dialog never refuses a host error as unsuitable data.
#include <cstring>

#include "app/link_app.h"
#include "host/data_mgr.h"
#include "host/host_errors.h"
#include "host/set_data.h"
#include "host/set_shohizei.h"
#include "host/sys_user.h"

namespace stmtlink {
namespace {

constexpr char kDataListWhat[] = "会社データの一覧";
constexpr char kSelectionWhat[] = "利用者の選択";
constexpr char kTaxWhat[] = "消費税の設定";

} // namespace

int LinkApp::ReadSelectedData(StDATAINFO* record) {
  std::memset(record, 0, sizeof(*record));
  if (dataSet == nullptr)
    dataSet = static_cast<ClSetData*>(ClDataMgr::Inst()->GetSetObject(kSetKindDataList, kSetObjectShared));
  if (!HostObjectOk(dataSet, "ClDataMgr::GetSetObject", kDataListWhat, &failure_)) return 0;

  char user_id[65] = {};
  long first = 0;
  long selected = 0;
  ClSysUser* user = ClDataMgr::Inst()->GetSysUserObject();
  if (!HostObjectOk(user, "ClDataMgr::GetSysUserObject", kSelectionWhat, &failure_) ||
      !HostReadOk(user->GetCurUserID(user_id), "ClSysUser::GetCurUserID", kSelectionWhat, &failure_) ||
      !HostReadOk(user->GetSelectedNo(user_id, &first, &selected), "ClSysUser::GetSelectedNo",
                  kSelectionWhat, &failure_))
    return 0;

  int found = 0;
  long cursor = 0;
  if (!HostReadOk(dataSet->GetDatCursor(&cursor), "ClSetData::GetDatCursor", kDataListWhat, &failure_))
    return 0;
  if (HostReadOk(dataSet->ReadyDat(cursor, kDataListReadMode), "ClSetData::ReadyDat", kDataListWhat,
                 &failure_)) {
    // The host's record is 1504 bytes; the program reads into one more byte.
    alignas(StDATAINFO) unsigned char work[sizeof(StDATAINFO) + 1] = {};
    StDATAINFO* walked = reinterpret_cast<StDATAINFO*>(work);
    for (;;) {
      const long step = dataSet->WalkDat(cursor, walked);
      // The end of the list without the selected set is unsuitable data,
      // which the dialog refuses; any other answer is a failed read.
      if (step == kHostEndOfRows || !HostReadOk(step, "ClSetData::WalkDat", kDataListWhat, &failure_))
        break;
      if (walked->dataNo == selected) {
        std::memcpy(record, work, sizeof(*record));
        found = 1;
        break;
      }
    }
  }
  dataSet->ReleaseDatCursor(cursor);
  return failure_.failed() ? 0 : found;
}

int LinkApp::ReadTaxSettings(StSHOHIZEIINFO* record, const StDATAINFO* data, bool must_read) {
  // For a data set that was not found the answers are not looked at: the
  // dialog refuses such data with its own message.
  const auto ok = [this, must_read](long code, const char* call) {
    return !must_read || HostReadOk(code, call, kTaxWhat, &failure_);
  };
  const auto handed_out = [this, must_read](const void* object, const char* call) {
    if (object != nullptr) return true;
    if (must_read) HostObjectOk(object, call, kTaxWhat, &failure_);
    return false;
  };
  auto* tax = static_cast<ClSetShohizei*>(
      ClDataMgr::Inst()->GetSetObject(kSetKindConsumptionTax, kSetObjectShared));
  if (!handed_out(tax, "ClDataMgr::GetSetObject")) return 0;
  ClSetMgr* set_mgr = ClDataMgr::Inst()->GetSetMgr();
  if (!handed_out(set_mgr, "ClDataMgr::GetSetMgr")) return 0;
  if (!ok(tax->AttachSetMgr(set_mgr), "ClSetShohizei::AttachSetMgr")) return 0;
  // The identifier field is 16 bytes; never read past it.
  char data_id[sizeof(data->dataId) + 1] = {};
  std::memcpy(data_id, data->dataId, sizeof(data->dataId));
  if (!ok(tax->SetCurDataID(data_id), "ClSetShohizei::SetCurDataID")) return 0;
  StSHOHIZEIINFO read{};
  const long got = tax->Get(&read);
  if (!ok(got, "ClSetShohizei::Get") || got != 0) return 0;
  *record = read;
  return 1;
}

} // namespace stmtlink

#include "host/file_mgr.h"

#include "host/substitute/host_call.h"
#include "host/substitute/host_ini.h"
#include "platform/text_codec.h"

ClFileMgr* ClFileMgr::Inst() {
  static ClFileMgr manager;
  return &manager;
}

std::string ClFileMgr::GetAppFolderPath(int folder_type) {
  if (stmtlink::BeginHostCall("ClFileMgr::GetAppFolderPath", folder_type)) return std::string();
  std::string key = "AppFolder" + std::to_string(folder_type);
  return stmtlink::ToCp932(stmtlink::HostIniText("Folders", key));
}

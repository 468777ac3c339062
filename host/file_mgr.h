// The host's file manager (AccFileMgr): the application folders.
// Substitute: host.ini [Folders] AppFolder0, AppFolder1 (Windows paths, as
// the host returns them, trailing backslash or not).
#pragma once

#include <string>

// The application folders of GetAppFolderPath.
constexpr int kAppFolderExport = 0;
constexpr int kAppFolderSettings = 1;

class ClFileMgr {
 public:
  static ClFileMgr* Inst();
  // The folder of the given type (0 export, 1 settings); empty when unset.
  std::string GetAppFolderPath(int folder_type);

 private:
  ClFileMgr() = default;
};

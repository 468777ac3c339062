#include "tools/books/sample_host_ini.h"

namespace stmtlink {
namespace {

// Folders of the host's application, on drive C (<home>/drive_c).
constexpr const char* kExportFolder = "HostApp/Export";
constexpr const char* kSettingsFolder = "HostApp/Settings";

} // namespace

std::string SampleHostIniText(const SampleOptions&) {
  return "; Host home of the accounting host's substitute. UTF-8.\n"
         "\n"
         "[User]\n"
         "CurrentUserID=USER01\n"
         "; The second selection number is the data_no of the selected data set.\n"
         "SelectedNo1=0\n"
         "SelectedNo2=1\n"
         "\n"
         "[Folders]\n"
         "; Application folders as the host returns them: 0 export, 1 settings.\n"
         "; The program appends file names to them directly: keep the backslash.\n"
         "AppFolder0=C:\\HostApp\\Export\\\n"
         "AppFolder1=C:\\HostApp\\Settings\\\n"
         "\n"
         "[Link]\n"
         "; Answers of the link connection: 0 goes on, other codes try its failures.\n"
         "Initiate=0\n"
         "ExpSysLink=0\n"
         "\n"
         "[Faults]\n"
         "; Any host call can be made to fail with a code, one line each:\n"
         "; ClSetData::WalkDat=9001\n"
         "\n"
         "[Drives]\n"
         "; Drives beyond C: (drive_c) and Z: (/), and network shares, one line each:\n"
         "; D=/media/cdrom,cdrom\n"
         "; \\\\fileserver\\share=/srv/share,remote\n"
         "; Types: fixed, removable, remote, cdrom, ramdisk, noroot, unknown.\n";
}

std::vector<std::string> SampleAppFolders(const SampleOptions& options) {
  std::string drive_c = options.home + "/drive_c/";
  return {drive_c + kExportFolder, drive_c + kSettingsFolder};
}

} // namespace stmtlink

#include "tests/support/scratch_home.h"

#include <filesystem>
#include <fstream>
#include <stdexcept>
#include <system_error>

#include "platform/drive_map.h"
#include "platform/host_home.h"

namespace stmtlink {

ScratchHome::ScratchHome() : dir_(temp_.path()), previous_home_(HostHome()) {
  if (dir_.empty()) throw std::runtime_error("cannot create a temporary folder");
  std::error_code ec;
  previous_cwd_ = std::filesystem::current_path(ec).string();
  std::filesystem::create_directory(dir_ + "/drive_c");
  SetHostHome(dir_);
  ReloadDriveMap();
}

ScratchHome::~ScratchHome() {
  std::error_code ec;
  if (!previous_cwd_.empty()) std::filesystem::current_path(previous_cwd_, ec);
  SetHostHome(previous_home_);
  ReloadDriveMap();
  // temp_ removes the folder.
}

std::string ScratchHome::Path(std::string_view relative) const {
  return dir_ + "/" + std::string(relative);
}

void ScratchHome::WriteHostIni(std::string_view content) const {
  WriteFile("host.ini", content);
  ReloadDriveMap();
}

std::string ScratchHome::MakeDir(std::string_view relative) const {
  std::string path = Path(relative);
  std::filesystem::create_directories(path);
  return path;
}

std::string ScratchHome::WriteFile(std::string_view relative, std::string_view content) const {
  std::string path = Path(relative);
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(content.data(), static_cast<std::streamsize>(content.size()));
  if (!out) throw std::runtime_error("cannot write " + path);
  return path;
}

} // namespace stmtlink

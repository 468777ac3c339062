#include "app/environment_check.h"

#include <cstdlib>
#include <cstring>

#include "host/acc_connect.h"
#include "platform/mbcs.h"
#include "platform/win_api.h"

namespace stmtlink {
namespace {

constexpr int kAcceptedLevel = 2;
constexpr char kDefinitionFile[] = "ZephonDef.ini";

// The definition file's Windows path: the current folder, a separator, the
// file name. A final byte 0x5C that is the second byte of a double-byte
// character (as in "表") is no separator, so one is still appended.
void BuildDefinitionPath(char* path, std::size_t path_size) {
  char folder[261] = {};
  if (_getcwd(folder, sizeof(folder)) == nullptr) folder[0] = '\0';
  std::size_t length = MbcsCopy(path, path_size, folder);
  if (length > 0) {
    const unsigned char* start = reinterpret_cast<const unsigned char*>(path);
    const unsigned char* last = start + length - 1;
    bool ends_in_separator = *last == '\\' && !_ismbstrail(start, last);
    if (!ends_in_separator && length < path_size - 1) {
      path[length++] = '\\';
      path[length] = '\0';
    }
  }
  std::strncat(path, kDefinitionFile, path_size - 1 - length);
}

} // namespace

std::string DefinitionFilePath() {
  char path[517] = {};
  BuildDefinitionPath(path, sizeof(path));
  return path;
}

EnvironmentState ReadEnvironmentState() {
  char path[517] = {};
  BuildDefinitionPath(path, sizeof(path));
  if (PathFileExists(path) != TRUE) return EnvironmentState::kNotInstalled;

  char level_text[16] = {};
  GetPrivateProfileString("ProgramLevel", "HJ21", "1", level_text, sizeof(level_text), path);
  if (level_text[0] == '\0') return EnvironmentState::kNotInstalled;
  // Leading-number conversion: text that is not a number counts as 0.
  long level = std::strtol(level_text, nullptr, 10);
  if (level == kAcceptedLevel) return EnvironmentState::kCompatible;
  return level < kAcceptedLevel ? EnvironmentState::kReceiverTooOld
                                : EnvironmentState::kReceiverTooNew;
}

const char* EnvironmentMessage(EnvironmentState state) {
  switch (state) {
    case EnvironmentState::kNotInstalled:
      return "動作環境が不正です。\nES_APRPACKAGENAMEが正しくインストールされているか確認してください。";
    case EnvironmentState::kReceiverTooOld:
      return "ご利用の連動コンポーネントは、インストールされているES_APRPACKAGENAMEでは使用できません。\n"
             "ES_APRPACKAGENAMEの最新版を入手してインストールしてからご利用ください。";
    case EnvironmentState::kReceiverTooNew:
      return "ご利用の連動コンポーネントは、インストールされているES_APRPACKAGENAMEでは使用できません。\n"
             "連動コンポーネントの最新版を入手してインストールしてからご利用ください。";
    case EnvironmentState::kCompatible:
      break;
  }
  return nullptr;
}

int CheckEnvironment(HWND owner, int show_messages) {
  EnvironmentState state = ReadEnvironmentState();
  if (state == EnvironmentState::kCompatible) return 1;
  if (show_messages)
    ClAccConnect::Inst()->DispMsg(owner, EnvironmentMessage(state), "決算書",
                                  MB_OK | MB_ICONEXCLAMATION);
  return 0;
}

} // namespace stmtlink

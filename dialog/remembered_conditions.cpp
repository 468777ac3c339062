#include "dialog/remembered_conditions.h"

#include <memory>

#include "dialog/folder_tree.h"
#include "host/file_mgr.h"
#include "platform/env.h"
#include "platform/file_lock.h"
#include "platform/win_path.h"
#include "res/edition/edition.h"

namespace stmtlink {
namespace {

constexpr std::size_t kMaxValueBytes = 511;
// Long enough for another program's whole save; short enough that a hung
// holder does not hang this one.
constexpr int kLockTimeoutMs = 10000;

// Leading decimal digits (after an optional sign), bounded so that a
// damaged file cannot overflow.
long LeadingNumber(std::string_view text) {
  std::size_t i = 0;
  bool negative = false;
  if (i < text.size() && (text[i] == '-' || text[i] == '+')) negative = text[i++] == '-';
  long value = 0;
  for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i)
    if (value < 100000000) value = value * 10 + (text[i] - '0');
  return negative ? -value : value;
}

// Start of the first line of content that begins with key; npos when none.
std::size_t FindRecordStart(std::string_view content, std::string_view key, std::size_t from = 0) {
  for (std::size_t line = from; line < content.size();) {
    if (content.compare(line, key.size(), key) == 0) return line;
    std::size_t end = content.find('\n', line);
    if (end == std::string_view::npos) break;
    line = end + 1;
  }
  return std::string_view::npos;
}

std::string FormatRecord(std::string_view key, const ConditionsRecord& r) {
  return std::string(key) + std::to_string(r.from) + "/" + std::to_string(r.to) + "/" +
         std::to_string(r.kind) + "/" + std::to_string(r.ledger) + "/" + r.path + "\n";
}

} // namespace

std::string ConditionsKey(std::string_view user_id, long selection1, long selection2) {
  return std::string(user_id) + "/" + std::to_string(selection1) + "/" + std::to_string(selection2) + ":";
}

std::string SettingsFilePath() {
  std::string folder = ClFileMgr::Inst()->GetAppFolderPath(kAppFolderSettings);
  if (folder.empty()) return std::string();
  return folder + ThisEdition().settings_file_name;
}

bool FindConditionsValue(std::string_view content, std::string_view key, std::string* value) {
  // Only a key at the start of a line counts: "USER01/0/1:" must not be
  // found inside the record of "XUSER01".
  std::size_t start = FindRecordStart(content, key);
  if (start == std::string_view::npos) return false;
  std::string_view rest = content.substr(start + key.size());
  rest = rest.substr(0, rest.find('\n'));
  value->assign(rest.substr(0, kMaxValueBytes));
  return true;
}

void ParseConditionsValue(std::string_view value, ConditionsRecord* record) {
  std::size_t slash[4];
  int slashes = 0;
  for (std::size_t i = 0; i < value.size() && slashes < 4; ++i)
    if (value[i] == '/') slash[slashes++] = i;
  auto field = [&](int n) -> std::string_view {
    std::size_t begin = n == 0 ? 0 : slash[n - 1] + 1;
    if (n > slashes) return {};
    std::size_t end = n < slashes ? slash[n] : value.size();
    return value.substr(begin, end - begin);
  };
  record->from = static_cast<std::int16_t>(LeadingNumber(field(0)));
  record->to = static_cast<std::int16_t>(LeadingNumber(field(1)));
  record->kind = static_cast<std::int16_t>(LeadingNumber(field(2)));
  record->ledger = slashes >= 4 ? static_cast<std::int32_t>(LeadingNumber(field(3))) : 1;
  // The path: after the last "/", wherever that is.
  std::size_t last = value.rfind('/');
  record->path.assign(last == std::string_view::npos ? value : value.substr(last + 1));
}

std::string ReplaceConditionsRecord(std::string_view content, std::string_view key,
                                    const ConditionsRecord& record) {
  std::string kept;
  kept.reserve(content.size() + key.size() + record.path.size() + 32);
  std::size_t copied = 0;
  for (std::size_t start = FindRecordStart(content, key); start != std::string_view::npos;
       start = FindRecordStart(content, key, copied)) {
    kept.append(content.substr(copied, start - copied));
    std::size_t end = content.find('\n', start);
    copied = end == std::string_view::npos ? content.size() : end + 1;
  }
  kept.append(content.substr(copied));
  if (!kept.empty() && kept.back() != '\n') kept.push_back('\n');
  kept.append(FormatRecord(key, record));
  return kept;
}

bool LoadConditionsRecord(std::string_view key, ConditionsRecord* record) {
  std::string file = SettingsFilePath();
  std::string linux_path, content, value;
  if (file.empty() || !WindowsToLinuxPath(file, &linux_path)) return false;
  FileStatus status;
  Env* env = Env::Current();
  if (!env->Stat(linux_path, &status) || status.is_directory) return false;
  if (!env->ReadFile(linux_path, &content)) return false;
  if (!FindConditionsValue(content, key, &value)) return false;
  ParseConditionsValue(value, record);
  return true;
}

bool SaveConditionsRecord(std::string_view key, const ConditionsRecord& record) {
  std::string folder = ClFileMgr::Inst()->GetAppFolderPath(kAppFolderSettings);
  if (folder.empty()) return false;
  if (!IsExistingFolder(folder) && !CreateFolderTree(folder)) return false;

  std::string file = folder + ThisEdition().settings_file_name;
  std::string linux_path;
  if (!WindowsToLinuxPath(file, &linux_path)) return false;
  const std::string new_path = linux_path + ".new";

  // Read, change and replace under the lock, so that a program saving at
  // the same time works on this one's result, not beside it.
  std::unique_ptr<FileLock> lock = FileLock::Acquire(linux_path + ".lock", kLockTimeoutMs);
  if (!lock) return false;

  Env* env = Env::Current();
  std::string content;
  FileStatus status;
  if (env->Stat(linux_path, &status)) {
    // An existing file that cannot be read and written is left alone.
    if (status.is_directory || !env->Access(linux_path, 6) || !env->ReadFile(linux_path, &content))
      return false;
  }
  std::string replaced = ReplaceConditionsRecord(content, key, record);

  // The new file is made afresh: one an interrupted save left is removed
  // (a link there goes, never its target), and anything that reappears at
  // the path makes the save fail instead of writing through it.
  env->RemoveFile(new_path);
  std::unique_ptr<WritableFile> out = env->NewExclusiveFile(new_path);
  if (!out) return false;
  // On the disk before it replaces the old file, so that a crash leaves
  // one whole file or the other.
  bool written = out->Append(replaced) && out->Sync();
  written = out->Close() && written;
  if (!written || !env->Rename(new_path, linux_path)) {
    env->RemoveFile(new_path);
    return false;
  }
  return true;
}

} // namespace stmtlink

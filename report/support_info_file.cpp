#include "report/support_info_file.h"

#include <cstring>
#include <new>

#include "platform/cfile.h"
#include "platform/front_end_port.h"
#include "platform/mbcs.h"
#include "res/edition/edition.h"

namespace stmtlink {
namespace {

constexpr char kFileName[] = "SUPPORT.INF";
constexpr char kProductNameKey[] = "[=製品名=]";
constexpr char kProductVersionKey[] = "[=製品ﾊﾞｰｼﾞｮﾝ=]";
constexpr char kOutOfMemory[] = "ﾒﾓﾘが不足しています。";

// The text without lead bytes that have no trail byte after them: where a
// line or the data read ends inside a double-byte character, its first half
// is no character, and in the report it would swallow the markup after it.
std::string WholeCharacters(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  for (std::size_t i = 0; i < text.size(); ++i) {
    const auto c = static_cast<unsigned char>(text[i]);
    if (!_ismbblead(c)) {
      out.push_back(text[i]);
    } else if (i + 1 < text.size() && _ismbbtrail(static_cast<unsigned char>(text[i + 1]))) {
      out.append(text.substr(i, 2));
      ++i;
    }
  }
  return out;
}

} // namespace

SupportInfoFile::SupportInfoFile(std::string folder_prefix) : prefix_(std::move(folder_prefix)) {}

SupportInfoFile::~SupportInfoFile() { delete[] block_; }

std::string SupportInfoFile::ProductName() { return Find(kProductNameKey); }

std::string SupportInfoFile::ProductVersion() { return Find(kProductVersionKey); }

bool SupportInfoFile::Load() {
  if (block_ != nullptr) return true;
  block_ = new (std::nothrow) char[kBlockSize];
  if (block_ == nullptr) {
    // The framework's plain message box: OK, no icon, the program's name as
    // caption.
    MessageBox(0, kOutOfMemory, ThisEdition().program_name, MB_OK);
    return false;
  }
  std::memset(block_, 0xFF, kBlockSize);
  size_ = 0;
  CFile file;
  std::string path = prefix_ + kFileName;
  if (!file.Open(path.c_str(), CFile::modeRead | CFile::shareDenyNone | CFile::typeBinary)) {
    return true; // nothing to find, now or later
  }
  size_ = file.Read(block_, static_cast<UINT>(kBlockSize));
  file.Abort(); // read only: nothing to lose on closing

  PrepareLines(block_, size_);
  return true;
}

// Each line becomes a zero-terminated text: CR LF pairs and the end-of-file
// mark 0x1A turn into zero bytes.
void SupportInfoFile::PrepareLines(char* data, std::size_t size) {
  for (std::size_t i = 0; i < size; ++i) {
    if (data[i] == '\r' && i + 1 < size && data[i + 1] == '\n') {
      data[i] = '\0';
      data[++i] = '\0';
    } else if (data[i] == '\x1A') {
      data[i] = '\0';
    }
  }
}

std::string SupportInfoFile::Find(std::string_view key) {
  if (!Load()) return {};
  return FindIn(std::string_view(block_, size_), key);
}

std::string SupportInfoFile::FindIn(std::string_view data, std::string_view key) {
  // Matches start at character boundaries only, so a key is never found
  // inside a double-byte character.
  for (std::size_t i = 0; i + key.size() <= data.size(); i += MbcsCharLength(data, i)) {
    if (data.compare(i, key.size(), key) != 0) continue;
    std::size_t start = i + key.size();
    // The line ends at its terminator; a stray CR or LF (a file not written
    // with CR LF) ends it too instead of running into the next line.
    std::size_t end = data.find_first_of(std::string_view("\0\r\n", 3), start);
    if (end == std::string_view::npos) end = data.size();
    return WholeCharacters(data.substr(start, end - start));
  }
  return {};
}

std::string SupportInfoFile::ValueIn(std::string_view data, std::string_view key) {
  std::string block(data.substr(0, kBlockSize));
  PrepareLines(block.data(), block.size());
  return FindIn(block, key);
}

} // namespace stmtlink

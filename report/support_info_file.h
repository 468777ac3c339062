// Reader of the host's support-information file "SUPPORT.INF", which names
// the installed host product and its version on two lines:
//   [=製品名=]<product name>
//   [=製品ﾊﾞｰｼﾞｮﾝ=]<version>        (the katakana are half-width)
// The file is looked up by its bare name in the current folder (start-up
// makes the program's own folder current). At most its first 30,000 bytes
// are read, once, on the first request; a key beyond them is not found.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace stmtlink {

class SupportInfoFile {
 public:
  static constexpr std::size_t kBlockSize = 30000;

  // folder_prefix is put before "SUPPORT.INF" (the program passes none).
  explicit SupportInfoFile(std::string folder_prefix = {});
  virtual ~SupportInfoFile();

  SupportInfoFile(const SupportInfoFile&) = delete;
  SupportInfoFile& operator=(const SupportInfoFile&) = delete;

  // The text after the key up to the end of its line (or of the data read);
  // empty when the file or the key is missing. When the memory for the file
  // cannot be had, says so in a plain message box and answers empty; the
  // next request tries again.
  std::string ProductName();
  std::string ProductVersion();

  // The value of key in data as the file's bytes read (at most kBlockSize
  // of them are looked at): the reader's own search, for any data.
  static std::string ValueIn(std::string_view data, std::string_view key);

 private:
  // False when the memory could not be had (the file missing is a load that
  // finds nothing).
  bool Load();
  std::string Find(std::string_view key);
  static void PrepareLines(char* data, std::size_t size);
  static std::string FindIn(std::string_view prepared, std::string_view key);

  std::string prefix_;
  char* block_ = nullptr; // kBlockSize bytes once loaded
  std::size_t size_ = 0;  // bytes read into the block
};

} // namespace stmtlink

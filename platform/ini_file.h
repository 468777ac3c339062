// A reader of Windows-style profile (INI) files: "[section]" lines and
// "key=value" lines, ended by CR LF, LF or a lone CR. Section and key names
// compare without regard to ASCII case; blanks around names and values are
// dropped, and a value enclosed in one pair of double quotes loses them, as
// the system's profile reader does.
// Lines starting with ';' are comments. Works on bytes: the caller knows
// whether the file is CP932 (GetPrivateProfileString) or UTF-8 (host.ini).
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace stmtlink {

// How much of a profile file is read: a profile holds a few settings, and
// a file beyond this (or a device named as the file) is read only this far.
constexpr std::size_t kMaxProfileBytes = 64 * 1024;

class IniFile {
 public:
  // Reads at most kMaxProfileBytes of a regular Linux file; false when it
  // cannot be read or is no regular file.
  static bool Load(const std::string& linux_path, IniFile* out);
  static IniFile Parse(std::string_view content);

  bool HasSection(std::string_view section) const;
  // False when the section or the key is missing. A present key with an
  // empty value gives true and an empty string.
  bool Get(std::string_view section, std::string_view key, std::string* value) const;
  // Keys of a section in file order (first occurrence wins on duplicates).
  std::vector<std::string> Keys(std::string_view section) const;

 private:
  struct Entry {
    std::string section;
    std::string key;
    std::string value;
  };
  std::vector<Entry> entries_;
  std::vector<std::string> sections_;
};

} // namespace stmtlink

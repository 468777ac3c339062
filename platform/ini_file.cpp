#include "platform/ini_file.h"

#include "platform/env.h"

namespace stmtlink {
namespace {

std::string_view Trim(std::string_view s) {
  while (!s.empty() && (s.front() == ' ' || s.front() == '\t')) s.remove_prefix(1);
  while (!s.empty() && (s.back() == ' ' || s.back() == '\t' || s.back() == '\r'))
    s.remove_suffix(1);
  return s;
}

bool EqualsIgnoreAsciiCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i) {
    unsigned char x = static_cast<unsigned char>(a[i]);
    unsigned char y = static_cast<unsigned char>(b[i]);
    if (x >= 'a' && x <= 'z') x = static_cast<unsigned char>(x - 32);
    if (y >= 'a' && y <= 'z') y = static_cast<unsigned char>(y - 32);
    if (x != y) return false;
  }
  return true;
}

} // namespace

bool IniFile::Load(const std::string& linux_path, IniFile* out) {
  std::string content;
  if (!ReadFileUpTo(Env::Current(), linux_path, kMaxProfileBytes, &content)) return false;
  *out = Parse(content);
  return true;
}

IniFile IniFile::Parse(std::string_view content) {
  IniFile ini;
  std::string section;
  bool in_section = false;
  while (!content.empty()) {
    // A line ends in CR LF, LF or a lone CR, as the system's reader takes them.
    size_t eol = content.find_first_of("\r\n");
    std::string_view line = Trim(content.substr(0, eol));
    size_t next = eol == std::string_view::npos ? content.size() : eol + 1;
    if (eol != std::string_view::npos && content[eol] == '\r' && next < content.size() &&
        content[next] == '\n')
      ++next;
    content = content.substr(next);
    if (line.empty() || line.front() == ';') continue;
    if (line.front() == '[') {
      size_t close = line.find(']');
      section = std::string(Trim(line.substr(1, close == std::string_view::npos ? line.npos : close - 1)));
      in_section = true;
      if (!ini.HasSection(section)) ini.sections_.push_back(section);
      continue;
    }
    if (!in_section) continue;
    size_t eq = line.find('=');
    if (eq == std::string_view::npos) continue;
    std::string_view key = Trim(line.substr(0, eq));
    std::string_view value = Trim(line.substr(eq + 1));
    if (value.size() >= 2 && value.front() == '"' && value.back() == '"')
      value = value.substr(1, value.size() - 2);
    ini.entries_.push_back({section, std::string(key), std::string(value)});
  }
  return ini;
}

bool IniFile::HasSection(std::string_view section) const {
  for (const std::string& s : sections_)
    if (EqualsIgnoreAsciiCase(s, section)) return true;
  return false;
}

bool IniFile::Get(std::string_view section, std::string_view key, std::string* value) const {
  for (const Entry& e : entries_) {
    if (EqualsIgnoreAsciiCase(e.section, section) && EqualsIgnoreAsciiCase(e.key, key)) {
      *value = e.value;
      return true;
    }
  }
  return false;
}

std::vector<std::string> IniFile::Keys(std::string_view section) const {
  std::vector<std::string> keys;
  for (const Entry& e : entries_) {
    if (!EqualsIgnoreAsciiCase(e.section, section)) continue;
    bool seen = false;
    for (const std::string& k : keys) seen = seen || EqualsIgnoreAsciiCase(k, e.key);
    if (!seen) keys.push_back(e.key);
  }
  return keys;
}

} // namespace stmtlink

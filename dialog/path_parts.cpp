#include "dialog/path_parts.h"

#include "platform/mbcs.h"

namespace stmtlink {

std::size_t FindLastChar(std::string_view s, char c) {
  std::size_t found = std::string_view::npos;
  for (std::size_t i = 0; i < s.size(); i += MbcsCharLength(s, i))
    if (s[i] == c && MbcsCharLength(s, i) == 1) found = i;
  return found;
}

std::size_t FindFirstChar(std::string_view s, char c, std::size_t from) {
  for (std::size_t i = 0; i < s.size(); i += MbcsCharLength(s, i))
    if (i >= from && s[i] == c && MbcsCharLength(s, i) == 1) return i;
  return std::string_view::npos;
}

std::size_t FindDoubledBackslash(std::string_view s, std::size_t from) {
  for (std::size_t i = 0; i + 1 < s.size(); i += MbcsCharLength(s, i))
    if (i >= from && s[i] == '\\' && MbcsCharLength(s, i) == 1 && s[i + 1] == '\\') return i;
  return std::string_view::npos;
}

std::string FolderPart(std::string_view path) {
  std::size_t i = FindLastChar(path, '\\');
  return i == std::string_view::npos ? std::string() : std::string(path.substr(0, i + 1));
}

std::string FilePart(std::string_view path) {
  std::size_t i = FindLastChar(path, '\\');
  return std::string(i == std::string_view::npos ? path : path.substr(i + 1));
}

std::string DrivePart(std::string_view path) {
  std::size_t i = FindLastChar(path, ':');
  return i == std::string_view::npos ? std::string() : std::string(path.substr(0, i + 1));
}

std::string AfterDrivePart(std::string_view path) {
  std::size_t i = FindLastChar(path, ':');
  return std::string(i == std::string_view::npos ? path : path.substr(i + 1));
}

bool IsInDoubleByteChar(std::string_view s, std::size_t index) {
  for (std::size_t i = 0; i < s.size();) {
    std::size_t length = MbcsCharLength(s, i);
    if (index < i + length) return length == 2;
    i += length;
  }
  return false;
}

bool AppendSeparator(std::string* s, std::size_t buffer_size) {
  if (s->empty()) return false;
  // A double-byte last character gets a backslash even when its trail byte
  // is 0x5C; either way only when the buffer has room for it.
  if (!MbcsEndsWithDoubleByte(*s) && s->back() == '\\') return true;
  if (s->size() + 1 >= buffer_size) return false;
  s->push_back('\\');
  return true;
}

} // namespace stmtlink

#include "report/report_text.h"

#include <charconv>

#include "platform/mbcs.h"

namespace stmtlink {
namespace {

// In the order they are tried at each position.
constexpr std::string_view kRemoved[] = {
    " ", "　", "【", "】", "《", "》", "（", "）", "［", "］", "(製)",
};

// Bytes that start an entry: every other byte is copied without trying the
// table.
struct EntryStarts {
  bool starts[256] = {};
  constexpr EntryStarts() {
    for (std::string_view entry : kRemoved) starts[static_cast<unsigned char>(entry[0])] = true;
  }
};
constexpr EntryStarts kEntryStarts;

} // namespace

std::string CleanLabel(std::string_view text) {
  std::string out;
  AppendCleanLabel(&out, text);
  return out;
}

void AppendCleanLabel(std::string* out, std::string_view text) {
  std::size_t end = text.find('\0');
  if (end != std::string_view::npos) text = text.substr(0, end);
  out->reserve(out->size() + text.size());
  for (std::size_t i = 0; i < text.size();) {
    bool removed = false;
    if (kEntryStarts.starts[static_cast<unsigned char>(text[i])]) {
      for (std::string_view entry : kRemoved) {
        if (text.substr(i, entry.size()) == entry) {
          i += entry.size();
          removed = true;
          break;
        }
      }
    }
    if (removed) continue;
    std::size_t len = MbcsCharLength(text, i);
    out->append(text.substr(i, len));
    i += len;
  }
}

bool ContainsText(std::string_view text, std::string_view part) {
  if (part.empty()) return true;
  for (std::size_t i = 0; i + part.size() <= text.size(); i += MbcsCharLength(text, i)) {
    if (text.substr(i, part.size()) == part) return true;
  }
  return false;
}

std::string DecimalText(std::int64_t value) {
  char buffer[24];
  auto result = std::to_chars(buffer, buffer + sizeof(buffer), value);
  return std::string(buffer, result.ptr);
}

std::string AmountText(std::int64_t value) { return DecimalText(value / 10000); }

} // namespace stmtlink

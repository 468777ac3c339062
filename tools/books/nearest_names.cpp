#include "tools/books/nearest_names.h"

#include <algorithm>
#include <limits>

namespace stmtlink {
namespace {

// Code points of a UTF-8 text, for distances in characters, not bytes.
std::u32string CodePoints(std::string_view utf8) {
  std::u32string out;
  for (std::size_t i = 0; i < utf8.size();) {
    const unsigned char c = static_cast<unsigned char>(utf8[i]);
    const std::size_t n = c < 0x80 ? 1 : c < 0xE0 ? 2 : c < 0xF0 ? 3 : 4;
    char32_t code = n == 1 ? c : c & (n == 2 ? 0x1F : n == 3 ? 0x0F : 0x07);
    for (std::size_t k = 1; k < n && i + k < utf8.size(); ++k)
      code = (code << 6) | (static_cast<unsigned char>(utf8[i + k]) & 0x3F);
    out += code;
    i += n;
  }
  return out;
}

std::size_t EditDistance(const std::u32string& a, const std::u32string& b) {
  std::vector<std::size_t> row(b.size() + 1);
  for (std::size_t j = 0; j <= b.size(); ++j) row[j] = j;
  for (std::size_t i = 1; i <= a.size(); ++i) {
    std::size_t diagonal = row[0];
    row[0] = i;
    for (std::size_t j = 1; j <= b.size(); ++j) {
      const std::size_t above = row[j];
      row[j] = std::min({row[j] + 1, row[j - 1] + 1, diagonal + (a[i - 1] == b[j - 1] ? 0 : 1)});
      diagonal = above;
    }
  }
  return row[b.size()];
}

} // namespace

std::vector<std::string> NearestNames(std::string_view text, const std::vector<std::string>& names) {
  // Account names are short (the host keeps 30 bytes of one). A text or a
  // name far longer than any account name is compared with nothing, and
  // the distance is worked out only for texts of a name's length, so that
  // any text against any chart stays quick.
  constexpr std::size_t kLongestCompared = 256; // bytes
  constexpr std::size_t kEdited = 64;           // code points
  if (text.size() > kLongestCompared) return {};
  const std::u32string query = CodePoints(text);
  // A name that starts as the query does, all but its last character (at
  // least two), is near too and comes first among its equals: 法人税等 and
  // 法人税、住民税及び事業税, whose short form it is.
  const std::u32string stem = query.size() >= 3 ? query.substr(0, query.size() - 1) : query;
  std::vector<std::pair<std::size_t, const std::string*>> scored; // distance x 2, name
  for (const std::string& name : names) {
    if (name.size() > kLongestCompared) continue;
    const std::u32string candidate = CodePoints(name);
    std::size_t distance = std::numeric_limits<std::size_t>::max();
    if (query.size() <= kEdited && candidate.size() <= kEdited) distance = EditDistance(query, candidate);
    // A name that holds the query, or is held by it, is near whatever its length.
    if (candidate.find(query) != std::u32string::npos ||
        query.find(candidate) != std::u32string::npos)
      distance = std::min<std::size_t>(distance, 1);
    const bool same_start = stem.size() >= 2 && candidate.compare(0, stem.size(), stem) == 0;
    if (same_start) distance = std::min<std::size_t>(distance, 1);
    if (distance <= std::max<std::size_t>(2, query.size() / 2))
      scored.emplace_back(distance * 2 + (same_start ? 0 : 1), &name);
  }
  std::stable_sort(scored.begin(), scored.end(),
                   [](const auto& a, const auto& b) { return a.first < b.first; });
  std::vector<std::string> out;
  for (const auto& [distance, name] : scored) {
    if (std::find(out.begin(), out.end(), *name) != out.end()) continue;
    out.push_back(*name);
    if (out.size() == 3) break;
  }
  return out;
}

std::size_t NameDistance(std::string_view a, std::string_view b) {
  return EditDistance(CodePoints(a), CodePoints(b));
}

std::string NearestNamesText(const std::vector<std::string>& near) {
  std::string text;
  for (std::size_t i = 0; i < near.size(); ++i) text += (i == 0 ? "" : ", ") + near[i];
  return text;
}

} // namespace stmtlink

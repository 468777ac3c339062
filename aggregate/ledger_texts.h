// The texts of the ledger lines, each distinct text kept once: a ledger of
// two million rows has a few hundred dates and some thousand names and
// descriptions. A text is known by its number; number 0 is the empty text.
// Texts are bytes (CP932) of at most 255 bytes, as the records' fields are.
#pragma once

#include <cstdint>
#include <memory>
#include <string_view>
#include <vector>

namespace stmtlink {

class LedgerTexts {
 public:
  using Id = std::uint32_t;
  static constexpr std::size_t kMaxText = 255;

  // The number of the text, adding it when new. field (0 to kFields - 1)
  // says which record field it comes from: a text equal to that field's
  // last one is found without a look-up. Throws std::bad_alloc.
  static constexpr int kFields = 5;
  Id Intern(int field, std::string_view text);
  std::string_view Text(Id id) const { return {starts_[id], lengths_[id]}; }
  void Clear();

 private:
  static constexpr std::size_t kChunk = 64 * 1024;
  // Texts sit in fixed chunks that never move, so the look-up's keys can
  // point at them.
  std::vector<std::unique_ptr<char[]>> chunks_;
  std::size_t chunk_used_ = kChunk;
  std::vector<const char*> starts_{""};
  std::vector<std::uint8_t> lengths_{0};
  // Asked for every text of every line, so the look-up is one flat table
  // (open addressing, a power of two at most half full) of text numbers
  // with their hashes, found without chasing a node per text. The hash
  // takes eight bytes at a time.
  static std::uint64_t Hash(std::string_view text) noexcept;
  struct Slot {
    Id id = 0; // 0: empty
    std::uint32_t hash = 0;
  };
  void Grow();
  std::vector<Slot> slots_ = std::vector<Slot>(1024);
  std::size_t count_ = 0;
  Id last_[kFields] = {};
};

} // namespace stmtlink

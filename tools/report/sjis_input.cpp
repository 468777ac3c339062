#include "tools/report/sjis_input.h"

#include <unistd.h>

#include <algorithm>
#include <array>
#include <cerrno>
#include <cstdio>
#include <cstring>

#include "platform/text_codec.h"

namespace stmtlink::report {
namespace {

constexpr std::size_t kBlock = 64 * 1024;

bool IsLead(unsigned c) { return (c >= 0x81 && c <= 0x9F) || (c >= 0xE0 && c <= 0xFC); }
bool IsTrail(unsigned c) { return c >= 0x40 && c <= 0xFC && c != 0x7F; }

// UTF-8 of every double-byte character of code page 932, built once from
// iconv's table: up to three bytes and their count; count 0: no character.
struct DoubleByteTable {
  std::array<std::array<unsigned char, 4>, 65536> utf8{};
  DoubleByteTable() {
    for (unsigned lead = 0x81; lead <= 0xFC; ++lead) {
      if (!IsLead(lead)) continue;
      for (unsigned trail = 0x40; trail <= 0xFC; ++trail) {
        if (!IsTrail(trail)) continue;
        const char pair[2] = {static_cast<char>(lead), static_cast<char>(trail)};
        std::string out;
        if (!Cp932ToUtf8(std::string_view(pair, 2), &out) || out.empty() || out.size() > 3) continue;
        auto& entry = utf8[lead << 8 | trail];
        std::memcpy(entry.data(), out.data(), out.size());
        entry[3] = static_cast<unsigned char>(out.size());
      }
    }
  }
};

const DoubleByteTable& Table() {
  static const DoubleByteTable table;
  return table;
}

// ASCII that passes as it is: printable, and the tab.
constexpr std::array<bool, 256> kPlain = [] {
  std::array<bool, 256> plain{};
  for (unsigned c = 0x20; c < 0x80; ++c) plain[c] = true;
  plain['\t'] = true;
  return plain;
}();

} // namespace

SjisInput::SjisInput(int fd) : fd_(fd) {
  Table();
  pending_.reserve(3 * kBlock + 8);
}

SjisInput::~SjisInput() {
  if (fd_ >= 0) close(fd_);
}

void SjisInput::BadLineEnd() {
  if (bad_line_ends_++ == 0) first_bad_line_end_ = line_;
}

void SjisInput::EndOfCrLine() {
  if (after_cr_) {
    BadLineEnd();
    after_cr_ = false;
  }
}

void SjisInput::Fault(unsigned first, int second) {
  char hex[16];
  if (second >= 0)
    std::snprintf(hex, sizeof hex, "%02X %02X", first, static_cast<unsigned>(second));
  else
    std::snprintf(hex, sizeof hex, "%02X", first);
  encoding_fault_line_ = line_;
  encoding_fault_bytes_ = hex;
}

// Converts one block; a lead byte at its end waits for the next block.
// Writes through a pointer into room for the worst case (three bytes of
// UTF-8 for one byte of half-width katakana).
void SjisInput::Convert(const unsigned char* data, std::size_t size, bool last) {
  pending_.resize(3 * size + 8);
  char* out = pending_.data();
  std::size_t i = 0;
  if (carry_ >= 0 && size > 0) {
    if (!ConvertCarriedLead(data[0], &out)) {
      pending_.clear();
      return;
    }
    i = 1;
  }
  out = ConvertBytes(data, i, size, out);
  pending_.resize(static_cast<std::size_t>(out - pending_.data()));
  if (encoding_fault_line_ != 0) return;
  if (last) {
    if (carry_ >= 0) {
      Fault(static_cast<unsigned>(carry_), -1);
      carry_ = -1;
    }
    if (after_cr_) BadLineEnd();
    after_cr_ = false;
  }
}

// The lead byte left at the end of the last block with the first byte of
// this one; false (a fault) when they make no character.
bool SjisInput::ConvertCarriedLead(unsigned trail, char** out) {
  const unsigned lead = static_cast<unsigned>(carry_);
  carry_ = -1;
  const auto& entry = Table().utf8[lead << 8 | trail];
  if (entry[3] == 0) {
    Fault(lead, static_cast<int>(trail));
    return false;
  }
  std::memcpy(*out, entry.data(), 3);
  *out += entry[3];
  return true;
}

// Converts data[i..size) to out and returns the end of what it wrote. Stops
// at the first byte sequence that is not code page 932, and before a lead
// byte that ends the block (carried to the next).
char* SjisInput::ConvertBytes(const unsigned char* data, std::size_t i, std::size_t size,
                              char* out) {
  const DoubleByteTable& table = Table();
  while (i < size) {
    const unsigned c = data[i];
    if (kPlain[c]) { // the common case: a run of plain ASCII
      EndOfCrLine();
      std::size_t end = i + 1;
      while (end < size && kPlain[data[end]]) ++end;
      std::memcpy(out, data + i, end - i);
      out += end - i;
      i = end;
      continue;
    }
    if (c == '\r' || c == '\n') {
      LineEndByte(c);
      *out++ = static_cast<char>(c);
      ++i;
      continue;
    }
    EndOfCrLine();
    if (c < 0x20) { // other control bytes pass to the parser, which judges them
      *out++ = static_cast<char>(c);
      ++i;
      continue;
    }
    if (c == 0x80 || c == 0xA0 || c > 0xFC) {
      Fault(c, -1);
      break;
    }
    if (c >= 0xA1 && c <= 0xDF) { // half-width katakana: U+FF61..U+FF9F
      const unsigned u = 0xFF61 + (c - 0xA1);
      *out++ = static_cast<char>(0xE0 | (u >> 12));
      *out++ = static_cast<char>(0x80 | ((u >> 6) & 0x3F));
      *out++ = static_cast<char>(0x80 | (u & 0x3F));
      ++i;
      continue;
    }
    // A lead byte.
    if (i + 1 == size) {
      carry_ = static_cast<int>(c);
      break;
    }
    const auto& entry = table.utf8[c << 8 | data[i + 1]];
    if (entry[3] == 0) {
      Fault(c, data[i + 1]);
      break;
    }
    std::memcpy(out, entry.data(), 3);
    out += entry[3];
    i += 2;
  }
  return out;
}

// A CR, or an LF: CR LF is the one line end taken; a lone CR or LF is
// counted as a bad one.
void SjisInput::LineEndByte(unsigned c) {
  if (c == '\r') {
    if (after_cr_) BadLineEnd();
    after_cr_ = true;
    return;
  }
  if (!after_cr_) BadLineEnd();
  after_cr_ = false;
  ++line_;
}

void SjisInput::Fill() {
  unsigned char block[kBlock];
  ssize_t got;
  do got = read(fd_, block, sizeof block);
  while (got < 0 && errno == EINTR);
  if (got < 0) {
    read_error_ = true;
    read_error_number_ = errno;
    return;
  }
  if (head_.size() < 256)
    head_.append(reinterpret_cast<const char*>(block),
                 std::min<std::size_t>(static_cast<std::size_t>(got), 256 - head_.size()));
  bytes_read_ += static_cast<std::uint64_t>(got);
  pending_pos_ = 0;
  if (got == 0) eof_ = true;
  Convert(block, static_cast<std::size_t>(got), got == 0);
}

int SjisInput::Read(char* buffer, int size) {
  if (size <= 0) return 0;
  while (pending_pos_ == pending_.size()) {
    if (read_error_ || encoding_fault_line_ != 0) return -1;
    if (eof_) return 0;
    Fill();
  }
  const std::size_t n = std::min(pending_.size() - pending_pos_, static_cast<std::size_t>(size));
  std::memcpy(buffer, pending_.data() + pending_pos_, n);
  pending_pos_ += n;
  return static_cast<int>(n);
}

} // namespace stmtlink::report

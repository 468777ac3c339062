#include "ui/terminal_input.h"

#include <poll.h>
#include <signal.h>
#include <termios.h>
#include <unistd.h>

#include <cerrno>
#include <cstdint>

namespace stmtlink {
namespace {

constexpr char kEsc = '\x1b';
// How long after an Esc the rest of a sequence may take to arrive; a
// terminal sends a sequence in one write, a person never types that fast.
constexpr int kSequencePauseMs = 50;

// The terminal in non-canonical mode without echo and without signal keys
// for the life of the object; its own settings are back afterwards.
class RawTerminal {
 public:
  explicit RawTerminal(int fd) : fd_(fd) {
    active_ = tcgetattr(fd_, &saved_) == 0;
    Apply();
  }
  ~RawTerminal() { Restore(); }
  RawTerminal(const RawTerminal&) = delete;
  RawTerminal& operator=(const RawTerminal&) = delete;

  bool active() const { return active_; }
  void Apply() {
    if (!active_) return;
    termios raw = saved_;
    raw.c_lflag &= static_cast<tcflag_t>(~(ICANON | ECHO | ISIG | IEXTEN));
    raw.c_cc[VMIN] = 1;
    raw.c_cc[VTIME] = 0;
    tcsetattr(fd_, TCSANOW, &raw);
  }
  void Restore() {
    if (active_) tcsetattr(fd_, TCSANOW, &saved_);
  }

 private:
  int fd_;
  bool active_ = false;
  termios saved_{};
};

// 1 with a byte in *c, 0 when none came within timeout_ms (-1: wait), -1 at
// the end of input or on an error.
int ReadByte(int fd, int timeout_ms, char* c) {
  pollfd waiting{fd, POLLIN, 0};
  for (;;) {
    const int ready = poll(&waiting, 1, timeout_ms);
    if (ready == 0) return 0;
    if (ready < 0) {
      if (errno == EINTR) continue;
      return -1;
    }
    const ssize_t got = read(fd, c, 1);
    if (got == 1) return 1;
    if (got < 0 && errno == EINTR) continue;
    return -1;
  }
}

void Echo(std::FILE* echo, std::string_view text) {
  if (echo == nullptr) return;
  std::fwrite(text.data(), 1, text.size(), echo);
  std::fflush(echo);
}

// Columns that the last UTF-8 character of a line takes on a terminal: two
// for the wide East Asian characters, one for others.
int LastCharWidth(const std::string& line, std::size_t start) {
  const auto* s = reinterpret_cast<const unsigned char*>(line.data()) + start;
  const std::size_t n = line.size() - start;
  std::uint32_t code = n == 1 ? s[0] : s[0] & (0x7F >> n);
  for (std::size_t k = 1; k < n; ++k) code = code << 6 | (s[k] & 0x3F);
  const bool wide = (code >= 0x1100 && code <= 0x115F) || (code >= 0x2E80 && code <= 0xA4CF) ||
                    (code >= 0xAC00 && code <= 0xD7A3) || (code >= 0xF900 && code <= 0xFAFF) ||
                    (code >= 0xFE30 && code <= 0xFE4F) || (code >= 0xFF00 && code <= 0xFF60) ||
                    (code >= 0xFFE0 && code <= 0xFFE6) || (code >= 0x20000 && code <= 0x3FFFD);
  return wide ? 2 : 1;
}

// Drops the last character of the line and from the screen.
void EraseLastChar(std::string* line, std::FILE* echo) {
  if (line->empty()) return;
  std::size_t start = line->size() - 1;
  while (start > 0 && (static_cast<unsigned char>((*line)[start]) & 0xC0) == 0x80) --start;
  const int width = LastCharWidth(*line, start);
  line->erase(start);
  Echo(echo, width == 2 ? "\b\b  \b\b" : "\b \b");
}

// After an Esc: the key it starts, or kNone for a sequence that means
// nothing here (read to its end, so that none of it becomes text).
TerminalKey ReadAfterEscape(int fd) {
  char c = 0;
  if (ReadByte(fd, kSequencePauseMs, &c) != 1) return TerminalKey::kEscape;
  std::string sequence{kEsc, c};
  if (c == 'O') { // SS3: one more byte (F1 to F4, keypad)
    ReadByte(fd, kSequencePauseMs, &c);
    return TerminalKey::kNone;
  }
  if (c != '[') return TerminalKey::kEscape;
  // CSI: parameter and intermediate bytes, then one final byte.
  while (ReadByte(fd, kSequencePauseMs, &c) == 1) {
    sequence.push_back(c);
    if (c >= 0x40 && c <= 0x7E) break;
  }
  return KeyOfSequence(sequence);
}

// Gives the terminal back its settings while the signal of a control key
// takes its course (ending the program, or stopping it until it goes on).
void RaiseWithTerminalRestored(RawTerminal* terminal, int signal_number) {
  terminal->Restore();
  raise(signal_number);
  terminal->Apply();
}

bool ReadFromTerminal(int fd, std::FILE* echo, TerminalEntry* entry) {
  RawTerminal terminal(fd);
  for (;;) {
    char c = 0;
    if (ReadByte(fd, -1, &c) != 1) return !entry->line.empty();
    switch (c) {
      case '\r':
      case '\n':
        Echo(echo, "\n");
        return true;
      case kEsc:
        entry->key = ReadAfterEscape(fd);
        if (entry->key == TerminalKey::kNone) continue;
        Echo(echo, entry->key == TerminalKey::kF12 ? "[F12]\n" : "[Esc]\n");
        entry->line.clear();
        return true;
      case '\x7f':
      case '\b':
        EraseLastChar(&entry->line, echo);
        continue;
      case '\x15': // Ctrl-U
        while (!entry->line.empty()) EraseLastChar(&entry->line, echo);
        continue;
      case '\x04': // Ctrl-D
        if (entry->line.empty()) return false;
        continue;
      case '\x03':
        RaiseWithTerminalRestored(&terminal, SIGINT);
        continue;
      case '\x1a':
        RaiseWithTerminalRestored(&terminal, SIGTSTP);
        continue;
      case '\x1c':
        RaiseWithTerminalRestored(&terminal, SIGQUIT);
        continue;
      default:
        if (static_cast<unsigned char>(c) < 0x20) continue; // other control keys
        entry->line.push_back(c);
        Echo(echo, std::string_view(&c, 1));
    }
  }
}

bool ReadLineFromStream(std::FILE* in, TerminalEntry* entry) {
  int c;
  bool any = false;
  while ((c = std::fgetc(in)) != EOF) {
    any = true;
    if (c == '\n') break;
    entry->line.push_back(static_cast<char>(c));
  }
  if (!any) return false;
  entry->key = KeyOfSequence(entry->line);
  if (entry->key != TerminalKey::kNone) entry->line.clear();
  return true;
}

} // namespace

TerminalKey KeyOfSequence(std::string_view sequence) {
  if (sequence == "\x1b") return TerminalKey::kEscape;
  if (sequence == "\x1b[24~") return TerminalKey::kF12;
  return TerminalKey::kNone;
}

bool ReadTerminalEntry(std::FILE* in, std::FILE* echo, TerminalEntry* entry) {
  *entry = TerminalEntry{};
  const int fd = fileno(in);
  if (fd >= 0 && isatty(fd)) return ReadFromTerminal(fd, echo, entry);
  return ReadLineFromStream(in, entry);
}

} // namespace stmtlink

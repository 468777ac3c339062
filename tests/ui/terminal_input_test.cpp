// Lines and keys from a pipe and from a real terminal (a pseudo-terminal):
// F12 and Esc act without Enter, the line is edited and echoed, and the
// terminal gets its own settings back after every read.
#include "ui/terminal_input.h"

#include <fcntl.h>
#include <termios.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <cstdlib>
#include <future>
#include <string>
#include <thread>

#include "tests/support/utf8.h"

namespace stmtlink {
namespace {

using testing::U8;

TEST(TerminalInputTest, FromAPipeALineOfJustASequenceIsItsKey) {
  std::string input = "abc\n\x1b\n\x1b[24~\n\n\x1b[A\nlast";
  std::FILE* in = fmemopen(input.data(), input.size(), "r");
  TerminalEntry e;
  std::vector<std::pair<TerminalKey, std::string>> seen;
  while (ReadTerminalEntry(in, nullptr, &e)) seen.emplace_back(e.key, e.line);
  std::fclose(in);
  const std::vector<std::pair<TerminalKey, std::string>> expected = {
      {TerminalKey::kNone, "abc"}, {TerminalKey::kEscape, ""}, {TerminalKey::kF12, ""},
      {TerminalKey::kNone, ""},    {TerminalKey::kNone, "\x1b[A"}, {TerminalKey::kNone, "last"}};
  EXPECT_EQ(expected, seen);
}

// A pseudo-terminal: the test types on the master side, the reader reads the
// slave side as the program reads its terminal.
class PseudoTerminal {
 public:
  PseudoTerminal() {
    master_ = posix_openpt(O_RDWR | O_NOCTTY);
    if (master_ < 0 || grantpt(master_) != 0 || unlockpt(master_) != 0) return;
    const int slave = open(ptsname(master_), O_RDWR | O_NOCTTY);
    if (slave >= 0) slave_ = fdopen(slave, "r");
    echo_ = open_memstream(&echo_buffer_, &echo_size_);
  }
  ~PseudoTerminal() {
    if (slave_) std::fclose(slave_);
    if (master_ >= 0) close(master_);
    std::fclose(echo_);
    std::free(echo_buffer_);
  }
  bool ok() const { return slave_ != nullptr; }
  termios Settings() const {
    termios t{};
    tcgetattr(fileno(slave_), &t);
    return t;
  }
  // Reads one entry while typing `keys` once the reader has switched the
  // terminal (so the keys meet its settings, not the line discipline's).
  bool Type(const std::string& keys, TerminalEntry* entry) {
    auto reading = std::async(std::launch::async, [&] { return ReadTerminalEntry(slave_, echo_, entry); });
    while (Settings().c_lflag & ICANON) std::this_thread::yield();
    EXPECT_EQ(static_cast<ssize_t>(keys.size()), write(master_, keys.data(), keys.size()));
    return reading.get();
  }
  std::string Echoed() {
    std::fflush(echo_);
    return std::string(echo_buffer_, echo_size_);
  }

 private:
  int master_ = -1;
  std::FILE* slave_ = nullptr;
  std::FILE* echo_ = nullptr;
  char* echo_buffer_ = nullptr;
  std::size_t echo_size_ = 0;
};

TEST(TerminalInputTest, OnATerminalKeysActAtOnceAndTheLineIsEdited) {
  PseudoTerminal terminal;
  ASSERT_TRUE(terminal.ok());
  const termios before = terminal.Settings();
  ASSERT_TRUE(before.c_lflag & ICANON);
  TerminalEntry e;

  ASSERT_TRUE(terminal.Type("\x1b[24~", &e)); // no Enter after it
  EXPECT_EQ(TerminalKey::kF12, e.key);
  ASSERT_TRUE(terminal.Type("\x1b", &e)); // Esc alone, told by the pause
  EXPECT_EQ(TerminalKey::kEscape, e.key);
  // Backspace takes a whole character (the wide one off two columns); an
  // arrow key types nothing.
  ASSERT_TRUE(terminal.Type(U8(u8"a表b\x7f\x7f\x1b[Ac\r"), &e));
  EXPECT_EQ(TerminalKey::kNone, e.key);
  EXPECT_EQ("ac", e.line);
  EXPECT_EQ(U8(u8"[F12]\n[Esc]\na表b\b \b\b\b  \b\bc\n"), terminal.Echoed());
  EXPECT_FALSE(terminal.Type("\x04", &e)); // Ctrl-D on an empty line

  const termios after = terminal.Settings();
  EXPECT_EQ(before.c_lflag, after.c_lflag);
  EXPECT_EQ(before.c_cc[VMIN], after.c_cc[VMIN]);
}

} // namespace
} // namespace stmtlink

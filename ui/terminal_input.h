// Reading the user's answers on a terminal: lines of text, and the keys
// that have no text, which terminals send as escape sequences (Esc alone,
// F12 as ESC [ 2 4 ~).
//
// On a terminal the keys act as soon as they are pressed: for the time of
// one read the terminal is switched to non-canonical input without echo,
// and the reader echoes and edits the line itself (Backspace, Ctrl-U;
// Ctrl-D on an empty line ends the input). Ctrl-C, Ctrl-Z and Ctrl-\ give
// the terminal back its own settings first, then raise their signals, so
// an interrupted program never leaves the terminal without echo. Other
// sequences (arrows, other function keys) are ignored. An Esc is told from
// the start of a sequence by a short pause after it; a byte that follows
// it at once but starts no sequence (Alt with a key) is dropped.
//
// From a pipe or a file the input is read line by line, and a line that
// holds nothing but a key's sequence counts as that key.
#pragma once

#include <cstdio>
#include <string>
#include <string_view>

namespace stmtlink {

enum class TerminalKey { kNone, kEscape, kF12 };

struct TerminalEntry {
  TerminalKey key = TerminalKey::kNone; // a key pressed instead of a line
  std::string line;                     // the line typed, without its line feed
};

// One entry from in; on a terminal, what is typed is echoed to echo (when
// not null). False at the end of input with nothing read.
bool ReadTerminalEntry(std::FILE* in, std::FILE* echo, TerminalEntry* entry);

// The key that a whole escape sequence stands for; kNone for other text.
TerminalKey KeyOfSequence(std::string_view sequence);

} // namespace stmtlink

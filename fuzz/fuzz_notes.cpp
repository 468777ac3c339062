// The notes texts of the host's financial-statement settings: the switches
// and the group table of kinds 100 and 0, and the note records of kind 1000
// split into lines. The input is the three texts, separated by NUL bytes.
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "notes/notes_reader.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string input(reinterpret_cast<const char*>(data), size);
  std::string texts[3];
  std::size_t start = 0;
  for (std::string& text : texts) {
    const std::size_t end = input.find('\0', start);
    text = input.substr(start, end == std::string::npos ? std::string::npos : end - start);
    if (end == std::string::npos) break;
    start = end + 1;
  }
  const int input_on = stmtlink::NoteInputOnIn(texts[0]);
  const int output_on = stmtlink::NoteOutputOnIn(texts[1]);
  if ((input_on != 0 && input_on != 1) || (output_on != 0 && output_on != 1)) __builtin_trap();
  unsigned char flags[stmtlink::kNoteGroupCount + 1] = {};
  flags[stmtlink::kNoteGroupCount] = 0xA5; // a guard past the table
  stmtlink::NoteGroupFlagsIn(texts[0], flags);
  if (flags[stmtlink::kNoteGroupCount] != 0xA5) __builtin_trap();

  std::vector<std::string> lines;
  stmtlink::SplitNoteText(texts[2], &lines);
  for (const std::string& line : lines)
    if (line.find("\r\n") != std::string::npos) __builtin_trap();
  return 0;
}

// The receiver's fixed tree of notes to the financial statements: 177 note
// elements in output order, each with its note group (the switch that
// enables it), its seven-digit note number, the level at which it is
// written (its children are the rows that follow with a greater level) and
// its element name. A row with number 0 ends the table.
#pragma once

#include <cstdint>

namespace stmtlink {

struct NoteRow {
  std::uint8_t group;   // index into the note-group switches, 0 to 10
  std::int32_t number;  // seven digits; 0 ends the table
  std::uint8_t level;   // depth of the element, 3 to 8
  const char* name;
};

constexpr int kNoteCount = 177;
constexpr int kNoteTableRows = kNoteCount + 1; // with the ending row

extern const NoteRow kNoteTable[kNoteTableRows];

} // namespace stmtlink

// The notes to the financial statements ("ListNotesNonConsolidated"): the
// receiver's fixed tree of 177 note elements (note_table.h), each written
// when its group is switched on and its note record is marked for display,
// with the note's text as "Line" elements.
//
// A note record in the note lines begins at a line holding "<ID>" and the
// note number; line +3 holds "<Disp>" and the display mark (1: shown),
// line +4 "<Value>", and the lines from +5 on hold "<Line>" text each.
#pragma once

#include <string>
#include <vector>

namespace stmtlink {

class XmlWriter;

// The note lines and group switches the notes reader produced.
struct NotesInput {
  const std::vector<std::string>* lines = nullptr;
  const unsigned char* group_flags = nullptr; // at least 11 entries
};

// Writes the whole section at depth 2. 1 on success, 0 on a failed write.
//
// A note that is not written but has a shown descendant: the shown
// descendants are written in its place, at their own levels, each element
// once (a shown note keeps its own shown descendants inside it).
int WriteNotesSection(XmlWriter& xml, const NotesInput& notes);

// Whether the record of that note number carries the display mark 1.
bool IsNoteShown(const std::vector<std::string>& lines, long number);

} // namespace stmtlink

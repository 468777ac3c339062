// The notes (個別注記表) as the document prints them: one numbered heading
// per top-level note that has anything to say, in the order the report
// first gives each, with its lines (and their depth) under it. A note with
// no line is no heading; a note met again after another (a note shown in
// place of its hidden parent) joins its heading's lines instead of
// printing the heading twice.
#pragma once

#include <string>
#include <vector>

#include "tools/report/report_tree.h"

namespace stmtlink::report {

struct NoteLine {
  int depth = 0; // 0: directly under the heading
  std::string text;
};

struct NoteSection {
  std::string heading; // "1．重要な会計方針に係る事項に関する注記"; "" for lines under no note
  std::vector<NoteLine> lines;
};

// The notes of ListNotesNonConsolidated (may be null: no notes).
std::vector<NoteSection> NotesForm(const Node* notes);

// What the notes' page says when the report carries none.
extern const char kNoNotes[];

} // namespace stmtlink::report

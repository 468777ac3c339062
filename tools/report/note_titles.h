// The notes' headings: the eleven top-level notes' Japanese titles, and for
// every note below them the top-level note it belongs to, so that a note
// shown while its parent is not still comes under its heading.
#pragma once

#include <string_view>

namespace stmtlink::report {

// The Japanese title of a top-level note element, or nullptr.
const char* NoteTitle(std::string_view element);
// The title of the top-level note that element belongs to (itself for a
// top-level note); nullptr for an element that is no note.
const char* NoteGroupTitle(std::string_view element);

} // namespace stmtlink::report

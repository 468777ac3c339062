// The notes operations of the aggregator: it owns the settings store that
// the notes reader fetches through.
#include "aggregate/statement_aggregator.h"
#include "notes/notes_reader.h"

namespace stmtlink {

int StatementAggregator::IsNoteInputOn() { return stmtlink::IsNoteInputOn(&settingsStore_); }

int StatementAggregator::IsNoteOutputOn() { return stmtlink::IsNoteOutputOn(&settingsStore_); }

void StatementAggregator::ReadNoteGroupFlags(unsigned char* flags) {
  stmtlink::ReadNoteGroupFlags(&settingsStore_, flags);
}

int StatementAggregator::ReadNoteText(std::string* text) {
  return stmtlink::ReadNoteText(&settingsStore_, text);
}

} // namespace stmtlink

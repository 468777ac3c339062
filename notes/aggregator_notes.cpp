// The notes operations of the aggregator: it owns the settings store that
// the notes reader fetches through.
#include "aggregate/statement_aggregator.h"
#include "notes/notes_reader.h"

namespace stmtlink {

int StatementAggregator::IsNoteInputOn(RunFailure* failure) {
  return stmtlink::IsNoteInputOn(&settingsStore_, failure);
}

int StatementAggregator::IsNoteOutputOn(RunFailure* failure) {
  return stmtlink::IsNoteOutputOn(&settingsStore_, failure);
}

void StatementAggregator::ReadNoteGroupFlags(unsigned char* flags, RunFailure* failure) {
  stmtlink::ReadNoteGroupFlags(&settingsStore_, flags, failure);
}

int StatementAggregator::ReadNoteText(std::string* text, RunFailure* failure) {
  return stmtlink::ReadNoteText(&settingsStore_, text, failure);
}

} // namespace stmtlink

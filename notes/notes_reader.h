// The notes to the financial statements, as the user keeps them in the
// host's financial-statement settings store: two switches that decide
// whether notes are output at all (kind 100 "InputMode", kind 0 "Note="),
// one display switch per note group (the "[Note_" sections of kind 100 with
// their "Disp=" lines), and the note records (kind 1000), a text of CR LF
// lines with XML entities in place of five characters.
//
// The settings store is owned by the aggregator; every fetch replaces it
// with a fresh one, as the host expects.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "AccUty/run_failure.h"
#include "host/save_kessansho.h"

namespace stmtlink {

// The table of note-group switches: one byte per "[Note_" section in the
// order the sections appear; sections beyond the 50th are ignored.
constexpr int kNoteGroupCount = 50;

using SettingsStore = std::unique_ptr<ClSaveKessansho>;

// A block of the settings store, released with CoTaskMemFree.
struct HostTextDeleter {
  void operator()(char* block) const;
};
using HostText = std::unique_ptr<char, HostTextDeleter>;

// Replaces *store with a new settings store for the selected data set and
// fetches one kind of text into *text. *text stays null when the books keep
// no such setting (a normal case) and when a host call failed, which is
// returned and fails the run.
RunFailure FetchStatementSettings(SettingsStore* store, short kind, HostText* text);

// The operations below keep a failed fetch in *failure (the run's).
// 1 when kind 100's "InputMode" value is positive.
int IsNoteInputOn(SettingsStore* store, RunFailure* failure);
// 1 when kind 0's "Note=" value is positive.
int IsNoteOutputOn(SettingsStore* store, RunFailure* failure);
// Fills flags[0..] with the "Disp=" values of the "[Note_" sections of kind
// 100, cut to 8 bits. The caller zeroes the table first; a failed fetch
// leaves it as it was.
void ReadNoteGroupFlags(SettingsStore* store, unsigned char flags[kNoteGroupCount], RunFailure* failure);
// The same readings of a fetched text (the switch of kind 100, of kind 0,
// the group table of kind 100).
int NoteInputOnIn(const std::string& text);
int NoteOutputOnIn(const std::string& text);
void NoteGroupFlagsIn(const std::string& text, unsigned char flags[kNoteGroupCount]);
// The note records (kind 1000); empty when they cannot be fetched. Always 1.
int ReadNoteText(SettingsStore* store, std::string* text, RunFailure* failure);
// Decodes the five entities and splits the text at CR LF into lines (empty
// lines kept; a text without CR LF is one line; an empty text none).
void SplitNoteText(const std::string& text, std::vector<std::string>* lines);

} // namespace stmtlink

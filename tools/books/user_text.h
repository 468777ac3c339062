// Texts from the user's files on their way into the books and into the
// import's messages.
//
// The program's report is Shift_JIS XML with CR LF lines: a text in it can
// carry no control character (U+0000 to U+001F, U+007F), no line break
// inside it among them. Names are refused when they hold one. A journal's
// description is different: a line break or a tab in it is what a
// spreadsheet cell written with Alt+Enter exports, so each run of them
// becomes one space and the import says which lines it changed. A notes
// text keeps its CR LF lines, which are how the notes are kept.
//
// Every check is one pass over the bytes: the journal's descriptions are
// read a million times in a large import.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace stmtlink {

// The user's text as a message quotes it: at most kMessageTextLength
// characters, cut between two characters and ended with "…" when longer;
// control characters shown as <U+000A>, so that a message stays one
// readable line. Used wherever the books tool quotes the user's text.
constexpr std::size_t kMessageTextLength = 60;
std::string TextForMessage(std::string_view utf8);

// Why a text cannot be a name, a company name or a notes line in the books
// (false, *why ending a sentence that starts with "the name ..."): a
// control character, or a character that Shift_JIS lacks. True when it can.
//   "holds a control character, which the report cannot carry: U+0009 (a tab)"
//   "cannot be written in Shift_JIS: '🍣' (U+1F363)"
bool FitsReportText(std::string_view utf8, std::string* why);

// A notes text: as FitsReportText, except that CR LF ends a line of it.
bool FitsNotesText(std::string_view utf8, std::string* why);

// The text without leading and trailing spaces, half- or full-width (U+3000),
// as names and headings are compared: "普通預金　" names 普通預金.
std::string_view WithoutOuterSpaces(std::string_view utf8);

enum class DescriptionCleaning {
  kUnchanged,
  kJoined,  // line breaks or tabs were made spaces
  kRefused, // *why says which control character
};
// Each run of CR, LF and TAB in *text becomes one space; any other control
// character refuses the text, with *why as for FitsReportText. Shift_JIS
// is left to the caller, which checks each distinct text once.
DescriptionCleaning CleanDescription(std::string* text, std::string* why);

// The lines of one file whose texts the import changed, for the notice
// after it: the first few by number, then how many more.
class ChangedLines {
 public:
  static constexpr std::size_t kMaxShown = 5;
  void Add(long line);
  bool empty() const { return count_ == 0; }
  std::size_t count() const { return count_; }
  // "2, 5, 9, 14, 20 and 3 more"
  std::string Text() const;

 private:
  std::vector<long> shown_;
  std::size_t count_ = 0;
};

} // namespace stmtlink

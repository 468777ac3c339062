// The report lines of one general-ledger row (HJ00780S02 and its eight
// elements), assembled in one text. A ledger of millions of rows has a few
// thousand distinct texts (dates, names, descriptions): each is escaped, and
// cleaned where it is a label, once, the first time its number comes; the
// lines around the values are made once too. The bytes are those the
// line writer (xml_writer.h) writes for the same elements.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "aggregate/ledger_line.h"

namespace stmtlink {

class LedgerRowText {
 public:
  LedgerRowText();

  // The row's lines, valid until the next call.
  std::string_view Make(const LedgerLineList::const_iterator& row);

 private:
  struct Element {
    std::string open;  // the tabs and the start tag
    std::string close; // the end tag and CR LF
  };
  struct Made {
    std::uint32_t start = 0;
    std::uint32_t length = 0;
    bool made = false;
  };
  // The escaped (and, for a label, cleaned) text of the row's field.
  std::string_view Text(const LedgerLineList::const_iterator& row, LedgerLineList::TextField field,
                        bool label);
  static char* Put(char* at, std::string_view part);
  char* Append(char* at, const Element& element, std::string_view value);

  std::string row_open_, row_close_;
  Element elements_[8];
  std::vector<Made> made_[2]; // by text number: plain texts, labels
  std::string bytes_;         // the made texts, end to end
  std::string scratch_;
  std::string uncached_;
  std::string text_; // the row at its start; its size is the room
};

} // namespace stmtlink

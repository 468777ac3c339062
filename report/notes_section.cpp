#include "report/notes_section.h"

#include "report/note_table.h"
#include "report/xml_writer.h"

namespace stmtlink {
namespace {

constexpr int kFailed = -1;

bool Contains(const std::string& line, const char* tag) { return line.find(tag) != std::string::npos; }

// Whether the line opens the record of the note number: it holds "<ID>"
// and the text after the first "<ID>" contains the number.
bool OpensRecord(const std::string& line, const std::string& number) {
  std::size_t id = line.find("<ID>");
  return id != std::string::npos && line.find(number, id + 4) != std::string::npos;
}

class NotesWriter {
 public:
  NotesWriter(XmlWriter& xml, const NotesInput& notes) : xml_(xml), notes_(notes) {}

  // Writes the subtree of row `row`; the index of the first row after it,
  // or kFailed.
  int WriteTree(int row) {
    const NoteRow& note = kNoteTable[row];
    int end = row + 1;
    while (end < kNoteCount && kNoteTable[end].number > 0 && kNoteTable[end].level > note.level) ++end;

    const bool written = notes_.group_flags[note.group] != 0 && IsNoteShown(*notes_.lines, note.number);
    if (written) {
      if (!xml_.OpenElement(note.name, note.level)) return kFailed;
      if (!WriteText(note.number, note.level + 1)) return kFailed;
    }
    for (int child = row + 1; child < end;) {
      child = WriteTree(child);
      if (child == kFailed) return kFailed;
    }
    if (written && !xml_.CloseElement(note.name, note.level)) return kFailed;
    return end;
  }

 private:
  // The record's "<Line>" lines as "Line" elements; false on a failed write.
  bool WriteText(long number, int depth) {
    const std::vector<std::string>& lines = *notes_.lines;
    const std::string key = std::to_string(number);
    for (std::size_t i = 0; i < lines.size(); ++i) {
      if (!OpensRecord(lines[i], key)) continue;
      if (i + 4 >= lines.size() || !Contains(lines[i + 4], "<Value>")) return true;
      for (std::size_t t = i + 5; t < lines.size() && Contains(lines[t], "<Line>"); ++t) {
        std::string text = lines[t].substr(lines[t].find("<Line>") + 6);
        for (std::size_t end; (end = text.find("</Line>")) != std::string::npos;) text.erase(end, 7);
        if (!xml_.WriteElement("Line", text, depth)) return false;
      }
      return true;
    }
    return true; // a note without a record has no text
  }

  XmlWriter& xml_;
  const NotesInput& notes_;
};

} // namespace

bool IsNoteShown(const std::vector<std::string>& lines, long number) {
  const std::string key = std::to_string(number);
  for (std::size_t i = 0; i < lines.size(); ++i) {
    if (!OpensRecord(lines[i], key)) continue;
    if (i + 3 >= lines.size()) continue;
    std::size_t disp = lines[i + 3].find("<Disp>");
    if (disp == std::string::npos) continue;
    return disp + 6 < lines[i + 3].size() && lines[i + 3][disp + 6] == '1';
  }
  return false;
}

int WriteNotesSection(XmlWriter& xml, const NotesInput& notes) {
  static const std::vector<std::string> kNoLines;
  static const unsigned char kNoGroups[16] = {};
  NotesInput input = notes;
  if (!input.lines) input.lines = &kNoLines;
  if (!input.group_flags) input.group_flags = kNoGroups;

  if (!xml.OpenElement("ListNotesNonConsolidated", 2)) return 0;
  NotesWriter writer(xml, input);
  for (int row = 0; row < kNoteTableRows && kNoteTable[row].number > 0;) {
    row = writer.WriteTree(row);
    if (row == kFailed) return 0;
  }
  return xml.CloseElement("ListNotesNonConsolidated", 2);
}

} // namespace stmtlink

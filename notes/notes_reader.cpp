#include "notes/notes_reader.h"

#include <cstdlib>
#include <cstring>
#include <string_view>

#include "AccUty/host_cursor_setup.h"
#include "host/data_mgr.h"
#include "host/host_errors.h"
#include "host/set_data.h"
#include "platform/com_memory.h"

namespace stmtlink {
namespace {

constexpr char kNotesWhat[] = "注記";

// The text up to the first CR, LF or the end.
std::string_view LineAt(std::string_view text) {
  std::size_t end = text.find_first_of("\r\n");
  return end == std::string_view::npos ? text : text.substr(0, end);
}

// The C library's leading-number conversion of a piece of text.
long LeadingInteger(std::string_view text) { return std::strtol(std::string(text).c_str(), nullptr, 10); }

void ReplaceAll(std::string* text, std::string_view from, std::string_view to) {
  std::string result;
  result.reserve(text->size());
  std::size_t pos = 0;
  for (std::size_t hit; (hit = text->find(from, pos)) != std::string::npos; pos = hit + from.size()) {
    result.append(*text, pos, hit - pos);
    result.append(to);
  }
  result.append(*text, pos, std::string::npos);
  *text = std::move(result);
}

} // namespace

void HostTextDeleter::operator()(char* block) const { CoTaskMemFree(block); }

RunFailure FetchStatementSettings(SettingsStore* store, short kind, HostText* text) {
  text->reset();
  *store = std::make_unique<ClSaveKessansho>();
  ClSaveKessansho* settings = store->get();
  RunFailure failure = AttachToCompanyData(settings, "ClSaveBase", nullptr, kNotesWhat);
  if (failure.failed()) return failure;

  char* block = nullptr;
  long length = 0;
  long result = settings->GetDataType02(kind, &block, &length);
  HostText fetched(block);
  // Books without that setting answer "no rows": the notes are off or
  // empty. Anything else is a failure of the read.
  if (result == kHostEndOfRows) return failure;
  if (HostReadOk(result, "ClSaveKessansho::GetDataType02", kNotesWhat, &failure) &&
      HostObjectOk(fetched.get(), "ClSaveKessansho::GetDataType02", kNotesWhat, &failure))
    *text = std::move(fetched);
  return failure;
}

int NoteInputOnIn(const std::string& text) {
  std::string_view all(text);
  std::size_t key = all.find("InputMode");
  if (key == std::string_view::npos) return 0;
  std::size_t equals = all.find('=', key + 1);
  if (equals == std::string_view::npos) return 0;
  return LeadingInteger(LineAt(all.substr(equals + 1))) > 0 ? 1 : 0;
}

int NoteOutputOnIn(const std::string& text) {
  std::string_view all(text);
  std::size_t key = all.find("Note=");
  if (key == std::string_view::npos) return 0;
  std::string_view value = all.substr(key + 5);
  if (value.empty()) return 0;
  return LeadingInteger(LineAt(value)) > 0 ? 1 : 0;
}

void NoteGroupFlagsIn(const std::string& text, unsigned char flags[kNoteGroupCount]) {
  std::string_view all(text);
  if (all.empty()) return;
  int next = 0;
  std::size_t pos = 0;
  for (;;) {
    std::size_t section = all.find("[Note_", pos);
    if (section == std::string_view::npos) break;
    // The "Disp=" line is searched from 9 bytes into the section header.
    std::size_t from = section + 9;
    if (from > all.size()) break;
    std::size_t disp = all.find("Disp=", from);
    if (disp == std::string_view::npos) break;
    std::size_t value = disp + 5;
    if (value >= all.size()) break;
    // A section without its own "Disp=" takes the next section's value, as
    // the host's reader does; tables of more than 50 sections lose the rest.
    if (next < kNoteGroupCount)
      flags[next] = static_cast<unsigned char>(std::strtol(all.data() + value, nullptr, 10));
    ++next;
    pos = value;
  }
}

int IsNoteInputOn(SettingsStore* store, RunFailure* failure) {
  HostText text;
  if (failure->Note(FetchStatementSettings(store, kSettingsKindDisplay, &text)) || !text) return 0;
  return NoteInputOnIn(text.get());
}

int IsNoteOutputOn(SettingsStore* store, RunFailure* failure) {
  HostText text;
  if (failure->Note(FetchStatementSettings(store, kSettingsKindOutput, &text)) || !text) return 0;
  return NoteOutputOnIn(text.get());
}

void ReadNoteGroupFlags(SettingsStore* store, unsigned char flags[kNoteGroupCount], RunFailure* failure) {
  HostText text;
  if (failure->Note(FetchStatementSettings(store, kSettingsKindDisplay, &text)) || !text) return;
  NoteGroupFlagsIn(text.get(), flags);
}

int ReadNoteText(SettingsStore* store, std::string* text, RunFailure* failure) {
  text->clear();
  HostText fetched;
  if (!failure->Note(FetchStatementSettings(store, kSettingsKindNotes, &fetched)) && fetched)
    *text = fetched.get();
  return 1;
}

void SplitNoteText(const std::string& text, std::vector<std::string>* lines) {
  lines->clear();
  std::string decoded = text;
  // One entity after the other, each over the whole text.
  ReplaceAll(&decoded, "&amp;", "&");
  ReplaceAll(&decoded, "&lt;", "<");
  ReplaceAll(&decoded, "&gt;", ">");
  ReplaceAll(&decoded, "&apos;", "'");
  ReplaceAll(&decoded, "&quot;", "\"");

  if (decoded.find("\r\n") == std::string::npos) {
    if (!decoded.empty()) lines->push_back(decoded);
    return;
  }
  if (decoded.size() < 2 || decoded.compare(decoded.size() - 2, 2, "\r\n") != 0) decoded += "\r\n";
  std::size_t pos = 0;
  for (std::size_t end; (end = decoded.find("\r\n", pos)) != std::string::npos; pos = end + 2)
    lines->push_back(decoded.substr(pos, end - pos));
}

} // namespace stmtlink

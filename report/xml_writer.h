// The line writer of the report file. Every element is one text line:
// `depth` tabs, the tag(s), CR LF; nothing else is written between lines.
// Texts pass through as bytes (the report is Shift_JIS because every text
// that reaches the writer is); only element content and attribute values are
// escaped, and only the five characters & < > " '. Attribute values are
// always in double quotes, separated by one space; an element without
// content is written as <Name></Name>, never in the self-closing form.
//
// Lines are assembled in a growable buffer, so a text of any length is
// written whole; lines whose texts fit the receiver's 256-byte lines come
// out exactly as they always did.
//
// The file replaces its target only at Close (platform/cfile.h): the first
// failed write drops it, from then on every write answers 0 and writes
// nothing, and Close does nothing more. Abort (or the destructor, for a
// writer that never reached Close) drops it too, so a report that failed
// half-way never stands where the user's earlier report stood.
#pragma once

#include <string>
#include <string_view>

namespace stmtlink {

class CFile;

class XmlWriter {
 public:
  XmlWriter() = default;
  // Drops a file that was not closed (Abort).
  virtual ~XmlWriter();

  XmlWriter(const XmlWriter&) = delete;
  XmlWriter& operator=(const XmlWriter&) = delete;

  // Starts the file that will replace the Windows path `path`, through
  // `file` (not owned; kept until Close). 0 on success; -1 when the file or
  // the path is missing or the file cannot be created there.
  int Open(CFile* file, const char* path);

  // Writes the bytes of text with one write. 1 on success, 0 on failure.
  int WriteText(std::string_view text);
  // "<name a1="v1" a2="v2">" on a line of its own. An attribute is written
  // only when both its name and value are given (a value may be empty); the
  // second never without the first. 1 on success, 0 on failure.
  int OpenElement(const char* name, int depth, const char* attr_name1 = nullptr,
                  const char* attr_value1 = nullptr, const char* attr_name2 = nullptr,
                  const char* attr_value2 = nullptr);
  // "<name a1="v1" a2="v2">value</name>" on one line; the value is always
  // written, so an empty one gives <name></name>.
  int WriteElement(const char* name, std::string_view value, int depth,
                   const char* attr_name1 = nullptr, const char* attr_value1 = nullptr,
                   const char* attr_name2 = nullptr, const char* attr_value2 = nullptr);
  // "</name>" on a line of its own.
  int CloseElement(const char* name, int depth);

  // Puts the file on the disk in place of its target and forgets it. 0 when
  // it is in place (or no file was held), -1 when the final flush, the
  // close or the rename failed: the target is then as it was.
  int Close();
  // Drops the file unwritten; the target stays as it was.
  void Abort();

  // Whether a file is held (false after Close and after a failed write).
  bool is_open() const { return file_ != nullptr; }

  // text with & > < " ' replaced by their entities, byte by byte: the trail
  // bytes of double-byte characters (0x40 and above) never equal one of
  // them. Every other byte, control bytes included, is copied unchanged.
  static std::string EscapeText(std::string_view text);
  static void AppendEscaped(std::string* out, std::string_view text);

  // The lines the writer writes, appended to *out instead: a caller that
  // writes many short lines together (the general ledger's rows) assembles
  // them and hands them to WriteText at once. No attributes.
  static void AppendOpenLine(std::string* out, std::string_view name, int depth);
  static void AppendElementLine(std::string* out, std::string_view name, std::string_view value,
                                int depth);
  static void AppendCloseLine(std::string* out, std::string_view name, int depth);

 private:
  // `depth` tabs and the '<' of a new line.
  static void AppendLineStart(std::string* out, int depth);
  // Appends the attributes that are given, each as ` name="value"`.
  void AppendAttributes(const char* attr_name1, const char* attr_value1, const char* attr_name2,
                        const char* attr_value2);

  CFile* file_ = nullptr;
  std::string path_;
  std::string line_; // reused for every line
};

} // namespace stmtlink

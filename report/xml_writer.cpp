#include "report/xml_writer.h"

#include <cstring>

#include "platform/cfile.h"

namespace stmtlink {

XmlWriter::~XmlWriter() { Abort(); }

void XmlWriter::Abort() {
  if (file_ == nullptr) return;
  file_->Abort();
  file_ = nullptr;
}

int XmlWriter::Open(CFile* file, const char* path) {
  if (file == nullptr || path == nullptr || path[0] == '\0') return -1;
  file_ = file;
  path_ = path;
  // No share flag: the file is meant for this writer alone (Linux keeps no
  // mandatory share modes, so this is a statement of intent only).
  if (!file->Open(path, CFile::modeCreate | CFile::modeWrite)) {
    file_ = nullptr;
    return -1;
  }
  return 0;
}

int XmlWriter::WriteText(std::string_view text) {
  if (file_ == nullptr) return 0;
  try {
    file_->Write(text.data(), static_cast<UINT>(text.size()));
  } catch (const CFileException&) {
    // The file is dropped at once; the target keeps what it held.
    file_->Abort();
    file_ = nullptr;
    return 0;
  }
  return 1;
}

void XmlWriter::AppendLineStart(std::string* out, int depth) {
  // Tabs and the '<' in one copy: the report writes millions of lines.
  static constexpr char kIndent[] = "\t\t\t\t\t\t\t\t\t\t\t\t\t\t\t\t<";
  constexpr std::size_t kMaxQuick = sizeof(kIndent) - 2;
  if (depth <= 0) {
    out->push_back('<');
  } else if (static_cast<std::size_t>(depth) <= kMaxQuick) {
    out->append(kIndent + kMaxQuick - static_cast<std::size_t>(depth),
                static_cast<std::size_t>(depth) + 1);
  } else {
    out->append(static_cast<std::size_t>(depth), '\t');
    out->push_back('<');
  }
}

void XmlWriter::AppendOpenLine(std::string* out, std::string_view name, int depth) {
  AppendLineStart(out, depth);
  out->append(name);
  out->append(">\r\n", 3);
}

void XmlWriter::AppendElementLine(std::string* out, std::string_view name, std::string_view value,
                                  int depth) {
  AppendLineStart(out, depth);
  out->append(name);
  out->push_back('>');
  AppendEscaped(out, value);
  out->append("</", 2);
  out->append(name);
  out->append(">\r\n", 3);
}

void XmlWriter::AppendCloseLine(std::string* out, std::string_view name, int depth) {
  AppendLineStart(out, depth);
  out->push_back('/');
  out->append(name);
  out->append(">\r\n", 3);
}

void XmlWriter::AppendAttributes(const char* attr_name1, const char* attr_value1,
                                 const char* attr_name2, const char* attr_value2) {
  if (attr_name1 == nullptr || attr_value1 == nullptr) return;
  line_.push_back(' ');
  line_.append(attr_name1);
  line_.append("=\"");
  AppendEscaped(&line_, attr_value1);
  line_.push_back('"');
  if (attr_name2 == nullptr || attr_value2 == nullptr) return;
  line_.push_back(' ');
  line_.append(attr_name2);
  line_.append("=\"");
  AppendEscaped(&line_, attr_value2);
  line_.push_back('"');
}

int XmlWriter::OpenElement(const char* name, int depth, const char* attr_name1,
                           const char* attr_value1, const char* attr_name2,
                           const char* attr_value2) {
  if (file_ == nullptr) return 0;
  line_.clear();
  AppendLineStart(&line_, depth);
  line_.append(name);
  AppendAttributes(attr_name1, attr_value1, attr_name2, attr_value2);
  line_.append(">\r\n");
  return WriteText(line_);
}

int XmlWriter::WriteElement(const char* name, std::string_view value, int depth,
                            const char* attr_name1, const char* attr_value1,
                            const char* attr_name2, const char* attr_value2) {
  if (file_ == nullptr) return 0;
  const std::string_view tag(name);
  line_.clear();
  if (attr_name1 == nullptr || attr_value1 == nullptr) {
    AppendElementLine(&line_, tag, value, depth);
    return WriteText(line_);
  }
  AppendLineStart(&line_, depth);
  line_.append(tag);
  AppendAttributes(attr_name1, attr_value1, attr_name2, attr_value2);
  line_.push_back('>');
  AppendEscaped(&line_, value);
  line_.append("</", 2);
  line_.append(tag);
  line_.append(">\r\n", 3);
  return WriteText(line_);
}

int XmlWriter::CloseElement(const char* name, int depth) {
  if (file_ == nullptr) return 0;
  line_.clear();
  AppendCloseLine(&line_, name, depth);
  return WriteText(line_);
}

int XmlWriter::Close() {
  if (file_ == nullptr) return 0;
  CFile* file = file_;
  file_ = nullptr;
  try {
    // The report is on the disk before its success is reported.
    file->Flush();
    file->Close();
  } catch (const CFileException&) {
    file->Abort();
    return -1;
  }
  return 0;
}

namespace {

// The bytes that are written as entities.
struct EscapedBytes {
  bool is[256] = {};
  constexpr EscapedBytes() {
    for (unsigned char c : {'&', '>', '<', '"', '\''}) is[c] = true;
  }
};
constexpr EscapedBytes kEscaped;

} // namespace

void XmlWriter::AppendEscaped(std::string* out, std::string_view text) {
  std::size_t start = 0;
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (!kEscaped.is[static_cast<unsigned char>(text[i])]) continue;
    const char* entity;
    switch (text[i]) {
      case '&': entity = "&amp;"; break;
      case '>': entity = "&gt;"; break;
      case '<': entity = "&lt;"; break;
      case '"': entity = "&quot;"; break;
      case '\'': entity = "&apos;"; break;
      default: continue;
    }
    out->append(text.substr(start, i - start));
    out->append(entity);
    start = i + 1;
  }
  out->append(text.substr(start));
}

std::string XmlWriter::EscapeText(std::string_view text) {
  std::string out;
  AppendEscaped(&out, text);
  return out;
}

} // namespace stmtlink

#include "tools/report/report_reader.h"

#include <libxml/xmlerror.h>
#include <libxml/xmlreader.h>
#include <unistd.h>

#include <cctype>
#include <climits>
#include <cstring>
#include <memory>
#include <optional>

#include "tools/report/input_file.h"
#include "tools/report/parser_reasons.h"
#include "tools/report/prolog_scan.h"
#include "tools/report/quoted_text.h"
#include "tools/report/report_schema.h"
#include "tools/report/sjis_input.h"
#include "tools/report/system_reasons.h"

namespace stmtlink::report {
namespace {

// libxml2's own messages (loading the schema) would go to standard error;
// a report's problems reach the caller as results instead. (A global
// structured handler would take the reader's errors away from it.)
void QuietGeneric(void*, const char*, ...) {}

// The parser's text: the report converted to UTF-8, its prolog followed on
// the way for the line of a DOCTYPE.
struct ParserInput {
  SjisInput* file;
  PrologScan prolog;
};
int ReadInput(void* context, char* buffer, int size) {
  auto* input = static_cast<ParserInput*>(context);
  const int got = input->file->Read(buffer, size);
  if (got > 0) input->prolog.Feed(buffer, static_cast<std::size_t>(got));
  return got;
}
int CloseInput(void*) { return 0; }

bool DeclaresShiftJis(const std::string& head) {
  const std::size_t end = head.find('>');
  std::string decl = head.substr(0, end);
  for (char& c : decl) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return decl.find("encoding=\"shift_jis\"") != std::string::npos ||
         decl.find("encoding='shift_jis'") != std::string::npos;
}

// What a ledger field holds.
enum class Field { kNone, kAccount, kCategory, kOpening, kClosing, kEntryNo, kDate, kSub,
                   kCounter, kCounterSub, kDescription, kAmount, kBalance };

// "HJ00780S0010" .. "HJ00780S0120": the field of its number.
Field LedgerField(const char* name) {
  if (std::strncmp(name, "HJ00780S0", 9) != 0) return Field::kNone;
  const char* n = name + 9;
  if (n[0] < '0' || n[0] > '9' || n[1] < '0' || n[1] > '9' || n[2] != '0' || n[3] != '\0')
    return Field::kNone;
  switch ((n[0] - '0') * 10 + (n[1] - '0')) {
    case 1: return Field::kAccount;
    case 2: return Field::kCategory;
    case 3: return Field::kOpening;
    case 4: return Field::kClosing;
    case 5: return Field::kEntryNo;
    case 6: return Field::kDate;
    case 7: return Field::kSub;
    case 8: return Field::kCounter;
    case 9: return Field::kCounterSub;
    case 10: return Field::kDescription;
    case 11: return Field::kAmount;
    case 12: return Field::kBalance;
    default: return Field::kNone;
  }
}

ParserFault FaultOf(const xmlError& error) {
  ParserFault fault;
  fault.code = error.code;
  if (error.str1) fault.first = error.str1;
  if (error.str2) fault.second = error.str2;
  fault.number = error.int1;
  return fault;
}

class Reader {
 public:
  Reader(const ReadOptions& options, ReadResult* result) : options_(options), result_(result) {}

  bool Run(const std::string& path);

 private:
  static void OnError(void* self, xmlErrorPtr error) { static_cast<Reader*>(self)->Error(error); }
  void Error(xmlErrorPtr error);
  bool Refuse(Refusal refusal, std::string detail, long line = 0);
  // Plugs the schema of the options into the reader; false after a refusal.
  bool PlugSchema();
  std::string Path() const;
  long LineOfCurrent();
  bool StartElement();
  bool EndElement();
  bool EndLedgerElement(const char* name);
  bool CheckDeclaration();
  bool ReadNode();
  void ReadText();
  bool Finish(int status);
  bool RefuseParserFault();
  bool Amount(const std::string& text, std::int64_t* value);
  // A finding of the ledger's own form check, at line.
  void FormProblem(long line, std::string message);

  const ReadOptions& options_;
  ReadResult* result_;
  xmlTextReaderPtr reader_ = nullptr;
  SjisInput* input_ = nullptr;
  ParserInput* parser_input_ = nullptr;
  bool read_any_ = false; // a node has been read

  std::vector<const char*> names_; // the open elements, outermost first
  std::vector<Node*> nodes_;       // the open elements kept in the tree
  int ledger_depth_ = -1;          // depth of HJ00780S while inside it
  std::string* text_ = nullptr;    // where the current element's text goes
  std::unique_ptr<ReportSchema> own_schema_; // loaded from options_.schema_path
  std::optional<LedgerFormCheck> form_;      // the ledger's form, when the schema leaves it
  std::string ledger_text_;
  LedgerBlock block_;
  bool block_begun_ = false;
  LedgerRow row_;
  long element_line_ = 0;

  // The validator works where the parser is, a little ahead of the node
  // the reader hands over: an error waits for the node of its line.
  struct PendingError {
    long line;
    std::string message;
  };
  void Resolve(long line, bool all);
  std::vector<PendingError> pending_errors_;
  bool fatal_ = false;
  ParserFault fatal_fault_;
  long fatal_line_ = 0;
};

void Reader::Error(xmlErrorPtr error) {
  if (error == nullptr) return;
  std::string message = error->message ? error->message : "";
  while (!message.empty() && (message.back() == '\n' || message.back() == ' ')) message.pop_back();
  if (error->domain == XML_FROM_SCHEMASV || error->domain == XML_FROM_SCHEMASP) {
    pending_errors_.push_back({error->line, message});
    return;
  }
  if (error->level >= XML_ERR_ERROR && !fatal_) {
    fatal_ = true;
    fatal_fault_ = FaultOf(*error);
    fatal_line_ = error->line;
  }
}

bool Reader::Refuse(Refusal refusal, std::string detail, long line) {
  result_->refusal = refusal;
  result_->refusal_detail = std::move(detail);
  result_->refusal_place.line = line;
  result_->refusal_place.path = Path();
  return false;
}

std::string Reader::Path() const {
  std::string path;
  for (const char* name : names_) {
    path += '/';
    path += name;
  }
  return path;
}

// The line of the node at hand: exact while the parser counts it in the
// node (up to 65,534), else where the parser is, a few lines on at most.
// Only elements and character data carry a line: a DOCTYPE's node is no
// xmlNode, and what lies at its place is no line.
long Reader::LineOfCurrent() {
  xmlNodePtr node = xmlTextReaderCurrentNode(reader_);
  const bool has_line = node != nullptr &&
                        (node->type == XML_ELEMENT_NODE || node->type == XML_TEXT_NODE ||
                         node->type == XML_CDATA_SECTION_NODE || node->type == XML_COMMENT_NODE ||
                         node->type == XML_PI_NODE);
  if (has_line && node->line > 0 && node->line < USHRT_MAX) return node->line;
  return xmlTextReaderGetParserLineNumber(reader_);
}

bool Reader::Amount(const std::string& text, std::int64_t* value) {
  if (ParseAmount(text, value)) return true;
  return Refuse(Refusal::kNotNumber, text, element_line_);
}

void Reader::FormProblem(long line, std::string message) {
  Resolve(line, false); // the validator's findings before it first
  if (++result_->schema_problem_count <= kMaxSchemaProblems)
    result_->schema_problems.push_back({{line, Path()}, std::move(message)});
}

bool Reader::StartElement() {
  const char* name = reinterpret_cast<const char*>(xmlTextReaderConstLocalName(reader_));
  if (name == nullptr) return Refuse(Refusal::kBroken, "名前のない要素があります", LineOfCurrent());
  element_line_ = LineOfCurrent();
  if (names_.empty() && std::strcmp(name, "REPORT") != 0)
    return Refuse(Refusal::kNotReport, "ルート要素が " + Quoted(name) + " です", element_line_);
  names_.push_back(name);
  text_ = nullptr;

  if (ledger_depth_ >= 0) {
    if (form_ && form_->active()) {
      const long line = element_line_;
      const auto report = [&](std::string message) { FormProblem(line, std::move(message)); };
      form_->Start(name,
                   reinterpret_cast<const char*>(xmlTextReaderConstNamespaceUri(reader_)),
                   report);
      if (form_->checking() && xmlTextReaderHasAttributes(reader_) == 1) {
        while (xmlTextReaderMoveToNextAttribute(reader_) == 1)
          if (xmlTextReaderIsNamespaceDecl(reader_) != 1)
            form_->Attribute(name,
                             reinterpret_cast<const char*>(xmlTextReaderConstName(reader_)),
                             report);
        xmlTextReaderMoveToElement(reader_);
      }
    }
    ledger_text_.clear();
    text_ = &ledger_text_;
    if (std::strcmp(name, "HJ00780S01") == 0) {
      block_ = LedgerBlock{};
      block_.line = element_line_;
      block_begun_ = false;
    } else if (std::strcmp(name, "HJ00780S02") == 0) {
      if (!block_begun_ && options_.ledger) options_.ledger->BeginBlock(block_);
      block_begun_ = true;
      row_.line = element_line_;
    }
    return true;
  }

  Node* node;
  if (nodes_.empty()) {
    node = &result_->root;
  } else {
    nodes_.back()->children.emplace_back();
    node = &nodes_.back()->children.back();
  }
  node->name = name;
  node->line = element_line_;
  while (xmlTextReaderMoveToNextAttribute(reader_) == 1) {
    const char* attribute = reinterpret_cast<const char*>(xmlTextReaderConstLocalName(reader_));
    const char* value = reinterpret_cast<const char*>(xmlTextReaderConstValue(reader_));
    if (attribute == nullptr || value == nullptr) continue;
    if (std::strcmp(attribute, "Label") == 0) {
      node->label = value;
    } else if (std::strcmp(attribute, "Amount") == 0) {
      node->has_amount_attribute = true;
      std::int64_t amount = 0;
      if (*value != '\0' && !Amount(value, &amount)) return false;
      node->amount = amount;
    }
  }
  xmlTextReaderMoveToElement(reader_);
  nodes_.push_back(node);
  text_ = &node->text;
  if (std::strcmp(name, "HJ00780S") == 0) {
    result_->has_ledger = true;
    ledger_depth_ = static_cast<int>(names_.size());
    if (form_) form_->Start(name, nullptr, [](std::string) {});
  }
  return true;
}

bool Reader::EndLedgerElement(const char* name) {
  switch (LedgerField(name)) {
    case Field::kAccount:
      block_.account = ledger_text_;
      // Beyond the parser's own count, the start tag's line is where the
      // parser was: the first field's exact line says it better.
      if (block_.line >= USHRT_MAX) block_.line = element_line_ - 1;
      break;
    case Field::kCategory: block_.category = ledger_text_; break;
    case Field::kOpening: return Amount(ledger_text_, &block_.opening);
    case Field::kClosing: return Amount(ledger_text_, &block_.closing);
    case Field::kEntryNo:
      row_.entry_no = ledger_text_;
      if (row_.line >= USHRT_MAX) row_.line = element_line_ - 1;
      break;
    case Field::kDate: row_.date = ledger_text_; break;
    case Field::kSub: row_.sub_account = ledger_text_; break;
    case Field::kCounter: row_.counter_account = ledger_text_; break;
    case Field::kCounterSub: row_.counter_sub_account = ledger_text_; break;
    case Field::kDescription: row_.description = ledger_text_; break;
    case Field::kAmount: return Amount(ledger_text_, &row_.amount);
    case Field::kBalance: return Amount(ledger_text_, &row_.balance);
    case Field::kNone:
      if (std::strcmp(name, "HJ00780S02") == 0) {
        if (options_.ledger) options_.ledger->Row(row_);
        row_ = LedgerRow{};
      } else if (std::strcmp(name, "HJ00780S01") == 0) {
        if (options_.ledger) {
          if (!block_begun_) options_.ledger->BeginBlock(block_);
          options_.ledger->EndBlock();
        }
        block_begun_ = false;
      }
      break;
  }
  return true;
}

bool Reader::EndElement() {
  if (names_.empty()) return true;
  const char* name = names_.back();
  if (form_ && form_->active()) {
    // A row, a block or the ledger is named by the line of its start, a
    // field by its own.
    long line = element_line_;
    if (std::strcmp(name, "HJ00780S02") == 0)
      line = row_.line;
    else if (std::strcmp(name, "HJ00780S01") == 0)
      line = block_.line;
    else if (static_cast<int>(names_.size()) == ledger_depth_ && !nodes_.empty())
      line = nodes_.back()->line;
    form_->End(name, ledger_text_,
               [&](std::string message) { FormProblem(line, std::move(message)); });
  }
  if (ledger_depth_ >= 0 && static_cast<int>(names_.size()) > ledger_depth_) {
    if (!EndLedgerElement(name)) return false;
  } else if (!nodes_.empty()) {
    Node* node = nodes_.back();
    if (IsAmountElement(node->name)) {
      std::int64_t amount = 0;
      element_line_ = node->line;
      if (!Amount(node->text, &amount)) return false;
      node->amount = amount;
    }
    nodes_.pop_back();
    if (static_cast<int>(names_.size()) == ledger_depth_) ledger_depth_ = -1;
  }
  names_.pop_back();
  text_ = nullptr;
  return true;
}

void Reader::Resolve(long line, bool all) {
  std::size_t kept = 0;
  for (std::size_t i = 0; i < pending_errors_.size(); ++i) {
    PendingError& e = pending_errors_[i];
    if (!all && e.line > line) {
      if (kept != i) pending_errors_[kept] = std::move(e);
      ++kept;
      continue;
    }
    if (++result_->schema_problem_count <= kMaxSchemaProblems)
      result_->schema_problems.push_back({{e.line, Path()}, std::move(e.message)});
  }
  pending_errors_.resize(kept);
}

bool Reader::PlugSchema() {
  if (options_.schema != nullptr) {
    if (xmlTextReaderSetSchema(reader_, options_.schema->get()) != 0)
      return Refuse(Refusal::kNoSchema, "");
  } else if (!options_.schema_path.empty()) {
    // Looked at first: libxml2 would wait on a FIFO and read a device on.
    std::string reason;
    if (!IsReadableRegularFile(options_.schema_path, &reason))
      return Refuse(Refusal::kNoSchema, options_.schema_path + ": " + reason);
    if (!(own_schema_ = ReportSchema::Load(options_.schema_path)) ||
        xmlTextReaderSetSchema(reader_, own_schema_->get()) != 0)
      return Refuse(Refusal::kNoSchema, options_.schema_path + ": スキーマとして読めません");
  }
  const ReportSchema* schema = options_.schema ? options_.schema : own_schema_.get();
  if (schema != nullptr && schema->ledger_form() != nullptr) form_.emplace(*schema->ledger_form());
  return true;
}

bool Reader::Run(const std::string& path) {
  std::string reason;
  const int fd = OpenRegularFile(path, &reason);
  if (fd < 0) return Refuse(Refusal::kCannotOpen, reason);
  SjisInput input(fd);
  input_ = &input;
  ParserInput parser_input{&input, {}};
  parser_input_ = &parser_input;

  xmlSetGenericErrorFunc(nullptr, QuietGeneric);
  reader_ = xmlReaderForIO(ReadInput, CloseInput, &parser_input, path.c_str(), nullptr,
                           XML_PARSE_NONET | XML_PARSE_IGNORE_ENC | XML_PARSE_COMPACT | XML_PARSE_NOBLANKS |
                               XML_PARSE_BIG_LINES);
  if (reader_ == nullptr) return Refuse(Refusal::kNotReport, "XML の読み取りを始められません");
  std::unique_ptr<xmlTextReader, void (*)(xmlTextReaderPtr)> owner(reader_, xmlFreeTextReader);
  // The handler goes in before the schema: libxml2 2.9 calls the reader's
  // handler with the wrong context once schema validation is plugged in.
  // Parse errors then reach neither; the parser's last error says them.
  xmlTextReaderSetStructuredErrorHandler(reader_, &Reader::OnError, this);
  if (!PlugSchema()) return false;
  pending_errors_.clear();
  xmlResetLastError();

  int status;
  while ((status = xmlTextReaderRead(reader_)) == 1)
    if (!ReadNode()) return false;
  Resolve(0, true);
  result_->bytes = input.bytes_read();
  result_->bad_line_ends = input.bad_line_ends();
  result_->first_bad_line_end = input.first_bad_line_end();
  return Finish(status);
}

// The file's first bytes, looked at with the first node (or at the end,
// when there was none): a report starts with an XML declaration of
// Shift_JIS.
bool Reader::CheckDeclaration() {
  if (input_->head().compare(0, 5, "<?xml") != 0) return Refuse(Refusal::kNotReport, "", 1);
  if (!DeclaresShiftJis(input_->head())) return Refuse(Refusal::kNotShiftJis, "", 1);
  return true;
}

// One node from the parser; false after a refusal.
bool Reader::ReadNode() {
  if (!read_any_) {
    read_any_ = true;
    if (!CheckDeclaration()) return false;
  }
  const int type = xmlTextReaderNodeType(reader_);
  bool ok = true;
  if (type == XML_READER_TYPE_ELEMENT) {
    ok = StartElement();
    if (ok && xmlTextReaderIsEmptyElement(reader_)) {
      Resolve(element_line_, false);
      ok = EndElement();
    }
  } else if (type == XML_READER_TYPE_END_ELEMENT) {
    // the path still names the element while its end is judged
  } else if (type == XML_READER_TYPE_TEXT || type == XML_READER_TYPE_CDATA ||
             type == XML_READER_TYPE_SIGNIFICANT_WHITESPACE || type == XML_READER_TYPE_WHITESPACE) {
    ReadText();
  } else if (type == XML_READER_TYPE_DOCUMENT_TYPE) {
    // A report declares no DOCTYPE: its entities and external DTD are
    // never read, and the refusal names the declaration's own line.
    const long line = parser_input_->prolog.doctype_line();
    return Refuse(Refusal::kNotReport, "DOCTYPE 宣言があります",
                  line > 0 ? line : xmlTextReaderGetParserLineNumber(reader_));
  } else if (type == XML_READER_TYPE_ENTITY_REFERENCE) {
    // Named by the element whose content holds the reference.
    return Refuse(Refusal::kNotReport, "実体参照があります",
                  element_line_ > 0 ? element_line_ : LineOfCurrent());
  }
  if (!ok) return false;
  if (!pending_errors_.empty() && type == XML_READER_TYPE_ELEMENT) Resolve(element_line_, false);
  if (type == XML_READER_TYPE_END_ELEMENT && !EndElement()) return false;
  return true;
}

// Character data: to the ledger's form check, and to the element that
// keeps its text.
void Reader::ReadText() {
  if (form_ && form_->active())
    if (const xmlChar* value = xmlTextReaderConstValue(reader_))
      form_->Text(names_.back(), reinterpret_cast<const char*>(value),
                  [&](std::string message) { FormProblem(LineOfCurrent(), std::move(message)); });
  if (text_ == nullptr) return;
  const xmlChar* value = xmlTextReaderConstValue(reader_);
  if (value != nullptr) text_->append(reinterpret_cast<const char*>(value));
  // A text knows its line exactly, also beyond 65,534 (BIG_LINES):
  // the line of a one-line element's content is the element's.
  if (element_line_ >= USHRT_MAX)
    if (const long line = xmlGetLineNo(xmlTextReaderCurrentNode(reader_)); line > 0)
      element_line_ = line;
}

// After the last node (status: the parser's last answer): the input's
// faults, then the parser's, then the root.
bool Reader::Finish(int status) {
  if (input_->encoding_fault_line() > 0)
    return Refuse(Refusal::kNotShiftJis, input_->encoding_fault_bytes(),
                  input_->encoding_fault_line());
  if (!read_any_ && !CheckDeclaration()) return false;
  if (input_->read_error())
    return Refuse(Refusal::kCannotOpen, FileReason(input_->read_error_number(), FileUse::kReading));
  if (status < 0 || fatal_) return RefuseParserFault();
  if (result_->root.name != "REPORT") return Refuse(Refusal::kNotReport, "");
  return true;
}

// The parser's fault, or one it met without reaching the handler: the file
// cut short, not a report at all, or broken.
bool Reader::RefuseParserFault() {
  if (!fatal_) { // the parser's own fault, where it did not reach the handler
    if (xmlErrorPtr last = xmlGetLastError()) {
      fatal_fault_ = FaultOf(*last);
      fatal_line_ = last->line;
    }
  }
  const long line = fatal_line_ > 0 ? fatal_line_ : xmlTextReaderGetParserLineNumber(reader_);
  // Cut short: the parser ran out of text inside an element, or failed
  // on the file's last line with the whole file read.
  const bool cut_short = fatal_fault_.code == XML_ERR_TAG_NOT_FINISHED ||
                         fatal_fault_.code == XML_ERR_DOCUMENT_END ||
                         (input_->at_end() && line >= input_->lines());
  const std::string reason = ParserFaultReason(fatal_fault_);
  if (!names_.empty() && cut_short) return Refuse(Refusal::kTruncated, reason, line);
  if (names_.empty() && !read_any_) return Refuse(Refusal::kNotReport, reason, line);
  return Refuse(Refusal::kBroken, reason, line);
}

} // namespace

bool ReadReport(const std::string& path, const ReadOptions& options, ReadResult* result) {
  *result = ReadResult{};
  Reader reader(options, result);
  return reader.Run(path);
}

std::string DefaultSchemaPath() {
  char buffer[4096];
  const ssize_t n = readlink("/proc/self/exe", buffer, sizeof buffer - 1);
  if (n <= 0) return "stmtlink-report.xsd";
  std::string exe(buffer, static_cast<std::size_t>(n));
  return exe.substr(0, exe.rfind('/') + 1) + "stmtlink-report.xsd";
}

} // namespace stmtlink::report

#include "tools/report/report_check.h"

#include <cstdio>

#include "tools/report/era_date.h"
#include "tools/report/filing_warnings.h"
#include "tools/report/ledger_checks.h"
#include "tools/report/parser_reasons.h"
#include "tools/report/quoted_text.h"
#include "tools/report/statement_checks.h"

namespace stmtlink::report {
namespace {

const char* SeverityWord(Severity severity) {
  switch (severity) {
    case Severity::kError: return "エラー";
    case Severity::kWarning: return "警告";
    case Severity::kRounding: return "端数差";
  }
  return "";
}

const char* SeverityKey(Severity severity) {
  switch (severity) {
    case Severity::kError: return "error";
    case Severity::kWarning: return "warning";
    case Severity::kRounding: return "rounding";
  }
  return "";
}

std::string JsonString(const std::string& text) {
  std::string out = "\"";
  for (unsigned char c : text) {
    switch (c) {
      case '"': out += "\\\""; break;
      case '\\': out += "\\\\"; break;
      case '\n': out += "\\n"; break;
      case '\r': out += "\\r"; break;
      case '\t': out += "\\t"; break;
      default:
        if (c < 0x20) {
          char escaped[8];
          std::snprintf(escaped, sizeof escaped, "\\u%04x", c);
          out += escaped;
        } else {
          out += static_cast<char>(c);
        }
    }
  }
  return out + "\"";
}

const char* StatusKey(int exit_status, bool refused) {
  if (refused) return "unreadable";
  return exit_status == kExitClean ? "clean" : exit_status == kExitWarnings ? "warnings" : "errors";
}

} // namespace

namespace {

void Check(const std::string& path, ReadOptions options, CheckOutcome* outcome) {
  Findings& findings = outcome->findings;
  LedgerChecker ledger(&findings);
  options.ledger = &ledger;
  if (!ReadReport(path, options, &outcome->read)) {
    outcome->findings = Findings{};
    outcome->exit_status = kExitErrors;
    return;
  }
  const ReadResult& read = outcome->read;
  ledger.Finish();
  outcome->ledger_blocks = ledger.blocks();
  outcome->ledger_rows = ledger.rows();
  if (read.bad_line_ends > 0)
    findings.Add(Severity::kError, "file.line_end",
                 "改行が CR LF でない行が " + std::to_string(read.bad_line_ends) +
                     " か所あります（最初は " + std::to_string(read.first_bad_line_end) + " 行目）。",
                 read.first_bad_line_end);
  for (const SchemaProblem& problem : read.schema_problems)
    findings.Add(Severity::kError, "file.schema", "レポートの形に合いません: " + SchemaProblemReason(problem.message),
                 problem.place.line, problem.place.path);
  if (read.schema_problem_count > kMaxSchemaProblems)
    findings.Add(Severity::kError, "file.schema",
                 "レポートの形に合わない箇所は、ほかに " +
                     std::to_string(read.schema_problem_count - kMaxSchemaProblems) + " か所あります。");
  CheckStatements(read.root, &findings);
  AddFilingWarnings(read.root, &findings);
  outcome->exit_status = findings.Count(Severity::kError) > 0     ? kExitErrors
                         : findings.Count(Severity::kWarning) > 0 ? kExitWarnings
                                                                  : kExitClean;
}

} // namespace

void CheckReport(const std::string& path, const std::string& schema_path, CheckOutcome* outcome) {
  ReadOptions options;
  options.schema_path = schema_path;
  Check(path, options, outcome);
}

void CheckReport(const std::string& path, const ReportSchema& schema, CheckOutcome* outcome) {
  ReadOptions options;
  options.schema = &schema;
  Check(path, options, outcome);
}

std::string RefusalMessage(const ReadResult& read) {
  const std::string at = read.refusal_place.line > 0
                             ? std::to_string(read.refusal_place.line) + " 行目" +
                                   (read.refusal_place.path.empty() ? "" : "、" + Quoted(read.refusal_place.path, kQuotedPathCharacters))
                             : Quoted(read.refusal_place.path, kQuotedPathCharacters);
  const std::string where = at.empty() ? "" : "（" + at + "）";
  switch (read.refusal) {
    case Refusal::kNone: return "";
    case Refusal::kCannotOpen: return read.refusal_detail;
    case Refusal::kNotReport:
      return "決算書のレポートではありません" +
             (read.refusal_detail.empty() ? "" : "（" + read.refusal_detail + "）") +
             "。Shift_JIS の XML で、ルート要素が REPORT のファイルを指定してください" + where + "。";
    case Refusal::kNotShiftJis:
      return read.refusal_detail.empty()
                 ? "XML 宣言が encoding=\"Shift_JIS\" ではありません" + where + "。"
                 : "Shift_JIS にない文字（バイト " + read.refusal_detail + "）があります" + where + "。";
    case Refusal::kTruncated: return "ファイルが途中で切れています" + where + "。";
    case Refusal::kBroken:
      return "XML として壊れた箇所があります" + where + ": " + read.refusal_detail;
    case Refusal::kNotNumber:
      return "金額が数値ではありません: 「" + Quoted(read.refusal_detail) + "」" + where + "。";
    case Refusal::kNoSchema:
      return "レポートのスキーマを読めません" +
             (read.refusal_detail.empty() ? std::string("。") : ": " + read.refusal_detail);
  }
  return "";
}

std::string CheckText(const std::string& path, const CheckOutcome& outcome) {
  const ReadResult& read = outcome.read;
  std::string out = path + "\n";
  if (read.refusal != Refusal::kNone) return out + "読めません: " + RefusalMessage(read) + "\n";
  const ReportHeader header = HeaderOf(read.root);
  out += "  会社: " + header.company + "\n  事業年度: " + EraDate(header.period_from) + " 〜 " +
         EraDate(header.period_to) + "\n";
  for (const Finding& finding : outcome.findings.list()) {
    out += SeverityWord(finding.severity);
    out += ":";
    if (finding.line > 0) out += " " + std::to_string(finding.line) + " 行目";
    if (!finding.path.empty()) out += " " + Quoted(finding.path, kQuotedPathCharacters);
    out += "\n    " + finding.message + "\n";
  }
  const Findings& f = outcome.findings;
  out += "結果: エラー " + std::to_string(f.Count(Severity::kError)) + " 件、警告 " +
         std::to_string(f.Count(Severity::kWarning)) + " 件、端数差 " +
         std::to_string(f.Count(Severity::kRounding)) + " 件";
  if (read.has_ledger)
    out += "（総勘定元帳 " + GroupedNumber(outcome.ledger_blocks) + " 科目 " +
           GroupedNumber(outcome.ledger_rows) + " 行）";
  return out + "\n";
}

std::string CheckJson(const std::string& path, const CheckOutcome& outcome) {
  const ReadResult& read = outcome.read;
  const bool refused = read.refusal != Refusal::kNone;
  std::string out = "{\"file\":" + JsonString(path) + ",\"status\":\"" +
                    StatusKey(outcome.exit_status, refused) +
                    "\",\"exit\":" + std::to_string(outcome.exit_status);
  if (refused) {
    out += ",\"refusal\":" + JsonString(RefusalMessage(read)) +
           ",\"line\":" + std::to_string(read.refusal_place.line) +
           ",\"path\":" + JsonString(read.refusal_place.path) + ",\"findings\":[]}\n";
    return out;
  }
  const ReportHeader header = HeaderOf(read.root);
  out += ",\"company\":" + JsonString(header.company) +
         ",\"period\":{\"from\":" + std::to_string(header.period_from) +
         ",\"to\":" + std::to_string(header.period_to) + "}";
  const Findings& f = outcome.findings;
  out += ",\"counts\":{\"error\":" + std::to_string(f.Count(Severity::kError)) +
         ",\"warning\":" + std::to_string(f.Count(Severity::kWarning)) +
         ",\"rounding\":" + std::to_string(f.Count(Severity::kRounding)) + "}";
  out += ",\"ledger\":{\"blocks\":" + std::to_string(outcome.ledger_blocks) +
         ",\"rows\":" + std::to_string(outcome.ledger_rows) + "},\"findings\":[";
  bool first = true;
  for (const Finding& finding : f.list()) {
    if (!first) out += ",";
    first = false;
    out += "{\"severity\":\"";
    out += SeverityKey(finding.severity);
    out += "\",\"check\":" + JsonString(finding.check) +
           ",\"message\":" + JsonString(finding.message) +
           ",\"line\":" + std::to_string(finding.line) + ",\"path\":" + JsonString(finding.path);
    if (finding.shown && finding.computed)
      out += ",\"shown\":" + std::to_string(*finding.shown) +
             ",\"computed\":" + std::to_string(*finding.computed) +
             ",\"difference\":" + std::to_string(*finding.shown - *finding.computed);
    out += "}";
  }
  return out + "]}\n";
}

} // namespace stmtlink::report

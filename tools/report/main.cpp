// stmtlink-report: the reader's side of the report file. It reads a
// finished report, from this run or an earlier year, and never writes
// into it.
//   stmtlink-report check REPORT.xml [--json]
//       exit status 0 clean, 1 warnings only, 2 errors or an unreadable file
//   stmtlink-report diff OLD.xml NEW.xml
//       exit status 0 the same figures, 1 they differ, 2 an unreadable file
//   stmtlink-report html|pdf REPORT.xml -o OUT: the output replaces OUT only
//       when whole; an output that is one of the inputs is refused (exit 2)
//   stmtlink-report etax REPORT.xml -o DIR [--map MAP.csv] [--company NAME]
//       exit status 0 written, 2 nothing written
//   stmtlink-report etax-check DIR [--report REPORT.xml]
//       exit status 0 clean, 1 findings, 2 could not check
// A bad command line exits with 2. Only regular files are read.
#include <cerrno>
#include <cstdio>
#include <iostream>
#include <string>
#include <vector>

#include "tools/report/era_date.h"
#include "tools/report/etax_check.h"
#include "tools/report/etax_export.h"
#include "tools/report/ledger_pages.h"
#include "tools/report/report_check.h"
#include "tools/report/report_diff.h"
#include "tools/report/previous_year.h"
#include "tools/report/statements_html.h"

#include <memory>
#include <sstream>
#include <tuple>

#include "tools/report/output_file.h"
#include "tools/report/system_reasons.h"

#include "tools/report/qt/pdf_writer.h"
#include "tools/report/qt/report_window.h"

namespace {

using namespace stmtlink::report;

const char kUsage[] =
    "使い方: stmtlink-report コマンド ...\n"
    "\n"
    "決算書のレポート（Shift_JIS の XML）を読みます。レポートには書き込みません。\n"
    "出力するファイルは書き終えてから置き換えます（失敗したときは元のファイルのまま）。\n"
    "\n"
    "  check レポート.xml [--json] [--schema スキーマ.xsd]\n"
    "      形式（整形式の XML、Shift_JIS、CR LF、スキーマ）と金額の整合を調べます。\n"
    "      終了コード: 0 問題なし、1 警告のみ、2 エラーまたは読めないファイル\n"
    "  diff 古いレポート.xml 新しいレポート.xml\n"
    "      二つのレポートの金額を項目ごとに比べます（増減額と増減率）。\n"
    "      終了コード: 0 同じ、1 違いあり、2 読めないファイル\n"
    "  html レポート.xml [-o 出力.html] [--previous 前期.xml] [--ledger] [--minus △|-]\n"
    "      決算報告書を一つの HTML ファイルにします（A4 印刷用、決算書ごとに改ページ）。\n"
    "      --previous で前期・当期・増減の列、--ledger で総勘定元帳も載せます。\n"
    "      -o がなければ標準出力に書きます。\n"
    "  pdf レポート.xml -o 出力.pdf [--previous 前期.xml] [--ledger] [--minus △|-]\n"
    "      同じ決算報告書を A4 の PDF にします（日本語フォント埋め込み、ページ番号、\n"
    "      各ページに会社名と事業年度）。\n"
    "  view レポート.xml [--previous 前期.xml] [--minus △|-]\n"
    "      決算書と check の指摘を並べたウィンドウを開きます（印刷はプリンタか PDF へ）。\n"
    "  etax レポート.xml -o フォルダー [--map 対応表.csv] [--company 法人名]\n"
    "      e-Tax に添付する財務諸表の CSV（HOT010 3.0）を書き出します:\n"
    "      HOT010_3.0_BS.csv（貸借対照表）と HOT010_3.0_PL.csv（損益計算書）。\n"
    "      製造原価報告書・株主資本等変動計算書・個別注記表は 決算書_その他.pdf に\n"
    "      まとめます（e-Tax には PDF で添付します）。--map は会社独自の勘定科目の\n"
    "      「勘定科目名,コード[,書き出す名前]」（UTF-8 か Shift_JIS）。\n"
    "      JIS X 0208 にない文字（髙、①、㈱ など）を含む名前は書き出しません。\n"
    "      終了コード: 0 書き出した、2 何も書いていない\n"
    "  etax-check フォルダー [--report レポート.xml]\n"
    "      e-Tax の CSV を同じ規則で調べます（--report があれば合計もレポートと比べます）。\n"
    "      終了コード: 0 問題なし、1 指摘あり、2 調べられない\n"
    "\n"
    "読むのは通常のファイルだけです（フォルダーや名前付きパイプは読みません）。\n"
    "出力先に読み込むファイルと同じファイルは指定できません。\n";

int Usage(const std::string& problem) {
  if (!problem.empty()) std::cerr << "stmtlink-report: " << problem << "\n\n";
  std::cerr << kUsage;
  return kExitErrors;
}

int Check(const std::vector<std::string>& args) {
  std::string path, schema = DefaultSchemaPath();
  bool json = false;
  for (std::size_t i = 0; i < args.size(); ++i) {
    if (args[i] == "--json") {
      json = true;
    } else if (args[i] == "--schema" && i + 1 < args.size()) {
      schema = args[++i];
    } else if (!args[i].empty() && args[i][0] == '-') {
      return Usage("知らないオプションです: " + args[i]);
    } else if (path.empty()) {
      path = args[i];
    } else {
      return Usage("レポートは一つだけ指定してください: " + args[i]);
    }
  }
  if (path.empty()) return Usage("レポートのファイルを指定してください。");
  CheckOutcome outcome;
  CheckReport(path, schema, &outcome);
  std::cout << (json ? CheckJson(path, outcome) : CheckText(path, outcome));
  return outcome.exit_status;
}

// Reads a report for showing or comparing (no schema, no figure checks);
// prints why and returns false when it cannot be read.
bool ReadForShowing(const std::string& path, ReadResult* read) {
  if (ReadReport(path, ReadOptions{}, read)) return true;
  std::cerr << path << ": 読めません: " << RefusalMessage(*read) << "\n";
  return false;
}

int Diff(const std::vector<std::string>& args) {
  if (args.size() != 2) return Usage("比べる二つのレポートを指定してください。");
  // The ledgers pass through in sum: a few numbers per account.
  ReadResult older, newer;
  LedgerTotalsSink older_ledger, newer_ledger;
  for (auto [path, read, sink] : {std::tuple{&args[0], &older, &older_ledger}, std::tuple{&args[1], &newer, &newer_ledger}}) {
    ReadOptions options;
    options.ledger = sink;
    if (!ReadReport(*path, options, read)) {
      std::cerr << *path << ": 読めません: " << RefusalMessage(*read) << "\n";
      return 2;
    }
  }
  for (const auto* side : {&older, &newer}) {
    const ReportHeader header = HeaderOf(side->root);
    std::cout << (side == &older ? "古い: " : "新しい: ") << (side == &older ? args[0] : args[1])
              << "  " << header.company << "  " << EraDate(header.period_from) << " 〜 "
              << EraDate(header.period_to) << "\n";
  }
  const auto changes = CompareStatements(older.root, newer.root);
  std::cout << DiffText(changes);
  std::vector<LedgerChange> ledger;
  if (older.has_ledger && newer.has_ledger) {
    ledger = CompareLedgers(older_ledger.accounts, newer_ledger.accounts);
    std::cout << LedgerDiffText(ledger);
  } else if (older.has_ledger != newer.has_ledger) {
    std::cout << "総勘定元帳は" << (older.has_ledger ? "古い" : "新しい") << "レポートにだけあります（比べていません）。\n";
  }
  const auto notes = CompareNotes(older.root, newer.root);
  std::cout << NotesDiffText(notes);
  return changes.empty() && ledger.empty() && notes.empty() ? 0 : 1;
}

struct RenderArgs {
  std::string report, output, previous;
  bool ledger = false;
  std::string minus = "△";
};

// Parses the options shared by html and pdf; returns an exit status, or -1 to go on.
int ParseRender(const std::vector<std::string>& args, RenderArgs* r) {
  for (std::size_t i = 0; i < args.size(); ++i) {
    const std::string& a = args[i];
    const bool has_value = i + 1 < args.size();
    if ((a == "-o" || a == "--output") && has_value) r->output = args[++i];
    else if (a == "--previous" && has_value) r->previous = args[++i];
    else if (a == "--ledger") r->ledger = true;
    else if (a == "--minus" && has_value && (args[i + 1] == "-" || args[i + 1] == "△")) r->minus = args[++i];
    else if (!a.empty() && a[0] == '-') return Usage("知らないオプションか、値がありません: " + a);
    else if (r->report.empty()) r->report = a;
    else return Usage("レポートは一つだけ指定してください: " + a);
  }
  if (r->report.empty()) return Usage("レポートのファイルを指定してください。");
  return -1;
}

int CannotWrite(const std::string& output, const std::string& reason) {
  std::cerr << output << ": 書き込めません: " << reason << "\n";
  return 2;
}

PdfPage PageOf(const Node& root) {
  const ReportHeader header = HeaderOf(root);
  PdfPage page;
  page.running_head = header.company + "　" + EraPeriod(header.period_from, header.period_to);
  page.title = "決算報告書 " + header.company;
  return page;
}

// Reads the report's ledger into a book laid out on pages (painter null:
// counted only); false when the report cannot be read.
// The rendering's options from the command line: Qt's text engine or a
// browser, the minus sign, last year's report when given.
HtmlOptions RenderOptions(const RenderArgs& r, const ReadResult& previous, bool for_qt) {
  HtmlOptions options;
  options.for_qt = for_qt;
  options.minus = r.minus.c_str();
  options.previous = r.previous.empty() ? nullptr : &previous.root;
  return options;
}

bool LayLedger(const std::string& path, LedgerPagePainter* painter, ReadResult* read, int* pages) {
  LedgerPagination pagination(kLedgerRowsPerPage, painter);
  LedgerBook book(&pagination, &read->root);
  ReadOptions options;
  options.ledger = &book;
  if (!ReadReport(path, options, read)) return false;
  book.Finish();
  *pages = pagination.pages();
  return true;
}

// pdf --ledger: the report read twice, first to count the ledger's pages
// (for the page numbers' total), then to paint them page by page; the
// ledger is never held, whatever its size.
int LedgerPdf(const RenderArgs& r, const ReadResult& previous, ReplacementPath* pdf_file) {
  ReadResult read;
  int ledger_pages = 0;
  if (!LayLedger(r.report, nullptr, &read, &ledger_pages)) {
    std::cerr << r.report << ": 読めません: " << RefusalMessage(read) << "\n";
    return 2;
  }
  if (!r.previous.empty())
    if (const std::string refusal = PreviousRefusal(read.root, previous.root); !refusal.empty()) {
      std::cerr << r.previous << ": " << refusal << "\n";
      return 2;
    }
  std::ostringstream text;
  StatementsHtml html(text, RenderOptions(r, previous, true));
  html.WriteStatements(read.root, ledger_pages > 0);
  html.Finish();
  auto paint = [&](LedgerPagePainter* painter) {
    ReadResult again;
    int pages = 0;
    return LayLedger(r.report, painter, &again, &pages) && pages == ledger_pages;
  };
  std::string reason;
  if (!WritePdfWithLedger(text.str(), PageOf(read.root), pdf_file->temporary(), ledger_pages, paint) ||
      !pdf_file->Commit(&reason))
    return CannotWrite(r.output, reason.empty() ? "PDF を作れません" : reason);
  return 0;
}

int Render(const std::vector<std::string>& args, bool pdf) {
  RenderArgs r;
  if (const int status = ParseRender(args, &r); status >= 0) return status;
  if (pdf && r.output.empty()) return Usage("PDF の出力先を -o で指定してください。");
  // The output is started before anything is read, so that a target that
  // cannot be written is told at once; it replaces the target only when
  // whole (an earlier file stays as it was after any failure).
  std::string reason;
  if (!r.output.empty()) {
    if (const std::string refusal = OutputRefusal(r.output, {r.report, r.previous}); !refusal.empty()) {
      std::cerr << r.output << ": " << refusal << "\n";
      return 2;
    }
  }
  std::unique_ptr<stmtlink::ReplacingStream> file;
  ReplacementPath pdf_file;
  if (!r.output.empty() && !pdf && !(file = OpenOutput(r.output, &reason)))
    return CannotWrite(r.output, reason);
  if (pdf && !pdf_file.Prepare(r.output, &reason)) return CannotWrite(r.output, reason);
  ReadResult previous;
  if (!r.previous.empty() && !ReadForShowing(r.previous, &previous)) return 2;
  if (pdf && r.ledger) return LedgerPdf(r, previous, &pdf_file);
  std::ostringstream text; // the PDF's HTML, laid out by Qt
  std::ostream& out = pdf ? static_cast<std::ostream&>(text)
                          : file ? static_cast<std::ostream&>(*file) : std::cout;
  HtmlOptions options = RenderOptions(r, previous, pdf);
  options.ledger = r.ledger;
  // The statements are written when the ledger begins (it comes last), the
  // ledger's rows as they are read: nothing of it is kept.
  // Another company's report as last year's is refused before anything is written.
  struct Sink : LedgerSink {
    StatementsHtml html;
    const ReadResult* read = nullptr;
    const Node* previous = nullptr;
    bool statements = false;
    std::string refusal;
    Sink(std::ostream& o, const HtmlOptions& opt) : html(o, opt), previous(opt.previous) {}
    void Statements(bool ledger_follows = false) {
      if (statements) return;
      statements = true;
      if (previous != nullptr) refusal = PreviousRefusal(read->root, *previous);
      if (refusal.empty()) html.WriteStatements(read->root, ledger_follows);
    }
    void BeginBlock(const LedgerBlock& b) override {
      Statements(true);
      if (refusal.empty()) html.BeginBlock(b);
    }
    void Row(const LedgerRow& row) override {
      if (refusal.empty()) html.Row(row);
    }
    void EndBlock() override {
      if (refusal.empty()) html.EndBlock();
    }
  } sink(out, options);
  ReadResult read;
  sink.read = &read;
  ReadOptions read_options;
  read_options.ledger = r.ledger ? &sink : nullptr;
  if (!ReadReport(r.report, read_options, &read)) {
    std::cerr << r.report << ": 読めません: " << RefusalMessage(read) << "\n";
    return 2;
  }
  sink.Statements();
  if (!sink.refusal.empty()) {
    std::cerr << r.previous << ": " << sink.refusal << "\n";
    return 2;
  }
  sink.html.Finish();
  if (pdf) {
    if (!WritePdf(text.str(), PageOf(read.root), pdf_file.temporary()) || !pdf_file.Commit(&reason))
      return CannotWrite(r.output, reason.empty() ? "PDF を作れません" : reason);
    return 0;
  }
  if (file) return CommitOutput(file.get(), &reason) ? 0 : CannotWrite(r.output, reason);
  errno = 0;
  out.flush();
  if (!out)
    return CannotWrite("標準出力", errno != 0 ? FileReason(errno, FileUse::kWriting) : "途中で書けなくなりました");
  return 0;
}

int Etax(const std::vector<std::string>& args) {
  EtaxExportRequest request;
  for (std::size_t i = 0; i < args.size(); ++i) {
    const std::string& a = args[i];
    const bool has_value = i + 1 < args.size();
    if ((a == "-o" || a == "--output") && has_value) request.folder = args[++i];
    else if (a == "--map" && has_value) request.map = args[++i];
    else if (a == "--company" && has_value) request.company = args[++i];
    else if (!a.empty() && a[0] == '-') return Usage("知らないオプションか、値がありません: " + a);
    else if (request.report.empty()) request.report = a;
    else return Usage("レポートは一つだけ指定してください: " + a);
  }
  if (request.report.empty()) return Usage("レポートのファイルを指定してください。");
  if (request.folder.empty()) return Usage("書き出すフォルダーを -o で指定してください。");
  auto write_pdf = [](const Node& root, const std::string& html, const std::string& path) {
    PdfPage page = PageOf(root);
    page.title = "決算書（e-Tax 添付） " + HeaderOf(root).company;
    return WritePdf(html, page, path);
  };
  return EtaxExport(request, write_pdf, std::cout, std::cerr);
}

int EtaxCheckCommand(const std::vector<std::string>& args) {
  EtaxCheckRequest request;
  for (std::size_t i = 0; i < args.size(); ++i) {
    if (args[i] == "--report" && i + 1 < args.size()) request.report = args[++i];
    else if (!args[i].empty() && args[i][0] == '-') return Usage("知らないオプションか、値がありません: " + args[i]);
    else if (request.folder.empty()) request.folder = args[i];
    else return Usage("フォルダーは一つだけ指定してください: " + args[i]);
  }
  if (request.folder.empty()) return Usage("調べるフォルダーを指定してください。");
  return EtaxCheck(request, std::cout, std::cerr);
}

int View(const std::vector<std::string>& args) {
  std::vector<std::string> rest;
  std::string screenshot;
  for (std::size_t i = 0; i < args.size(); ++i) {
    if (args[i] == "--screenshot" && i + 1 < args.size()) screenshot = args[++i]; // for tests
    else rest.push_back(args[i]);
  }
  RenderArgs r;
  if (const int status = ParseRender(rest, &r); status >= 0) return status;
  ReadResult previous;
  if (!r.previous.empty() && !ReadForShowing(r.previous, &previous)) return 2;
  CheckOutcome outcome;
  CheckReport(r.report, DefaultSchemaPath(), &outcome);
  ViewContent content;
  content.findings = &outcome.findings;
  content.page = PageOf(outcome.read.root);
  if (outcome.read.refusal != Refusal::kNone) {
    content.refused = true;
    content.summary = r.report + ": 読めません: " + RefusalMessage(outcome.read);
  } else {
    const Findings& f = outcome.findings;
    content.summary = "check: エラー " + std::to_string(f.Count(Severity::kError)) + " 件、警告 " +
                      std::to_string(f.Count(Severity::kWarning)) + " 件、端数差 " +
                      std::to_string(f.Count(Severity::kRounding)) + " 件";
    if (!r.previous.empty())
      if (const std::string refusal = PreviousRefusal(outcome.read.root, previous.root); !refusal.empty()) {
        std::cerr << r.previous << ": " << refusal << "\n";
        return 2;
      }
    std::ostringstream html;
    StatementsHtml document(html, RenderOptions(r, previous, true));
    document.WriteStatements(outcome.read.root);
    document.Finish();
    content.html = html.str();
    if (outcome.read.has_ledger) content.ledger_path = r.report;
  }
  return ShowReportWindow(content, screenshot);
}

} // namespace

int main(int argc, char** argv) {
  std::vector<std::string> args(argv + 1, argv + argc);
  if (args.empty()) return Usage("");
  const std::string command = args.front();
  args.erase(args.begin());
  if (command == "-h" || command == "--help") {
    std::cout << kUsage;
    return 0;
  }
  if (command == "check") return Check(args);
  if (command == "diff") return Diff(args);
  if (command == "html") return Render(args, false);
  if (command == "pdf") return Render(args, true);
  if (command == "view") return View(args);
  if (command == "etax") return Etax(args);
  if (command == "etax-check") return EtaxCheckCommand(args);
  return Usage("知らないコマンドです: " + command);
}

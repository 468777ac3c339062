#include "tools/report/statements_html.h"

#include <map>
#include <optional>
#include <set>
#include <vector>

#include "tools/report/equity_form.h"
#include "tools/report/era_date.h"
#include "tools/report/findings.h"
#include "tools/report/notes_form.h"
#include "tools/report/previous_year.h"
#include "tools/report/statement_model.h"
#include "tools/report/statement_terms.h"

namespace stmtlink::report {
namespace {

const char kStyle[] = R"css(
@page { size: A4; margin: 16mm 14mm 18mm 14mm; }
@page wide { size: A4 landscape; margin: 14mm; }
body { font-family: "IPAPGothic", "IPAexGothic", "Noto Sans CJK JP", "Hiragino Kaku Gothic ProN", "Meiryo", sans-serif; font-size: 10pt; color: #000; margin: 0; }
section { page-break-after: always; break-after: page; padding: 4mm 0; }
section:last-child { page-break-after: auto; break-after: auto; }
section.wide { page: wide; }
.running { font-size: 8pt; color: #444; border-bottom: 0.3pt solid #888; margin-bottom: 6mm; }
h1 { font-size: 16pt; text-align: center; letter-spacing: 0.5em; margin: 2mm 0 1mm 0; }
h2 { font-size: 11pt; margin: 5mm 0 2mm 0; }
h3 { font-size: 10pt; margin: 4mm 0 1mm 0; }
.period, .unit { text-align: center; margin: 0 0 2mm 0; }
.unit { text-align: right; font-size: 9pt; }
table { border-collapse: collapse; width: 100%; }
th, td { border: 0.4pt solid #666; padding: 1.2mm 2mm; vertical-align: top; }
th { background: #eee; font-weight: normal; text-align: center; }
td.n { text-align: right; white-space: nowrap; font-variant-numeric: tabular-nums; }
tr.heading td { font-weight: bold; }
tr.total td { font-weight: bold; border-top: 0.8pt solid #000; }
td.i1 { padding-left: 5mm; } td.i2 { padding-left: 9mm; } td.i3 { padding-left: 13mm; } td.i4 { padding-left: 17mm; }
.remark { font-size: 8.5pt; margin: 2mm 0; }
.cover { text-align: center; padding-top: 60mm; }
.cover h1 { font-size: 26pt; letter-spacing: 0.6em; margin-bottom: 30mm; }
.cover .company { font-size: 18pt; margin-top: 40mm; }
.cover .contents { display: inline-block; text-align: left; margin-top: 30mm; font-size: 11pt; }
.note p { margin: 0.5mm 0 0.5mm 4mm; }
.ledger td { font-size: 8.5pt; padding: 0.8mm 1.5mm; }
table.ledger { margin-bottom: 5mm; }
th.account { text-align: left; font-weight: bold; background: #fff; }
@media screen { body { background: #ddd; } section { background: #fff; width: 182mm; margin: 6mm auto; padding: 12mm 14mm; box-shadow: 0 0 3px #888; } section.wide { width: 269mm; } }
)css";

// What Qt's text engine follows of it: no @page, sections as page breaks.
const char kQtStyle[] = R"css(
h1 { font-size: 15pt; text-align: center; }
h2 { font-size: 10.5pt; }
h3 { font-size: 9.5pt; }
th { background-color: #e8e8e8; font-weight: normal; }
tr.heading td { font-weight: bold; }
tr.total td { font-weight: bold; }
p.period { text-align: center; }
p.unit { text-align: right; font-size: 8pt; }
td { font-size: 8.5pt; }
)css";

} // namespace

std::string HtmlEscape(const std::string& text) {
  std::string out;
  out.reserve(text.size());
  for (char c : text) {
    switch (c) {
      case '&': out += "&amp;"; break;
      case '<': out += "&lt;"; break;
      case '>': out += "&gt;"; break;
      case '"': out += "&quot;"; break;
      default: out += c;
    }
  }
  return out;
}

std::string StatementsHtml::Amount(std::int64_t value) const {
  return GroupedNumber(value, options_.minus);
}

namespace {

class Writer {
 public:
  Writer(std::ostream& out, const HtmlOptions& options, const Node& root,
         std::string (*amount)(const void*, std::int64_t), const void* self)
      : out_(out), options_(options), root_(root), amount_(amount), self_(self) {
    const ReportHeader header = HeaderOf(root);
    company_ = HtmlEscape(header.company);
    period_ = EraPeriod(header.period_from, header.period_to);
    if (options.previous) { // last year's figures by the keys of its own statements
      const Statements last = BuildStatements(WithItemsOf(*options.previous, root));
      for (const std::optional<Statement>* statement :
           {&last.balance_sheet, &last.income, &last.manufacturing, &last.expenses})
        if (*statement)
          for (const std::vector<StatementRow>* side : {&(*statement)->rows, &(*statement)->right})
            for (const StatementRow& row : *side) {
              if (!row.key.empty()) previous_[row.key] = row.value;
              if (!row.outer_key.empty()) previous_[row.outer_key] = *row.outer;
            }
      period_remark_ = PreviousPeriodRemark(root, *options.previous);
    }
  }

  std::string A(std::int64_t v) const { return amount_(self_, v); }

  void Open(const char* title, const std::string& date_line, bool wide = false, bool unit = true) {
    const char* unit_line = unit ? "<p class=\"unit\">（単位：円）</p>\n" : "";
    if (options_.for_qt) { // the page's head is painted; each statement on a new page
      out_ << "<h1 style=\"page-break-before: always\">" << title << "</h1>\n<p class=\"period\">"
           << date_line << "</p>\n" << unit_line;
      return;
    }
    out_ << "<section" << (wide ? " class=\"wide\"" : "") << ">\n<div class=\"running\">"
         << company_ << "　" << period_ << "</div>\n<h1>" << title << "</h1>\n<p class=\"period\">"
         << date_line << "</p>\n" << unit_line;
  }
  void Close() {
    if (!options_.for_qt) out_ << "</section>\n";
  }

  // The cover: title, period, company and the contents; no running head.
  void Cover(const std::vector<std::string>& contents) {
    if (options_.for_qt) {
      out_ << "<p><br><br><br><br><br><br></p>\n"
              "<p align=\"center\" style=\"font-size: 28pt\">決 算 報 告 書</p>\n"
              "<p><br><br></p>\n<p align=\"center\" style=\"font-size: 13pt\">"
           << period_ << "</p>\n<p><br><br><br></p>\n"
           << "<p align=\"center\" style=\"font-size: 18pt\">" << company_ << "</p>\n<p><br><br><br><br></p>\n"
           << "<table align=\"center\" cellpadding=\"3\"><tr><td style=\"font-size: 12pt\">目　次</td></tr>\n";
      for (const std::string& title : contents)
        out_ << "<tr><td style=\"font-size: 11pt\">&nbsp;&nbsp;" << title << "</td></tr>\n";
      out_ << "</table>\n";
      if (!period_remark_.empty())
        out_ << "<p><br><br></p>\n<p align=\"center\">※ " << HtmlEscape(period_remark_) << "</p>\n";
      return;
    }
    out_ << "<section class=\"cover\">\n<h1>決算報告書</h1>\n<p class=\"period\">" << period_
         << "</p>\n<p class=\"company\">" << company_ << "</p>\n<div class=\"contents\"><p>目　次</p>\n<ol>\n";
    for (const std::string& title : contents) out_ << "<li>" << title << "</li>\n";
    out_ << "</ol></div>\n";
    if (!period_remark_.empty()) out_ << "<p class=\"remark\">※ " << HtmlEscape(period_remark_) << "</p>\n";
    out_ << "</section>\n";
  }

  // The figure last year's statement shows on a row of this year's, by key.
  std::optional<std::int64_t> LastYear(const std::string& key) const {
    const auto it = previous_.find(key);
    if (key.empty() || it == previous_.end()) return std::nullopt;
    return it->second;
  }

  std::string Cell(std::optional<std::int64_t> value) const {
    return "<td class=\"n\" align=\"right\">" + (value ? A(*value) : std::string()) + "</td>";
  }

  // 前期 当期 増減 of one figure.
  std::string Compared(std::optional<std::int64_t> last, std::optional<std::int64_t> now) const {
    std::optional<std::int64_t> change;
    if (now) change = Minus(*now, last.value_or(0));
    return Cell(last) + Cell(now) + Cell(change);
  }

  std::string LabelCell(const StatementRow& row, const std::string& caption) const {
    std::string indent;
    if (options_.for_qt) // Qt's cells take no padding from the style sheet
      for (int i = 0; i < row.level; ++i) indent += "&nbsp;&nbsp;&nbsp;";
    const bool bold = row.kind != RowKind::kItem && row.kind != RowKind::kSubtotal;
    return "<td class=\"i" + std::to_string(std::min(std::max(row.level, 0), 4)) + "\">" + indent +
           (bold ? "<b>" : "") + HtmlEscape(caption) + (bold ? "</b>" : "") + "</td>";
  }
  static const char* RowClass(const StatementRow& row) {
    return row.kind == RowKind::kResult || row.kind == RowKind::kTotal ? " class=\"total\"" : "";
  }

  // A result's caption and figures beside last year's: named a loss when
  // both years lost, a profit when neither did, else both names with △.
  std::string ResultCaption(const StatementRow& row, std::optional<std::int64_t>* last,
                            std::optional<std::int64_t>* now) const {
    const std::optional<std::int64_t> before = LastYear(row.key);
    const bool loss_now = row.value < 0, loss_before = before && *before < 0;
    if (loss_now && (!before || loss_before)) {
      *now = Minus(0, row.value);
      if (before) *last = Minus(0, *before);
      return row.loss_caption;
    }
    *now = row.value;
    *last = before;
    if (!loss_now && !loss_before) return row.profit_caption;
    return row.profit_caption + "（△は" + row.loss_caption + "）";
  }

  std::string AmountHeads(int columns) const {
    if (options_.previous) return "<th>前期</th><th>当期</th><th>増減</th>";
    return columns == 2 ? "<th colspan=\"2\">金額</th>" : "<th>金額</th>";
  }

  // The cells of one row of an account-form side, or of a one-column list.
  std::string SideCells(const StatementRow& row) const {
    if (options_.previous) {
      // The row's own figure: an item's, when the row also holds its section's total.
      const std::optional<std::int64_t> now = row.inner ? row.inner : row.outer;
      std::optional<std::int64_t> last = LastYear(row.key);
      if (row.deduction && last) last = Minus(0, *last);
      if (now && !last) last = 0; // an item only this year has
      return LabelCell(row, row.caption) + Compared(last, now);
    }
    return LabelCell(row, row.caption) + Cell(row.Shown());
  }

  void Remarks(const Statement& statement) {
    for (const std::string& remark : statement.remarks)
      out_ << "<p class=\"remark\">※ " << HtmlEscape(remark) << "</p>\n";
  }

  void AccountForm(const Statement& statement) {
    Open(statement.title.c_str(), statement.date_line, options_.previous != nullptr);
    // The captions' columns wide enough for 投資その他の資産合計 beside three years' figures.
    const char* caption = options_.previous ? "<th>科目</th>" : "<th width=\"30%\">科目</th>";
    out_ << "<table border=\"1\" cellspacing=\"0\" cellpadding=\"3\" width=\"100%\">\n<tr>" << caption
         << AmountHeads(1) << caption << AmountHeads(1) << "</tr>\n";
    // Each side's last row (資産合計, 負債・純資産合計) on the one bottom row.
    const std::size_t body = std::max(statement.rows.size(), statement.right.size()) - 1;
    const int blank = options_.previous ? 4 : 2;
    for (std::size_t i = 0; i <= body; ++i) {
      out_ << "<tr>";
      for (const std::vector<StatementRow>* side : {&statement.rows, &statement.right}) {
        const std::size_t last = side->size() - 1;
        const std::size_t at = i == body ? last : i < last ? i : side->size();
        if (at < side->size()) out_ << SideCells((*side)[at]);
        else for (int c = 0; c < blank; ++c) out_ << "<td></td>";
      }
      out_ << "</tr>\n";
    }
    out_ << "</table>\n";
    Remarks(statement);
    Close();
  }

  void ReportForm(const Statement& statement) {
    Open(statement.title.c_str(), statement.date_line);
    const int columns = statement.one_column ? 1 : 2;
    out_ << "<table border=\"1\" cellspacing=\"0\" cellpadding=\"4\" width=\"100%\">\n<tr><th>科目</th>"
         << AmountHeads(columns) << "</tr>\n";
    for (const StatementRow& row : statement.rows) {
      out_ << "<tr" << RowClass(row) << ">";
      if (row.kind == RowKind::kResult && !row.profit_caption.empty()) {
        std::optional<std::int64_t> last, now;
        const std::string caption = ResultCaption(row, &last, &now);
        out_ << LabelCell(row, caption)
             << (options_.previous ? Compared(last.value_or(0), now) : columns == 2 ? Cell(std::nullopt) + Cell(now) : Cell(now));
      } else if (options_.previous) {
        out_ << SideCells(row);
        if (row.inner && row.outer) { // the section's total on a row of its own
          StatementRow total = row;
          total.caption = row.outer_caption;
          total.kind = RowKind::kTotal;
          total.inner.reset();
          total.key = row.outer_key;
          total.deduction = false;
          out_ << "</tr>\n<tr class=\"total\">" << SideCells(total);
        }
      } else if (columns == 1) {
        out_ << LabelCell(row, row.caption) << Cell(row.Shown());
      } else {
        out_ << LabelCell(row, row.caption) << Cell(row.inner) << Cell(row.outer);
      }
      out_ << "</tr>\n";
    }
    out_ << "</table>\n";
    Remarks(statement);
    Close();
  }

  void Equity(const EquityStatement& form) {
    Open(form.title.c_str(), period_, true);
    out_ << "<table border=\"1\" cellspacing=\"0\" cellpadding=\"4\" width=\"100%\">\n<tr><th rowspan=\"2\">項目</th>"
            "<th rowspan=\"2\">当期首残高</th><th colspan=\""
         << form.reasons.size() + 1 << "\">当期変動額</th><th rowspan=\"2\">当期末残高</th></tr>\n<tr>";
    for (const std::string& reason : form.reasons) out_ << "<th>" << HtmlEscape(reason) << "</th>";
    out_ << "<th>当期変動額合計</th></tr>\n";
    for (const EquityRow& row : form.rows) {
      StatementRow label;
      label.level = row.level;
      label.kind = row.kind;
      out_ << "<tr" << (row.kind == RowKind::kTotal ? " class=\"total\"" : "") << ">" << LabelCell(label, row.caption);
      const bool figures = row.kind != RowKind::kHeading;
      out_ << Cell(figures ? std::optional<std::int64_t>(row.opening) : std::nullopt);
      for (std::size_t i = 0; i < form.reasons.size(); ++i)
        out_ << Cell(figures && i < row.changes.size() ? row.changes[i] : std::nullopt);
      out_ << Cell(figures ? std::optional<std::int64_t>(row.change_total) : std::nullopt)
           << Cell(figures ? std::optional<std::int64_t>(row.closing) : std::nullopt) << "</tr>\n";
    }
    out_ << "</table>\n";
    Close();
  }

  void Notes(const Node* notes) {
    Open("個別注記表", period_, false, false);
    out_ << "<div class=\"note\">\n";
    const std::vector<NoteSection> sections = NotesForm(notes);
    if (sections.empty()) out_ << "<p>" << kNoNotes << "</p>\n";
    for (const NoteSection& section : sections) {
      if (!section.heading.empty()) out_ << "<h2>" << HtmlEscape(section.heading) << "</h2>\n";
      for (const NoteLine& line : section.lines) {
        std::string indent; // Qt's paragraphs take no margin from the style sheet
        if (options_.for_qt)
          for (int i = 0; i < line.depth; ++i) indent += "&nbsp;&nbsp;&nbsp;&nbsp;";
        out_ << "<p style=\"margin-left:" << 4 * (line.depth + 1) << "mm\">" << indent
             << HtmlEscape(line.text) << "</p>\n";
      }
    }
    out_ << "</div>\n";
    Close();
  }

  std::ostream& out_;
  const HtmlOptions& options_;
  const Node& root_;
  std::string (*amount_)(const void*, std::int64_t);
  const void* self_;
  std::string company_, period_;
  std::map<std::string, std::int64_t> previous_;
  std::string period_remark_; // last year's period does not end where this one begins
};

} // namespace

void StatementsHtml::WriteStatements(const Node& root, bool ledger_follows) {
  root_ = &root;
  book_ = LedgerBook(this, &root);
  Writer w(out_, options_, root, [](const void* self, std::int64_t v) {
    return static_cast<const StatementsHtml*>(self)->Amount(v);
  }, this);
  out_ << "<!DOCTYPE html>\n<html lang=\"ja\">\n<head>\n<meta charset=\"UTF-8\">\n<title>決算報告書 "
       << w.company_ << "</title>\n<style>" << (options_.for_qt ? kQtStyle : kStyle)
       << (options_.for_qt && options_.previous ? "td { font-size: 7pt; }\n" : "") // three years' columns on A4
       << "</style>\n</head>\n<body>\n";
  const Node* data = root.Child("DATA");
  // Beside last year's, both years' items (the other year's figure 0).
  const Statements statements =
      data == nullptr ? Statements{}
                      : BuildStatements(options_.previous ? WithItemsOf(root, *options_.previous) : root);
  const std::optional<EquityStatement> equity = EquityForm(root);
  const bool all = !options_.etax_attachments;
  const bool notes = all || (data != nullptr && data->Child("ListNotesNonConsolidated") != nullptr);
  std::vector<std::string> contents;
  for (const std::optional<Statement>* statement : {&statements.balance_sheet, &statements.income,
                                                    &statements.manufacturing, &statements.expenses})
    if (*statement && (all || statement == &statements.manufacturing)) contents.push_back((*statement)->title);
  if (equity) contents.push_back(equity->title);
  if (notes) contents.push_back("個別注記表");
  if (ledger_follows) contents.push_back("総勘定元帳");
  w.Cover(contents);
  if (data == nullptr) return;
  if (statements.balance_sheet && all) w.AccountForm(*statements.balance_sheet);
  for (const std::optional<Statement>* statement :
       {&statements.income, &statements.manufacturing, &statements.expenses})
    if (*statement && (all || statement == &statements.manufacturing)) w.ReportForm(**statement);
  if (equity) w.Equity(*equity);
  if (notes) w.Notes(data->Child("ListNotesNonConsolidated"));
  company_period_ = options_.for_qt ? ""
                                    : "<div class=\"running\">" + w.company_ + "　" + w.period_ + "</div>\n";
}

void StatementsHtml::OpenLedger() {
  if (ledger_open_) return;
  if (options_.for_qt) out_ << "<h1 style=\"page-break-before: always\">総勘定元帳</h1>\n";
  else out_ << "<section class=\"ledger\">\n" << company_period_ << "<h1>総勘定元帳</h1>\n";
  ledger_open_ = true;
}

void StatementsHtml::BeginBlock(const LedgerBlock& block) {
  OpenLedger();
  book_.BeginBlock(block);
}
void StatementsHtml::Row(const LedgerRow& row) { book_.Row(row); }
void StatementsHtml::EndBlock() { book_.EndBlock(); }

void StatementsHtml::BeginAccount(const std::string& account, const std::string& category) {
  // The account and the headings in the table's head, which a browser
  // repeats on every printed page the table runs over.
  out_ << "<table class=\"ledger\" border=\"1\" cellspacing=\"0\" cellpadding=\"3\" width=\"100%\">\n<thead>"
          "<tr><th colspan=\"6\" class=\"account\">"
       << HtmlEscape(account) << "（" << HtmlEscape(category)
       << "）</th></tr>\n<tr><th>日付</th><th>相手勘定科目</th><th>摘要</th><th>借方</th><th>貸方</th><th>残高</th></tr>"
          "</thead>\n";
}

void StatementsHtml::Line(const LedgerLine& line) {
  auto cell = [this](const std::optional<std::int64_t>& value) {
    return "<td class=\"n\" align=\"right\">" + (value ? Amount(*value) : std::string()) + "</td>";
  };
  const bool total = line.kind == LedgerLineKind::kMonthTotal || line.kind == LedgerLineKind::kCumulative ||
                     line.kind == LedgerLineKind::kClosing;
  out_ << (total ? "<tr class=\"total\">" : "<tr>") << "<td>" << HtmlEscape(line.date) << "</td><td>"
       << HtmlEscape(line.counter_account) << "</td><td>" << HtmlEscape(line.description) << "</td>"
       << cell(line.debit) << cell(line.credit) << cell(line.balance) << "</tr>\n";
}

void StatementsHtml::EndAccount() { out_ << "</table>\n"; }

void StatementsHtml::Finish() {
  if (ledger_open_ || (options_.ledger && root_ != nullptr)) {
    OpenLedger();
    book_.Finish(); // the accounts with a balance and no rows
  }
  if (ledger_open_ && !options_.for_qt) out_ << "</section>\n";
  out_ << "</body>\n</html>\n";
}

} // namespace stmtlink::report

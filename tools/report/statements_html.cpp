#include "tools/report/statements_html.h"

#include <map>
#include <optional>
#include <set>
#include <vector>

#include "tools/report/era_date.h"
#include "tools/report/findings.h"
#include "tools/report/note_titles.h"
#include "tools/report/statement_entries.h"
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
td.i1 { padding-left: 6mm; } td.i2 { padding-left: 10mm; } td.i3 { padding-left: 14mm; }
.cover { text-align: center; padding-top: 60mm; }
.cover h1 { font-size: 26pt; letter-spacing: 0.6em; margin-bottom: 30mm; }
.cover .company { font-size: 18pt; margin-top: 40mm; }
.note p { margin: 0.5mm 0 0.5mm 4mm; }
.ledger td { font-size: 8.5pt; padding: 0.8mm 1.5mm; }
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

// One line of a statement table.
struct Line {
  std::string label;
  int indent = 0;
  std::optional<std::int64_t> amount;
  bool heading = false;
  bool total = false;
  bool inner = false; // an item: the inner column of the report form
  std::string key;    // for last year's figure
  int sign = 1;       // -1: a deduction the balance sheet shows as negative (自己株式)
};

// The computed lines of the income statement and the manufacturing schedule.
bool IsComputedLine(const std::string& name) {
  for (const char* computed : {"GrossProfit", "OperatingIncome", "OrdinaryIncome",
                               "IncomeBeforeIncomeTaxes", "NetIncome", "TotalProductionCostUtilized",
                               "SubtotalScheduleCostGoodsManufactured", "CostFinishedGoods"})
    if (name == computed) return true;
  return false;
}

std::string Label(const Node& node) {
  return node.label && !node.label->empty() ? *node.label : SectionName(node.name);
}

// The lines of a section: its heading, its items, its subsections, its total.
void SectionLines(const Node& node, const std::string& prefix, int indent, bool headings,
                  std::vector<Line>* lines, bool balance_sheet = false) {
  const std::string name = SectionName(node.name);
  const std::string here = prefix + " / " + name;
  if (headings) lines->push_back({name, indent, std::nullopt, true, false, false, ""});
  std::map<std::string, int> seen;
  for (const Node& child : node.children) {
    if (child.name == "Item") {
      const std::string label = child.label.value_or("");
      const int n = ++seen[label];
      const int sign = balance_sheet && IsDeduction(node.name, label) ? -1 : 1;
      lines->push_back({label, indent + 1, sign * child.amount.value_or(0), false, false, true,
                        here + " / " + label + (n == 1 ? "" : " #" + std::to_string(n)), sign});
    } else {
      SectionLines(child, here, indent + 1, true, lines, balance_sheet);
    }
  }
  if (node.has_amount_attribute)
    lines->push_back({Label(node), indent, node.amount.value_or(0), false, true, false,
                      here + " / " + Label(node)});
}

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
    period_ = "自 " + EraDate(header.period_from) + "　至 " + EraDate(header.period_to);
    if (options.previous)
      for (const StatementEntry& entry : StatementEntries(*options.previous))
        previous_[entry.key] = entry.amount;
  }

  std::string A(std::int64_t v) const { return amount_(self_, v); }

  void Open(const char* title, bool wide = false, bool unit = true) {
    const char* unit_line = unit ? "<p class=\"unit\">（単位：円）</p>\n" : "";
    if (options_.for_qt) { // the page's head is painted; each statement on a new page
      out_ << "<h1 style=\"page-break-before: always\">" << title << "</h1>\n<p class=\"period\">"
           << period_ << "</p>\n" << unit_line;
      return;
    }
    out_ << "<section" << (wide ? " class=\"wide\"" : "") << ">\n<div class=\"running\">"
         << company_ << "　" << period_ << "</div>\n<h1>" << title << "</h1>\n<p class=\"period\">"
         << period_ << "</p>\n" << unit_line;
  }
  void Close() {
    if (!options_.for_qt) out_ << "</section>\n";
  }

  void Cover() {
    if (options_.for_qt) {
      out_ << "<p><br><br><br><br><br><br><br><br></p>\n"
              "<p align=\"center\" style=\"font-size: 28pt\">決 算 報 告 書</p>\n"
              "<p><br><br><br></p>\n<p align=\"center\" style=\"font-size: 13pt\">"
           << period_ << "</p>\n<p><br><br><br><br><br><br><br><br></p>\n"
           << "<p align=\"center\" style=\"font-size: 18pt\">" << company_ << "</p>\n";
      return;
    }
    out_ << "<section class=\"cover\">\n<h1>決算報告書</h1>\n<p class=\"period\">" << period_
         << "</p>\n<p class=\"company\">" << company_ << "</p>\n</section>\n";
  }

  // Amount cells of one line: 当期, or 前期 当期 増減.
  std::string Cells(const Line& line, bool two_columns) const {
    if (!line.amount) {
      const int span = options_.previous ? 3 : two_columns ? 2 : 1;
      std::string cells;
      for (int i = 0; i < span; ++i) cells += "<td class=\"n\" align=\"right\"></td>";
      return cells;
    }
    if (options_.previous) {
      const auto it = previous_.find(line.key);
      const std::int64_t last = it == previous_.end() ? 0 : line.sign * it->second;
      return "<td class=\"n\" align=\"right\">" + (it == previous_.end() ? std::string() : A(last)) +
             "</td><td class=\"n\" align=\"right\">" + A(*line.amount) + "</td><td class=\"n\" align=\"right\">" +
             A(Minus(*line.amount, last)) + "</td>";
    }
    if (two_columns)
      return line.inner ? "<td class=\"n\" align=\"right\">" + A(*line.amount) + "</td><td class=\"n\" align=\"right\"></td>"
                        : "<td class=\"n\" align=\"right\"></td><td class=\"n\" align=\"right\">" + A(*line.amount) + "</td>";
    return "<td class=\"n\" align=\"right\">" + A(*line.amount) + "</td>";
  }

  std::string LabelCell(const Line& line) const {
    std::string indent;
    if (options_.for_qt) // Qt's cells take no padding from the style sheet
      for (int i = 0; i < line.indent; ++i) indent += "&nbsp;&nbsp;&nbsp;";
    return "<td class=\"i" + std::to_string(std::min(std::max(line.indent, 0), 3)) + "\">" + indent +
           HtmlEscape(line.label) + "</td>";
  }
  static const char* RowClass(const Line& line) {
    return line.heading ? " class=\"heading\"" : line.total ? " class=\"total\"" : "";
  }

  std::string AmountHeads(bool two_columns) const {
    if (options_.previous) return "<th>前期</th><th>当期</th><th>増減</th>";
    return two_columns ? "<th colspan=\"2\">金額</th>" : "<th>金額</th>";
  }

  void BalanceSheet(const Node& sheet) {
    std::vector<Line> left, right;
    if (const Node* assets = sheet.Child("Assets"))
      SectionLines(*assets, "貸借対照表", 0, true, &left, true);
    std::int64_t claims = 0;
    for (const char* name : {"Liabilities", "NetAssets"})
      if (const Node* node = sheet.Child(name)) {
        SectionLines(*node, "貸借対照表", 0, true, &right, true);
        claims = Plus(claims, node->amount.value_or(0));
      }
    right.push_back({"負債・純資産合計", 0, claims, false, true, false, "負債・純資産合計"});
    if (options_.previous) { // last year's claims, for the comparison
      std::int64_t last = 0;
      if (const Node* data = options_.previous->Child("DATA"))
        if (const Node* old_sheet = data->Child("BalanceSheet"))
          for (const char* name : {"Liabilities", "NetAssets"})
            if (const Node* node = old_sheet->Child(name)) last = Plus(last, node->amount.value_or(0));
      previous_["負債・純資産合計"] = last;
    }
    Open("貸借対照表", options_.previous != nullptr);
    out_ << "<table border=\"1\" cellspacing=\"0\" cellpadding=\"4\" width=\"100%\">\n<tr><th>科目</th>" << AmountHeads(false) << "<th>科目</th>"
         << AmountHeads(false) << "</tr>\n";
    const std::size_t rows = std::max(left.size(), right.size());
    const Line empty;
    const int blank = options_.previous ? 3 : 1;
    for (std::size_t i = 0; i < rows; ++i) {
      out_ << "<tr>";
      for (const std::vector<Line>* side : {&left, &right}) {
        if (i < side->size()) {
          const Line& line = (*side)[i];
          std::string label = LabelCell(line);
          if (line.heading || line.total)
            label = label.substr(0, label.size() - 5).insert(label.find('>') + 1, "<b>") + "</b></td>";
          out_ << label << Cells(line, false);
        } else {
          out_ << "<td></td>";
          for (int c = 0; c < blank; ++c) out_ << "<td></td>";
        }
      }
      out_ << "</tr>\n";
    }
    out_ << "</table>\n";
    Close();
  }

  void ReportForm(const Node& statement, const char* title) {
    std::vector<Line> lines;
    const std::string prefix = SectionName(statement.name);
    for (const Node& section : statement.children) {
      if (IsComputedLine(section.name)) {
        if (section.has_amount_attribute)
          lines.push_back({Label(section), 0, section.amount.value_or(0), false, true, false,
                           prefix + " / " + SectionName(section.name) + " / " + Label(section)});
        continue;
      }
      if (section.children.empty() && section.amount.value_or(0) == 0) continue; // nothing to show
      SectionLines(section, prefix, 0, true, &lines);
      if (!section.has_amount_attribute) { // no total line in the chart: the items' sum
        std::int64_t sum = 0;
        for (const Node* item : section.Children("Item")) sum = Plus(sum, item->amount.value_or(0));
        lines.push_back({SectionName(section.name) + "計", 0, sum, false, true, false, ""});
      }
    }
    Open(title);
    out_ << "<table border=\"1\" cellspacing=\"0\" cellpadding=\"4\" width=\"100%\">\n<tr><th>科目</th>" << AmountHeads(true) << "</tr>\n";
    for (const Line& line : lines)
      out_ << "<tr" << RowClass(line) << ">" << LabelCell(line) << Cells(line, true) << "</tr>\n";
    out_ << "</table>\n";
    Close();
  }

  void ExpenseDetail(const Node& income) {
    const Node* sga = income.Child("SellingGeneralAndAdministrativeExpenses");
    if (sga == nullptr) return;
    std::vector<Line> lines;
    SectionLines(*sga, "損益計算書", -1, false, &lines);
    Open("販売費及び一般管理費内訳書");
    out_ << "<table border=\"1\" cellspacing=\"0\" cellpadding=\"4\" width=\"100%\">\n<tr><th>科目</th>" << AmountHeads(false) << "</tr>\n";
    for (const Line& line : lines)
      out_ << "<tr" << RowClass(line) << ">" << LabelCell(line) << Cells(line, false) << "</tr>\n";
    out_ << "</table>\n";
    Close();
  }

  void Equity(const Node& statement) {
    const bool members = statement.ChildText("Select") == "2";
    std::vector<std::string> reasons;
    std::set<std::string> seen;
    for (const Node* item : statement.Children("ChangesNetAssetsItem"))
      if (const Node* changes = item->Child("ChangesItemsDuringPeriod"))
        for (const Node* change : changes->Children("ChangesItem"))
          if (seen.insert(change->ChildText("Reason")).second) reasons.push_back(change->ChildText("Reason"));
    Open(members ? "社員資本等変動計算書" : "株主資本等変動計算書", true);
    out_ << "<table border=\"1\" cellspacing=\"0\" cellpadding=\"4\" width=\"100%\">\n<tr><th rowspan=\"2\">項目</th><th rowspan=\"2\">当期首残高</th><th colspan=\""
         << reasons.size() + 1 << "\">当期変動額</th><th rowspan=\"2\">当期末残高</th></tr>\n<tr>";
    for (const std::string& reason : reasons) out_ << "<th>" << HtmlEscape(reason) << "</th>";
    out_ << "<th>当期変動額合計</th></tr>\n";
    std::int64_t opening_total = 0, change_total = 0, closing_total = 0;
    for (const Node* item : statement.Children("ChangesNetAssetsItem")) {
      auto figure = [](const Node* node) { return node ? node->amount.value_or(0) : 0; };
      const std::string name = item->ChildText("AccountList");
      const int sign = name == "自己株式" ? -1 : 1; // shown as a deduction
      const std::int64_t opening = sign * figure(item->Child("BalanceEndPreviousPeriod"));
      const Node* changes = item->Child("ChangesItemsDuringPeriod");
      const std::int64_t change = sign * (changes ? figure(changes->Child("TotalChangesItemsDuringPeriod")) : 0);
      const std::int64_t closing = sign * figure(item->Child("BalanceEndCurrentPeriod"));
      opening_total = Plus(opening_total, opening);
      change_total = Plus(change_total, change);
      closing_total = Plus(closing_total, closing);
      out_ << "<tr><td>" << HtmlEscape(name) << "</td><td class=\"n\" align=\"right\">" << A(opening) << "</td>";
      for (const std::string& reason : reasons) {
        std::string cell;
        if (changes)
          for (const Node* c : changes->Children("ChangesItem"))
            if (c->ChildText("Reason") == reason) cell = A(sign * figure(c->Child("Amount")));
        out_ << "<td class=\"n\" align=\"right\">" << cell << "</td>";
      }
      out_ << "<td class=\"n\" align=\"right\">" << A(change) << "</td><td class=\"n\" align=\"right\">" << A(closing) << "</td></tr>\n";
    }
    out_ << "<tr class=\"total\"><td>純資産合計</td><td class=\"n\" align=\"right\">" << A(opening_total) << "</td>";
    for (std::size_t i = 0; i < reasons.size(); ++i) out_ << "<td class=\"n\" align=\"right\"></td>";
    out_ << "<td class=\"n\" align=\"right\">" << A(change_total) << "</td><td class=\"n\" align=\"right\">" << A(closing_total)
         << "</td></tr>\n</table>\n";
    Close();
  }

  void NoteTree(const Node& node, int depth) {
    for (const Node& child : node.children) {
      if (child.name == "Line") {
        out_ << "<p style=\"margin-left:" << 4 * depth << "mm\">" << HtmlEscape(child.text) << "</p>\n";
        continue;
      }
      if (depth == 0) { // a top-level note, or one shown in place of its hidden parent
        const char* title = NoteGroupTitle(child.name);
        if (title != nullptr && title != heading_) out_ << "<h2>" << title << "</h2>\n";
        heading_ = title;
      }
      NoteTree(child, depth + 1);
    }
  }

  void Notes(const Node& notes) {
    Open("個別注記表", false, false);
    out_ << "<div class=\"note\">\n";
    heading_ = nullptr;
    NoteTree(notes, 0);
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
  const char* heading_ = nullptr; // the notes' heading written last
};

} // namespace

void StatementsHtml::WriteStatements(const Node& root) {
  Writer w(out_, options_, root, [](const void* self, std::int64_t v) {
    return static_cast<const StatementsHtml*>(self)->Amount(v);
  }, this);
  out_ << "<!DOCTYPE html>\n<html lang=\"ja\">\n<head>\n<meta charset=\"UTF-8\">\n<title>決算報告書 "
       << w.company_ << "</title>\n<style>" << (options_.for_qt ? kQtStyle : kStyle)
       << "</style>\n</head>\n<body>\n";
  w.Cover();
  const Node* data = root.Child("DATA");
  if (data == nullptr) return;
  if (const Node* sheet = data->Child("BalanceSheet")) w.BalanceSheet(*sheet);
  const Node* income = data->Child("IncomeStatement");
  if (income) w.ReportForm(*income, "損益計算書");
  if (const Node* schedule = data->Child("ScheduleCostGoodsManufactured"))
    w.ReportForm(*schedule, "製造原価報告書");
  if (income) w.ExpenseDetail(*income);
  if (const Node* equity = data->Child("StatementChangesNetAssets")) w.Equity(*equity);
  if (const Node* notes = data->Child("ListNotesNonConsolidated")) w.Notes(*notes);
  company_period_ = options_.for_qt ? ""
                                    : "<div class=\"running\">" + w.company_ + "　" + w.period_ + "</div>\n";
}

void StatementsHtml::BeginBlock(const LedgerBlock& block) {
  if (!ledger_open_) {
    if (options_.for_qt) out_ << "<h1 style=\"page-break-before: always\">総勘定元帳</h1>\n";
    else out_ << "<section class=\"ledger\">\n" << company_period_ << "<h1>総勘定元帳</h1>\n";
    ledger_open_ = true;
  }
  out_ << "<h3>" << HtmlEscape(block.account) << "（" << HtmlEscape(block.category)
       << "）</h3>\n<table border=\"1\" cellspacing=\"0\" cellpadding=\"4\" width=\"100%\">\n<tr><th>日付</th><th>伝票番号</th><th>相手科目</th><th>摘要</th>"
          "<th>金額</th><th>残高</th></tr>\n<tr><td></td><td></td><td></td><td>前期繰越</td>"
          "<td class=\"n\" align=\"right\"></td><td class=\"n\" align=\"right\">"
       << Amount(block.opening) << "</td></tr>\n";
  closing_ = block.closing;
}

void StatementsHtml::Row(const LedgerRow& row) {
  std::string counter = HtmlEscape(row.counter_account);
  if (!row.counter_sub_account.empty()) counter += "／" + HtmlEscape(row.counter_sub_account);
  out_ << "<tr><td>" << HtmlEscape(row.date) << "</td><td class=\"n\" align=\"right\">" << HtmlEscape(row.entry_no)
       << "</td><td>" << counter << "</td><td>" << HtmlEscape(row.description)
       << "</td><td class=\"n\" align=\"right\">" << Amount(row.amount) << "</td><td class=\"n\" align=\"right\">"
       << Amount(row.balance) << "</td></tr>\n";
}

void StatementsHtml::EndBlock() {
  out_ << "<tr class=\"total\"><td></td><td></td><td></td><td>期末残高</td><td class=\"n\" align=\"right\"></td>"
          "<td class=\"n\" align=\"right\">"
       << Amount(closing_) << "</td></tr>\n</table>\n";
}

void StatementsHtml::Finish() {
  if (ledger_open_ && !options_.for_qt) out_ << "</section>\n";
  out_ << "</body>\n</html>\n";
}

} // namespace stmtlink::report

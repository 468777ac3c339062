// stmtlink-report check on reports that the real programs wrote: generated
// books hold together, a one-yen change in each statement is caught and
// named, truncation is told apart from errors, every warning comes from
// books made for it, and files that are not reports are refused.
#include <gtest/gtest.h>

#include <libxml/xmlregexp.h>
#include <libxml/xmlschemas.h>

#include <functional>
#include <regex>

#include "platform/text_codec.h"
#include "tools/report/ledger_form.h"
#include "tools/report/parser_reasons.h"
#include "tests/report_tool/report_fixture.h"
#include "tests/support/program_runner.h"
#include "tests/support/temp_dir.h"

namespace stmtlink::report {
namespace {

using stmtlink::testing::TempDir;
using testing::Check;
using testing::Names;
using testing::Of;

// The report as UTF-8 text, and back.
std::string ReadUtf8(const std::string& path) {
  std::string out;
  EXPECT_TRUE(Cp932ToUtf8(stmtlink::testing::ReadTextFile(path), &out));
  return out;
}
void WriteCp932(const std::string& path, const std::string& utf8) {
  std::string cp932;
  ASSERT_TRUE(Utf8ToCp932(utf8, &cp932));
  ASSERT_TRUE(stmtlink::testing::WriteTextFile(path, cp932));
}

// Adds delta to the first figure matched by pattern's group 1.
std::string Shift(const std::string& text, const std::string& pattern, long delta) {
  std::smatch match;
  const std::regex re(pattern);
  EXPECT_TRUE(std::regex_search(text, match, re)) << pattern;
  if (match.empty()) return text;
  const long value = std::stol(match.str(1)) + delta;
  return text.substr(0, static_cast<std::size_t>(match.position(1))) + std::to_string(value) +
         text.substr(static_cast<std::size_t>(match.position(1) + match.length(1)));
}

class GeneratedReports : public ::testing::Test {
 protected:
  std::string Sample(const std::string& name, const std::vector<std::string>& sample,
                     const std::vector<std::string>& run) {
    std::string why;
    const std::string path = testing::SampleReport(dir.path(), name, sample, run, &why);
    EXPECT_FALSE(path.empty()) << why;
    return path;
  }
  TempDir dir;
};

TEST_F(GeneratedReports, SampleBooksHoldTogether) {
  struct Case {
    std::vector<std::string> sample, run;
  };
  const Case cases[] = {
      {{"--seed", "3"}, {"--ledger", "1", "--equity", "1"}},
      {{"--seed", "8", "--manufacturing"}, {"--ledger", "1", "--equity", "2"}},
      {{"--seed", "13", "--interim", "--tax-included"}, {"--ledger", "0", "--equity", "1"}},
  };
  int n = 0;
  for (const Case& c : cases) {
    const std::string path = Sample("h" + std::to_string(n++), c.sample, c.run);
    if (path.empty()) continue;
    const CheckOutcome outcome = Check(path);
    SCOPED_TRACE(path);
    ASSERT_EQ(Refusal::kNone, outcome.read.refusal) << RefusalMessage(outcome.read);
    EXPECT_TRUE(Of(outcome, Severity::kError).empty()) << CheckText(path, outcome);
    // Books a company would show: the consumption tax settled at the year
    // end, no deposit below zero, no loss eating up the net assets.
    EXPECT_TRUE(Of(outcome, Severity::kWarning).empty()) << CheckText(path, outcome);
    EXPECT_EQ(c.run[1] == "1", outcome.read.has_ledger);
    if (outcome.read.has_ledger) {
      EXPECT_GT(outcome.ledger_rows, 1000);
    }
  }
}

TEST_F(GeneratedReports, OneYenChangedInEachStatementIsCaughtAndNamed) {
  const std::string path = Sample("m", {"--seed", "8", "--manufacturing"}, {"--ledger", "1"});
  ASSERT_FALSE(path.empty());
  const std::string text = ReadUtf8(path);
  struct Change {
    const char* what;
    std::string pattern;
    long delta;
    const char* check;
    const char* named;
  };
  const Change changes[] = {
      {"balance sheet", R"re(<Item Label="建物">(\d+)<)re", 1, "bs.category", "有形固定資産合計"},
      {"balance sheet total", R"re(<Assets Label="資産合計" Amount="(\d+)")re", -1, "bs.balance", "資産合計"},
      {"income statement", R"re(<Item Label="給料手当">(\d+)<)re", 1, "pl.category", "販売費及び一般管理費合計"},
      {"income statement chain", R"re(<OrdinaryIncome Label="経常利益" Amount="(-?\d+)")re", 1, "pl.chain", "経常利益"},
      {"manufacturing schedule", R"re(<Item Label="賃金">(\d+)<)re", 1, "mfg.category", "労務費合計"},
      {"equity statement", R"re(<AccountList>資本金</AccountList>\s*<BalanceEndPreviousPeriod>\d+</BalanceEndPreviousPeriod>\s*<BalanceEndCurrentPeriod>(\d+)<)re", 1, "equity.item", "資本金"},
      {"general ledger", R"re(<HJ00780S0040>(\d+)</HJ00780S0040>)re", -1, "ledger.balance", "期末残高"},
      {"equity statement's net income", R"re(<Reason>当期純利益</Reason>\s*<Amount>(-?\d+)<)re", 1, "equity.net_income", "当期純利益"},
      {"general ledger row", R"re(<HJ00780S0120>(\d+)</HJ00780S0120>)re", 5, "ledger.balance", "1 行目"},
  };
  for (const Change& change : changes) {
    SCOPED_TRACE(change.what);
    const std::string changed = dir.File("changed.xml");
    WriteCp932(changed, Shift(text, change.pattern, change.delta));
    const CheckOutcome outcome = Check(changed);
    EXPECT_TRUE(Names(Of(outcome, Severity::kError), change.check, change.named))
        << CheckText(changed, outcome);
    EXPECT_EQ(kExitErrors, outcome.exit_status);
  }
}

// The ledger's form is checked by the reader, not by libxml2's validator:
// each stray is named by line and path in the validator's own words, as
// the whole schema names it.
TEST_F(GeneratedReports, LedgerStraysAreNamedAsTheSchemaNamesThem) {
  const std::string path = Sample("l", {"--seed", "3"}, {"--ledger", "1"});
  ASSERT_FALSE(path.empty());
  const std::string text = ReadUtf8(path);
  const std::string row = "<HJ00780S02>";
  const std::size_t at = text.find(row, text.size() / 2); // a row in the middle
  ASSERT_NE(std::string::npos, at);
  struct Stray {
    const char* what;
    std::string from, to; // the first from at or after the row becomes to
  } const strays[] = {
      {"an unknown field", "<HJ00780S0070>", "<HJ00780S0065/><HJ00780S0070>"},
      {"a field twice", "<HJ00780S0110>", "<HJ00780S0100>x</HJ00780S0100><HJ00780S0110>"},
      {"a row without its balance", "<HJ00780S0120>", "<!--"},
      {"an attribute", "<HJ00780S0080>", "<HJ00780S0080 x=\"1\">"},
      {"text in a row", row, row + "abc"},
      {"an element in a field", "</HJ00780S0100>", "<b/></HJ00780S0100>"},
      {"an entry number with a letter", "</HJ00780S0050>", "x</HJ00780S0050>"},
  };
  xmlSchemaParserCtxtPtr parser =
      xmlSchemaNewParserCtxt((std::string(STMTLINK_BIN_DIR) + "/stmtlink-report.xsd").c_str());
  xmlSchemaPtr schema = xmlSchemaParse(parser);
  xmlSchemaFreeParserCtxt(parser);
  ASSERT_NE(nullptr, schema);
  for (const Stray& stray : strays) {
    SCOPED_TRACE(stray.what);
    std::string changed = text;
    const std::size_t from = changed.find(stray.from, at);
    ASSERT_NE(std::string::npos, from);
    changed.replace(from, stray.from.size(), stray.to);
    if (stray.to == "<!--") changed.replace(changed.find("</HJ00780S0120>", from), 15, "-->");
    const std::string file = dir.File("stray.xml");
    WriteCp932(file, changed);
    // The whole schema's findings, from libxml2's validator.
    std::vector<std::pair<long, std::string>> expected;
    xmlSchemaValidCtxtPtr validator = xmlSchemaNewValidCtxt(schema);
    xmlSchemaSetValidStructuredErrors(
        validator,
        [](void* out, xmlErrorPtr e) {
          std::string m = e->message;
          while (!m.empty() && m.back() == '\n') m.pop_back();
          static_cast<decltype(expected)*>(out)->emplace_back(e->line, m);
        },
        &expected);
    xmlSchemaValidateFile(validator, file.c_str(), 0);
    xmlSchemaFreeValidCtxt(validator);
    ASSERT_EQ(1u, expected.size());
    const CheckOutcome outcome = Check(file);
    std::vector<Finding> errors; // a stray row's figures may be findings of their own
    for (const Finding& f : Of(outcome, Severity::kError))
      if (f.check == "file.schema") errors.push_back(f);
    ASSERT_EQ(1u, errors.size()) << CheckText(file, outcome);
    // The same words as the validator's, both told in Japanese.
    EXPECT_EQ("レポートの形に合いません: " + SchemaProblemReason(expected[0].second), errors[0].message)
        << expected[0].second;
    EXPECT_EQ(std::string::npos, errors[0].message.find("Element")) << errors[0].message;
    EXPECT_NE(std::string::npos, errors[0].path.find("/REPORT/DATA/HJ00780S/HJ00780S01/HJ00780S02"))
        << errors[0].path;
    // A row's missing field is named at the row's start, not at its end.
    EXPECT_LE(errors[0].line, expected[0].first);
    EXPECT_GE(errors[0].line, expected[0].first - 9);
  }
  xmlSchemaFree(schema);
}

TEST(LedgerForm, AmountsAndDigitsAreReadAsTheirPatternsSay) {
  for (const char* pattern : {"-?(0|[1-9][0-9]{0,17})", "[0-9]{1,18}"}) {
    LedgerRule fast, regexp;
    fast.form = pattern[0] == '-' ? LedgerRule::Form::kAmount : LedgerRule::Form::kDigits;
    regexp.form = LedgerRule::Form::kRegexp;
    regexp.regexp.reset(xmlRegexpCompile(reinterpret_cast<const xmlChar*>(pattern)),
                        xmlRegFreeRegexp);
    for (const char* value : {"", "0", "-0", "00", "-", "--1", "1", "-1", "007", "1O0", " 1", "1 ",
                              "+1", "1.0", "123456789012345678", "1234567890123456789",
                              "-123456789012345678", "９"})
      EXPECT_EQ(LedgerForm::Accepts(regexp, value), LedgerForm::Accepts(fast, value))
          << pattern << " '" << value << "'";
  }
}

TEST_F(GeneratedReports, UnclassifiedNoncurrentAssetsAddUp) {
  // An account of the bare noncurrent-asset nature is listed once, under
  // investments and other assets, whose total takes it in.
  const std::string path = Sample("u", {"--seed", "5", "--unclassified"}, {});
  ASSERT_FALSE(path.empty());
  const CheckOutcome outcome = Check(path);
  EXPECT_TRUE(Of(outcome, Severity::kError).empty()) << CheckText(path, outcome);
  EXPECT_LE(outcome.exit_status, 1);
}

// The program's report tests compare its output with these files byte for
// byte: figures that did not add up there would let a fault pass.
TEST(GoldenReports, AddUp) {
  int checked = 0;
  for (const auto& entry : std::filesystem::directory_iterator(std::string(STMTLINK_SOURCE_DIR) +
                                                              "/tests/report/golden")) {
    const std::string path = entry.path().string();
    const CheckOutcome outcome = Check(path);
    EXPECT_TRUE(Of(outcome, Severity::kError).empty()) << path;
    EXPECT_TRUE(Of(outcome, Severity::kWarning).empty()) << path;
    ++checked;
  }
  EXPECT_GE(checked, 2);
}

const char kFractionsJournal[] =
    "entry,date,debit,debit_amount,debit_tax,credit,credit_amount,description\n"
    "1,2025-04-01,現金,100000,,資本金,100000,設立\n"
    "2,2025-05-10,現金,100.6,,売上高,100.6,売上\n"
    "3,2025-05-11,普通預金,100.6,,売上高,100.6,売上\n"
    "4,2025-05-12,売掛金,100.6,,売上高,100.6,売上\n";

TEST_F(GeneratedReports, TruncationIsToldApartFromErrors) {
  std::string why;
  const std::string path = testing::ImportedReport(
      dir.path(), "f", kFractionsJournal, "",
      {"--company", "端数商事", "--period", "20250401-20260331"}, &why);
  ASSERT_FALSE(path.empty()) << why;
  const CheckOutcome outcome = Check(path);
  // 100,100.6 + 100.6 + 100.6 shown as 100,100 + 100 + 100 under a total of 100,301.
  const auto rounding = Of(outcome, Severity::kRounding);
  EXPECT_TRUE(Names(rounding, "bs.category", "差 1円")) << CheckText(path, outcome);
  EXPECT_TRUE(Of(outcome, Severity::kError).empty()) << CheckText(path, outcome);
  EXPECT_EQ(kExitClean, outcome.exit_status);

  // Three positive items truncated give at most two yen: three is an error.
  std::string text = ReadUtf8(path);
  text = Shift(text, R"re(<CurrentAssets Label="流動資産合計" Amount="(\d+)")re", 2);
  WriteCp932(dir.File("three.xml"), text);
  EXPECT_TRUE(Names(Of(Check(dir.File("three.xml")), Severity::kError), "bs.category", "差 3円"));
}

TEST_F(GeneratedReports, EachWarningComesFromBooksMadeForIt) {
  // The standard chart with a suspense account among the current assets.
  std::string chart =
      stmtlink::testing::ReadTextFile(std::string(STMTLINK_BIN_DIR) + "/stmtlink-standard-chart.csv");
  const std::size_t at = chart.find("\n1200,");
  ASSERT_NE(std::string::npos, at);
  chart.insert(at + 1, "1198,,未確定勘定仮,,流動資産,D,account,,,\n");
  const std::string journal =
      "entry,date,debit,debit_amount,debit_tax,credit,credit_amount,credit_tax,description\n"
      "1,2025-04-01,現金,100000,,資本金,100000,,設立\n"
      "2,2025-05-01,給料手当,500000,,普通預金,500000,,給与\n"
      "3,2025-06-01,仕入高,10000,1000,現金,11000,,仕入\n"
      "4,2025-06-02,未確定勘定仮,5000,,現金,5000,,不明な出金\n";
  std::string why;
  const std::string path = testing::ImportedReport(
      dir.path(), "w", journal, chart,
      {"--company", "警告商事", "--period", "20250401-20251231"}, &why, "12");
  ASSERT_FALSE(path.empty()) << why;
  const CheckOutcome outcome = Check(path);
  const auto warnings = Of(outcome, Severity::kWarning);
  const std::string text = CheckText(path, outcome);
  EXPECT_TRUE(Names(warnings, "warn.negative", "普通預金")) << text;
  EXPECT_TRUE(Names(warnings, "warn.consumption_tax", "仮払消費税")) << text;
  EXPECT_TRUE(Names(warnings, "warn.suspense", "未確定勘定仮")) << text;
  EXPECT_TRUE(Names(warnings, "warn.net_assets", "-410,000円")) << text;
  EXPECT_TRUE(Names(warnings, "warn.period", "令和7年12月31日")) << text;
  EXPECT_TRUE(Of(outcome, Severity::kError).empty()) << text;
  EXPECT_EQ(kExitWarnings, outcome.exit_status);
  // Without notes in the books, the report has no notes section.
  EXPECT_EQ(nullptr, outcome.read.root.Child("DATA")->Child("ListNotesNonConsolidated"));

  // The command line says the same, with exit status 1, and as JSON.
  const auto run = stmtlink::testing::RunProgram(
      stmtlink::testing::BuiltProgram("stmtlink-report"), {"check", path, "--json"});
  EXPECT_EQ(kExitWarnings, run.exit_status);
  EXPECT_NE(std::string::npos, run.out.find("\"check\":\"warn.period\"")) << run.out;
  EXPECT_NE(std::string::npos, run.out.find("\"status\":\"warnings\"")) << run.out;
}

TEST_F(GeneratedReports, FilesThatAreNotReportsAreRefused) {
  std::string why;
  const std::string path = testing::ImportedReport(
      dir.path(), "r", kFractionsJournal, "",
      {"--company", "端数商事", "--period", "20250401-20260331"}, &why);
  ASSERT_FALSE(path.empty()) << why;
  const std::string bytes = stmtlink::testing::ReadTextFile(path);
  const std::string text = ReadUtf8(path);
  auto with_utf8 = [&](std::string changed) {
    std::string cp932;
    EXPECT_TRUE(Utf8ToCp932(changed, &cp932));
    return cp932;
  };
  struct Bad {
    const char* what;
    std::string content;
    Refusal refusal;
  };
  std::string declared_utf8 = text;
  declared_utf8.replace(declared_utf8.find("Shift_JIS"), 9, "UTF-8");
  const Bad bad[] = {
      {"plain text", "決算書ではありません\r\n", Refusal::kNotReport},
      {"empty", "", Refusal::kNotReport},
      {"another root", "<?xml version=\"1.0\" encoding=\"Shift_JIS\"?>\r\n<html></html>\r\n",
       Refusal::kNotReport},
      {"cut short", bytes.substr(0, bytes.size() / 2), Refusal::kTruncated},
      {"UTF-8", declared_utf8, Refusal::kNotShiftJis},
      {"stray bytes", bytes.substr(0, 600) + "\x82\xFF" + bytes.substr(600), Refusal::kNotShiftJis},
      {"broken element",
       with_utf8(std::regex_replace(text, std::regex("</CurrentAssets>"), "</CurrentAsets>")),
       Refusal::kBroken},
      {"amount not a number",
       with_utf8(std::regex_replace(text, std::regex(R"re(<Item Label="普通預金">100<)re"),
                                    "<Item Label=\"普通預金\">1O0<")),
       Refusal::kNotNumber},
  };
  for (const Bad& b : bad) {
    SCOPED_TRACE(b.what);
    const std::string file = dir.File("bad.xml");
    ASSERT_TRUE(stmtlink::testing::WriteTextFile(file, b.content));
    const CheckOutcome outcome = Check(file);
    EXPECT_EQ(b.refusal, outcome.read.refusal) << RefusalMessage(outcome.read);
    EXPECT_EQ(kExitErrors, outcome.exit_status);
    EXPECT_FALSE(RefusalMessage(outcome.read).empty());
  }
  EXPECT_EQ(Refusal::kCannotOpen, Check(dir.File("missing.xml")).read.refusal);

  // Form, not refusal: an element the receiver does not know, named by line
  // and path; line ends without CR.
  WriteCp932(dir.File("form.xml"),
             std::regex_replace(std::regex_replace(text, std::regex("<NetAssets "), "<NetAsset "),
                                std::regex("</NetAssets>"), "</NetAsset>"));
  CheckOutcome form = Check(dir.File("form.xml"));
  ASSERT_FALSE(Of(form, Severity::kError).empty());
  EXPECT_EQ("file.schema", Of(form, Severity::kError).front().check);
  EXPECT_NE(std::string::npos, Of(form, Severity::kError).front().path.find("/BalanceSheet/"));
  EXPECT_GT(Of(form, Severity::kError).front().line, 40);
  std::string lf = bytes;
  for (std::size_t i; (i = lf.find("\r\n")) != std::string::npos;) lf.erase(i, 1);
  ASSERT_TRUE(stmtlink::testing::WriteTextFile(dir.File("lf.xml"), lf));
  EXPECT_TRUE(Names(Of(Check(dir.File("lf.xml")), Severity::kError), "file.line_end", "1 行目"));

  const auto run = stmtlink::testing::RunProgram(stmtlink::testing::BuiltProgram("stmtlink-report"),
                                                 {"check", dir.File("bad.xml")});
  EXPECT_EQ(kExitErrors, run.exit_status);
  EXPECT_NE(std::string::npos, run.out.find("読めません")) << run.out;
}

} // namespace
} // namespace stmtlink::report

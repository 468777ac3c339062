#include "tests/report_tool/report_fixture.h"

#include <sys/stat.h>

#include "tests/support/program_runner.h"

namespace stmtlink::report::testing {

using stmtlink::testing::BuiltProgram;
using stmtlink::testing::ProgramRun;
using stmtlink::testing::RunProgram;

namespace {

std::string RunReport(const std::string& home, const std::vector<std::string>& run_options,
                      std::string* why, const std::string& to_month = "3") {
  std::vector<std::string> args = {"--ui", "batch", "--home", home, "--from", "4", "--to", to_month,
                                   "--output", "C:\\r.xml", "--answer", "yes"};
  args.insert(args.end(), run_options.begin(), run_options.end());
  const ProgramRun run = RunProgram(BuiltProgram("StmtLinkStd"), args);
  if (run.exit_status != 0) {
    *why = "StmtLinkStd: " + std::to_string(run.exit_status) + " " + run.err;
    return "";
  }
  return home + "/drive_c/r.xml";
}

} // namespace

std::string SampleReport(const std::string& dir, const std::string& name,
                         const std::vector<std::string>& sample_options,
                         const std::vector<std::string>& run_options, std::string* why) {
  const std::string home = dir + "/" + name;
  std::vector<std::string> args = {"sample", "--home", home};
  args.insert(args.end(), sample_options.begin(), sample_options.end());
  const ProgramRun made = RunProgram(BuiltProgram("stmtlink-books"), args);
  if (made.exit_status != 0) {
    *why = "stmtlink-books: " + made.err;
    return "";
  }
  return RunReport(home, run_options, why);
}

std::string ImportedReport(const std::string& dir, const std::string& name,
                           const std::string& journal_csv, const std::string& chart_csv,
                           const std::vector<std::string>& import_options, std::string* why,
                           const std::string& to_month) {
  const std::string home = dir + "/" + name;
  mkdir(home.c_str(), 0755);
  stmtlink::testing::WriteTextFile(home + "/journal.csv", journal_csv);
  std::vector<std::string> args = {"import", "--home", home, "--journal", home + "/journal.csv"};
  if (!chart_csv.empty()) {
    stmtlink::testing::WriteTextFile(home + "/chart.csv", chart_csv);
    args.insert(args.end(), {"--chart", home + "/chart.csv"});
  }
  args.insert(args.end(), import_options.begin(), import_options.end());
  const ProgramRun made = RunProgram(BuiltProgram("stmtlink-books"), args);
  if (made.exit_status != 0) {
    *why = "stmtlink-books import: " + made.out + made.err;
    return "";
  }
  return RunReport(home, {"--ledger", "1"}, why, to_month);
}

CheckOutcome Check(const std::string& path) {
  CheckOutcome outcome;
  CheckReport(path, std::string(STMTLINK_BIN_DIR) + "/stmtlink-report.xsd", &outcome);
  return outcome;
}

std::vector<Finding> Of(const CheckOutcome& outcome, Severity severity) {
  std::vector<Finding> out;
  for (const Finding& finding : outcome.findings.list())
    if (finding.severity == severity) out.push_back(finding);
  return out;
}

bool Names(const std::vector<Finding>& findings, const std::string& check, const std::string& text) {
  for (const Finding& finding : findings)
    if (finding.check == check && finding.message.find(text) != std::string::npos) return true;
  return false;
}

} // namespace stmtlink::report::testing

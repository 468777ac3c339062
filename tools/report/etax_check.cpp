#include "tools/report/etax_check.h"

#include <sys/stat.h>

#include <cerrno>

#include "platform/env.h"
#include "tools/report/etax_build.h"
#include "tools/report/etax_file_check.h"
#include "tools/report/findings.h"
#include "tools/report/report_check.h"
#include "tools/report/report_reader.h"
#include "tools/report/system_reasons.h"

namespace stmtlink::report {
namespace {

int CannotCheck(std::ostream& err, const std::string& message) {
  err << "stmtlink-report etax-check: " << message << "\n";
  return 2;
}

// Every total and result the report gives must be in the file with its amount.
void CompareTotals(const EtaxSheet& expected, const EtaxFileContent& content, Findings* findings) {
  const std::string file = EtaxFileName(expected.kind);
  for (const EtaxRow& row : expected.rows) {
    if (row.role != EtaxRole::kTotal && row.role != EtaxRole::kResult) continue;
    const auto it = content.amounts.find(row.code);
    const std::string label = "「" + row.name + "」（" + row.code + "）";
    if (it == content.amounts.end()) {
      findings->Add(Severity::kError, "etax.total",
                    file + ": " + label + "の行がありません（レポートでは " + std::to_string(*row.amount) + "）。", 0, file);
    } else if (it->second != *row.amount) {
      const long line = content.lines.at(row.code);
      Finding finding;
      finding.check = "etax.total";
      finding.message = file + " " + std::to_string(line) + " 行目: " + label + "が " + std::to_string(it->second) +
                        " ですが、レポートでは " + std::to_string(*row.amount) + " です。";
      finding.line = line;
      finding.path = file;
      finding.shown = it->second;
      finding.computed = *row.amount;
      findings->Add(std::move(finding));
    }
  }
}

} // namespace

int EtaxCheck(const EtaxCheckRequest& request, std::ostream& out, std::ostream& err) {
  std::string error;
  EtaxTables tables;
  if (!tables.Load(&error)) return CannotCheck(err, error);
  struct stat status;
  if (stat(request.folder.c_str(), &status) != 0)
    return CannotCheck(err, request.folder + ": 読めません: " + FileReason(errno, FileUse::kReading));
  if (!S_ISDIR(status.st_mode)) return CannotCheck(err, request.folder + ": フォルダーではありません");
  std::array<EtaxSheet, 2> expected;
  if (!request.report.empty()) {
    ReadResult read;
    if (!ReadReport(request.report, ReadOptions{}, &read))
      return CannotCheck(err, request.report + ": 読めません: " + RefusalMessage(read));
    if (!BuildEtaxSheets(read.root, tables, nullptr, &expected, &error))
      return CannotCheck(err, request.report + ": " + error);
  }
  Findings findings;
  std::array<EtaxFileContent, 2> contents;
  std::array<bool, 2> present{};
  const std::string folder = request.folder.back() == '/' ? request.folder : request.folder + "/";
  for (std::size_t i = 0; i < 2; ++i) {
    const EtaxKind kind = i == 0 ? EtaxKind::kBalanceSheet : EtaxKind::kIncome;
    const std::string path = folder + EtaxFileName(kind);
    std::string bytes;
    errno = 0;
    if (!Env::Real()->ReadFile(path, &bytes)) {
      if (errno != ENOENT) return CannotCheck(err, path + ": 読めません: " + FileReason(errno, FileUse::kReading));
      findings.Add(Severity::kError, "etax.missing", std::string(EtaxFileName(kind)) + " がありません。", 0, path);
      continue;
    }
    present[i] = true;
    CheckEtaxFile(bytes, kind, tables.Of(kind), EtaxFileName(kind), &findings, &contents[i]);
    if (!request.report.empty()) CompareTotals(expected[i], contents[i], &findings);
  }
  if (!present[0] && !present[1]) return CannotCheck(err, request.folder + ": e-Tax の CSV ファイル（HOT010_3.0_BS.csv, HOT010_3.0_PL.csv）がありません");
  if (present[0] && present[1]) {
    const EtaxFileContent& a = contents[0];
    const EtaxFileContent& b = contents[1];
    if (a.company != b.company || a.from != b.from || a.to != b.to)
      findings.Add(Severity::kError, "etax.head",
                   "二つのファイルの法人名または事業年度（2〜4 行目）が一字一句同じではありません: 「" + a.company + "」" +
                       a.from + "〜" + a.to + " と「" + b.company + "」" + b.from + "〜" + b.to);
  }
  for (const Finding& finding : findings.list()) out << "エラー: " << finding.message << "\n";
  const int count = findings.Count(Severity::kError);
  if (count == 0) out << folder << ": 問題はありません。" << (request.report.empty() ? "" : "合計の行はレポートと一致しています。") << "\n";
  else out << folder << ": エラー " << count << " 件\n";
  return count == 0 ? 0 : 1;
}

} // namespace stmtlink::report

#include "tools/report/etax_build.h"

#include "tools/report/etax_file_check.h"
#include "tools/report/statement_model.h"

namespace stmtlink::report {

bool EtaxTables::Load(std::string* error, const std::string& folder) {
  auto path = [&folder](const char* name) { return folder.empty() ? ToolDataPath(name) : folder + "/" + name; };
  return balance_sheet.Load(path(kEtaxBalanceSheetTable), EtaxKind::kBalanceSheet, error) &&
         income.Load(path(kEtaxIncomeTable), EtaxKind::kIncome, error) &&
         standard_accounts.Load(path(kEtaxStandardAccounts), balance_sheet, income, error);
}

bool BuildEtaxSheets(const Node& root, const EtaxTables& tables, const AccountMap* company_map,
                     std::array<EtaxSheet, 2>* sheets, std::string* refusal) {
  const Statements statements = BuildStatements(root);
  for (EtaxKind kind : {EtaxKind::kBalanceSheet, EtaxKind::kIncome}) {
    const EtaxMapping mapping{&tables.Of(kind), &tables.standard_accounts, company_map};
    if (!BuildEtaxSheet(statements, mapping, &(*sheets)[kind == EtaxKind::kBalanceSheet ? 0 : 1], refusal))
      return false;
  }
  return true;
}

bool BuildEtaxFiles(const Node& root, const EtaxTables& tables, const AccountMap* company_map,
                    const std::string& company, EtaxFiles* files, std::string* refusal) {
  if (!BuildEtaxSheets(root, tables, company_map, &files->sheets, refusal)) return false;
  const ReportHeader header = HeaderOf(root);
  const EtaxHead head{company.empty() ? header.company : company, header.period_from, header.period_to};
  if (head.company.empty()) {
    *refusal = "レポートに法人名（KOMONSAKINAME）がありません。--company で指定してください。";
    return false;
  }
  if (head.period_from == 0 || head.period_to == 0) {
    *refusal = "レポートに事業年度（JIGYOUNENDOFROM, JIGYOUNENDOTO）の日付がありません。";
    return false;
  }
  for (std::size_t i = 0; i < 2; ++i) {
    const EtaxSheet& sheet = files->sheets[i];
    if (!EtaxFileBytes(sheet, head, &files->bytes[i], refusal)) return false;
    // What is written keeps the rules etax-check holds it to.
    Findings findings;
    EtaxFileContent content;
    CheckEtaxFile(files->bytes[i], sheet.kind, tables.Of(sheet.kind), EtaxFileName(sheet.kind), &findings, &content);
    if (!findings.list().empty()) {
      *refusal = "作った e-Tax のファイルが規則に合いません（書き込んでいません）: " + findings.list().front().message;
      return false;
    }
  }
  return true;
}

} // namespace stmtlink::report

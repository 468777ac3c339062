#include "tools/report/etax_file.h"

#include <cstdio>

#include "tools/report/etax_text.h"

namespace stmtlink::report {

std::string EtaxDate(int yyyymmdd) {
  char text[16];
  std::snprintf(text, sizeof text, "%04d-%02d-%02d", yyyymmdd / 10000, yyyymmdd / 100 % 100, yyyymmdd % 100);
  return text;
}

const char* EtaxFileName(EtaxKind kind) {
  return kind == EtaxKind::kBalanceSheet ? "HOT010_3.0_BS.csv" : "HOT010_3.0_PL.csv";
}
const char* EtaxKindCode(EtaxKind kind) { return kind == EtaxKind::kBalanceSheet ? "BS" : "PL"; }
const char* EtaxTitle(EtaxKind kind) { return kind == EtaxKind::kBalanceSheet ? "貸借対照表" : "損益計算書"; }

bool EtaxFileBytes(const EtaxSheet& sheet, const EtaxHead& head, std::string* bytes, std::string* refusal) {
  bytes->clear();
  bytes->reserve(48 * (sheet.rows.size() + 5));
  std::string encoded;
  TextFault fault;
  // Each line on its own, so that a refusal names the text that holds the character.
  auto line = [&](const std::string& text, const std::string& where, const std::string& name, const char* way_out) {
    if (!EtaxEncode(text, &encoded, &fault)) {
      // The fault's place within the name: the name leads its line, or follows "B,".
      if (where == "法人名") fault.position -= 2;
      *refusal = TextFaultMessage(fault, where, name) + way_out;
      return false;
    }
    *bytes += encoded;
    *bytes += "\r\n";
    return true;
  };
  if (!line(std::string("A,") + EtaxKindCode(sheet.kind) + ",,,", "", "", "") ||
      !line("B," + EtaxFieldText(head.company) + ",,,", "法人名", head.company,
            " --company で別の表記を指定してください。") ||
      !line("C1," + EtaxDate(head.period_from) + ",,,", "", "", "") ||
      !line("C2," + EtaxDate(head.period_to) + ",,,", "", "", "") || !line(std::string(EtaxTitle(sheet.kind)) + ",,,,", "", "", ""))
    return false;
  std::string text;
  for (const EtaxRow& row : sheet.rows) {
    text = EtaxFieldText(row.name);
    text += ',';
    if (row.amount) text += std::to_string(*row.amount);
    text += row.amount ? ",1," : ",T,";
    text += std::to_string(row.depth);
    text += ',';
    text += row.code;
    if (!line(text, row.where + "（" + row.code + "）", row.name,
              " --map の 3 列目で書き出す名前を指定してください。"))
      return false;
  }
  return true;
}

} // namespace stmtlink::report
